#include "CommandLine.h"

#include <QCommandLineParser>
#include <cstdio>
#include <cstdlib>
#include <iostream>

namespace zorsim {
namespace {

constexpr int kExitUsage = 2;

const char* const kDescription =
    "Opens the ZOR Simulator window: the front plate with the module's LCD, and the\n"
    "controls that play the host (text labels, dynamic icons, key functions, clock, page).\n"
    "View > Module Tools (F12) shows the tag debugger and the views of memory, label store,\n"
    "vocabulary and link. Without a display, drive the module from scripts with zorhost.";

// The toolkit's own options, which the toolkit takes from the same command line.
const char* const kToolkitOptions[] = {
    "platform",        "display",      "geometry",    "style",  "stylesheet",
    "qwindowgeometry", "qwindowtitle", "qwindowicon", "plugin", "reverse"};

[[noreturn]] void UsageError(const QString& message) {
    std::cerr << "zorsim: " << message.toStdString() << "\nTry 'zorsim --help'.\n";
    std::exit(kExitUsage);
}

}  // namespace

CommandLine ParseCommandLine(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    parser.setApplicationDescription(kDescription);
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({"h", "help"}, "Show this help and exit.");
    const QCommandLineOption version("version", "Show the version and exit.");
    const QCommandLineOption vocabulary(
        "vocabulary",
        "Load a vocabulary once the window has started: an image (any name) or zorasm "
        "sources (.zasm; give --vocabulary once per file), written into module memory and "
        "initialised; the page is redrawn. File > Load Vocabulary... does the same.",
        "FILE");
    const QCommandLineOption address("address",
                                     "Where --vocabulary goes in module memory (default 18838, "
                                     "the first byte after the default vocabulary); it then "
                                     "becomes the module's vocabulary in the default's place.",
                                     "ADDR");
    const QCommandLineOption link(
        "link",
        "Also serve the module's byte link to a host program once the start-up screen has "
        "made way for page 0: pty, pty:LINKPATH, tcp:PORT or tcp:ADDRESS:PORT (127.0.0.1 "
        "unless given; port 0 picks a free one). The Link menu does the same.",
        "ENDPOINT");
    const QCommandLineOption record(
        "record",
        "Write what the window sends the module, from its start, as a zorhost scenario "
        "that replays it (and its golden frame, FILE with .pbm) when the window closes.",
        "FILE");
    parser.addOptions({help, version, vocabulary, address, link, record});
    for (const char* name : kToolkitOptions) {
        QCommandLineOption toolkit(name, "", "VALUE");
        if (std::string(name) == "reverse") toolkit = QCommandLineOption(name, "");
        toolkit.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(toolkit);
    }
    if (!parser.parse(arguments)) UsageError(parser.errorText());
    if (parser.isSet(help)) {
        QString text = parser.helpText();
        text.replace(0, text.indexOf(" [options]"), "Usage: zorsim");
        std::cout << text.toStdString();
        std::exit(0);
    }
    if (parser.isSet(version)) {
        std::cout << "zorsim " << ZOR_VERSION << "\n";
        std::exit(0);
    }
    if (!parser.positionalArguments().isEmpty())
        UsageError("unexpected argument \"" + parser.positionalArguments().front() +
                   "\" (a vocabulary is given with --vocabulary FILE)");
    CommandLine line;
    if (parser.isSet(link)) {
        std::string error;
        line.link = services::ParseLinkEndpoint(parser.value(link).toStdString(), error);
        if (!line.link) UsageError(QString::fromStdString(error));
    }
    line.record = parser.value(record);
    line.vocabulary = parser.values(vocabulary);
    if (parser.isSet(address)) {
        bool ok = false;
        const QString text = parser.value(address);
        const uint value = text.startsWith("0x", Qt::CaseInsensitive) ? text.mid(2).toUInt(&ok, 16)
                                                                      : text.toUInt(&ok, 10);
        if (!ok || value > 37343)
            UsageError("--address " + text +
                       " is not a module memory address (expected 0 to 37343, decimal or 0x hex)");
        if (line.vocabulary.isEmpty()) UsageError("--address belongs to --vocabulary");
        line.address = static_cast<uint16_t>(value);
    }
    return line;
}

}  // namespace zorsim
