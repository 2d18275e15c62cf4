// zorsim's command line: what the window is asked to do at its start.
#pragma once

#include <QStringList>
#include <optional>
#include <string>

#include "services/LinkEndpoint.h"

namespace zorsim {

struct CommandLine {
    std::optional<services::LinkEndpoint> link;
    QString record;                   // --record FILE
    QStringList vocabulary;           // --vocabulary FILE (one image, or .zasm sources)
    std::optional<uint16_t> address;  // --address ADDR
};

// Parses the arguments (the toolkit's own, such as -platform, are left to
// it). --help and --version print and exit 0; a wrong command line prints
// why on stderr and exits 2.
CommandLine ParseCommandLine(int argc, char** argv);

}  // namespace zorsim
