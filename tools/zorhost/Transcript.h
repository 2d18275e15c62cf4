// Everything zorhost prints on standard output: the lines of the print
// commands, failed expectations and, with --trace, the conversation with the
// module. --quiet keeps only the failed expectations.
#pragma once

#include <ostream>
#include <string>

#include "panel/HostPort.h"

namespace zorhost {

struct Options {
    bool trace = false;
    bool quiet = false;
    bool updateGolden = false;
    bool strict = false;  // an error box counts as a failed expectation
};

class Transcript {
public:
    Transcript(std::ostream& out, const Options& options) : out_(out), options_(options) {}

    // A line a command prints; hidden by --quiet.
    void Line(const std::string& text);
    // "FILE:LINE: expected X, got Y": always printed, and the run will exit 1.
    void Failure(const std::string& where, const std::string& expected, const std::string& got);
    // "! error: TEXT", what the window shows in an error box; with --strict
    // also a failure at `where`.
    void ErrorBox(const std::string& where, const std::string& text);
    // With --trace: "> HH L RR" for a host byte, "! ACCESS" for a direct access.
    void Trace(const panel::PortEvent& event);

    bool AnyFailure() const { return anyFailure_; }
    void Flush() { out_.flush(); }

private:
    std::ostream& out_;
    const Options& options_;
    bool anyFailure_ = false;
};

}  // namespace zorhost
