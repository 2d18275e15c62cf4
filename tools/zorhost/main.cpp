// zorhost: the headless host. Runs scenario scripts against one LCD module
// and prints a transcript.
//
// Exit status: 0 every expectation held, 1 at least one failed, 2 a script
// error or a wrong command line.
#include <sys/stat.h>
#include <QCommandLineParser>
#include <QCoreApplication>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>

#include "JunitReport.h"
#include "Lcdm.h"
#include "LinkMode.h"
#include "ScriptRunner.h"
#include "Session.h"
#include "SourceMap.h"
#include "files/Files.h"
#include "services/Recorder.h"

namespace {

constexpr int kExitFailedExpectation = 1;
constexpr int kExitError = 2;

const char* const kDescription =
    "Plays the host of one LCD module without a window: runs each SCRIPT in turn on the\n"
    "same module and prints a transcript. No SCRIPT, or -, reads standard input. File\n"
    "names in a script are relative to the script's folder.";

// The script commands for --help: usage, then the summary wrapped to fit.
std::string CommandList() {
    constexpr size_t kSummaryColumn = 38;
    constexpr size_t kWidth = 100;
    std::string text = "\nScript commands (numbers decimal or 0x hex; HH a hex byte):\n";
    for (const zorhost::CommandSpec& spec : zorhost::AllCommands()) {
        std::string line = "  " + std::string(spec.usage);
        line.resize(std::max(line.size() + 1, kSummaryColumn), ' ');
        std::istringstream words{std::string(spec.summary)};
        bool first = true;
        for (std::string word; words >> word; first = false) {
            if (!first && line.size() + 1 + word.size() > kWidth) {
                text += line + "\n";
                line = std::string(kSummaryColumn, ' ');
                first = true;
            }
            line += (first ? "" : " ") + word;
        }
        text += line + "\n";
    }
    return text +
           "\nExit status: 0 every expectation held, 1 an expectation failed, 2 a script error.\n";
}

struct CommandLine {
    zorhost::Options options;
    QStringList scripts;
    std::optional<zorhost::LinkOptions> link;
    QStringList after;  // with --link: scripts run once the link has ended
    QString map;        // --map FILE
    QString record;     // --record FILE
    QString junit;      // --junit FILE
};

[[noreturn]] void UsageError(const QString& message) {
    std::cerr << "zorhost: " << message.toStdString() << "\nTry 'zorhost --help'.\n";
    std::exit(kExitError);
}

// --trace and --trace-tags take an optional value ("--trace=raw",
// "--trace-tags=16"), which the parser cannot express: such a value moves to
// a hidden option of its own.
QStringList WithOptionalValuesSplit(QStringList arguments) {
    QStringList out;
    for (const QString& argument : arguments) {
        if (argument.startsWith("--trace=")) {
            out << "--trace-format" << argument.mid(8);
        } else if (argument.startsWith("--trace-tags=")) {
            out << "--trace-tags-last" << argument.mid(13);
        } else {
            out << argument;
        }
    }
    return out;
}

// The number of tags --trace-tags=N keeps before a failing run ends.
int TagCount(const QString& text) {
    bool ok = false;
    const int count = text.toInt(&ok);
    if (!ok || count < 1 || count > 100000)
        UsageError("--trace-tags=" + text + " is not a number of tags (expected 1 to 100000)");
    return count;
}

CommandLine ParseCommandLine(const QCoreApplication& app) {
    QCommandLineParser parser;
    parser.setApplicationDescription(kDescription);
    const QCommandLineOption help({"h", "help"}, "Show this help and exit.");
    const QCommandLineOption version("version", "Show the version and exit.");
    const QCommandLineOption trace("trace",
                                   "Print every host command, named and decoded, and every direct "
                                   "access. --trace=raw prints each byte as > HH L RR instead.");
    QCommandLineOption traceFormat("trace-format", "", "FORMAT");
    traceFormat.setFlags(QCommandLineOption::HiddenFromHelp);
    const QCommandLineOption traceTags(
        "trace-tags",
        "Print every tag the module executes (address, place in the vocabulary, mnemonic, data "
        "stack after). --trace-tags=N prints only the last N tags before a run fails.");
    QCommandLineOption traceTagsLast("trace-tags-last", "", "N");
    traceTagsLast.setFlags(QCommandLineOption::HiddenFromHelp);
    const QCommandLineOption map("map",
                                 "Name source lines in fault reports and tag traces, from the "
                                 "map zorasm --map wrote for the loaded vocabulary.",
                                 "FILE");
    const QCommandLineOption record("record",
                                    "Write every host byte carried out as a scenario that "
                                    "replays it, with a golden frame beside it (FILE.pbm).",
                                    "FILE");
    const QCommandLineOption junit("junit",
                                   "Also write the run as a JUnit XML report for CI servers: one "
                                   "test case per script, its failed expectations as failures, "
                                   "a script error as an error, with times.",
                                   "FILE");
    const QCommandLineOption quiet("quiet", "Print only failed expectations and errors.");
    const QCommandLineOption golden("update-golden",
                                    "Write missing or differing expected frames instead of "
                                    "failing.");
    const QCommandLineOption strict("strict",
                                    "Count every error box (\"! error: ...\") as a failed "
                                    "expectation.");
    const QCommandLineOption link("link",
                                  "After the scripts, serve the byte link to a host program at "
                                  "ENDPOINT: pty, pty:LINKPATH, tcp:PORT or tcp:ADDRESS:PORT "
                                  "(127.0.0.1 unless given; port 0 picks a free one). Runs until "
                                  "interrupted.",
                                  "ENDPOINT");
    const QCommandLineOption once("once", "With --link: end when the first client leaves.");
    const QCommandLineOption exitAfter("exit-after", "With --link: end after SECONDS.", "SECONDS");
    const QCommandLineOption after("after",
                                   "With --link: run SCRIPT on the module once the link has "
                                   "ended (to check what the host program did); repeatable.",
                                   "SCRIPT");
    parser.addOptions({help, version, trace, traceFormat, traceTags, traceTagsLast, quiet, golden,
                       strict, map, record, junit, link, once, exitAfter, after});
    parser.addPositionalArgument("SCRIPT",
                                 "Scenario scripts to run, in order (with --link: to set the "
                                 "module up first).",
                                 "[SCRIPT ...]");
    if (!parser.parse(WithOptionalValuesSplit(app.arguments()))) UsageError(parser.errorText());
    if (parser.isSet(help)) {
        // The usage line names the program as users call it, not by its full path.
        QString text = parser.helpText();
        text.replace(0, text.indexOf(" [options]"), "Usage: zorhost");
        std::cout << text.toStdString() << CommandList();
        std::exit(0);
    }
    if (parser.isSet(version)) {
        std::cout << "zorhost " << ZOR_VERSION << "\n";
        std::exit(0);
    }
    zorhost::TraceMode traceMode = zorhost::TraceMode::kOff;
    if (parser.isSet(trace)) traceMode = zorhost::TraceMode::kDecoded;
    if (parser.isSet(traceFormat)) {
        const QString format = parser.value(traceFormat);
        if (format != "raw" && format != "decoded")
            UsageError("--trace=" + format + " is not a trace format (expected raw or decoded)");
        traceMode = format == "raw" ? zorhost::TraceMode::kRaw : zorhost::TraceMode::kDecoded;
    }
    const bool tracing = traceMode != zorhost::TraceMode::kOff || parser.isSet(traceTags) ||
                         parser.isSet(traceTagsLast);
    if (tracing && parser.isSet(quiet))
        UsageError("--trace and --quiet contradict each other; give one of them");
    CommandLine line;
    line.options.trace = traceMode;
    line.options.quiet = parser.isSet(quiet);
    line.options.updateGolden = parser.isSet(golden);
    line.options.strict = parser.isSet(strict);
    if (parser.isSet(traceTags)) line.options.traceTags = zorhost::Options::kAllTags;
    if (parser.isSet(traceTagsLast)) line.options.traceTags = TagCount(parser.value(traceTagsLast));
    line.map = parser.value(map);
    line.record = parser.value(record);
    line.junit = parser.value(junit);
    if (parser.isSet(junit) && (line.junit.isEmpty() || line.junit == "-"))
        UsageError("--junit needs a FILE (standard output carries the transcript)");
    line.scripts = parser.positionalArguments();
    if (parser.isSet(link)) {
        zorhost::LinkOptions linkOptions;
        std::string error;
        const auto endpoint = services::ParseLinkEndpoint(parser.value(link).toStdString(), error);
        if (!endpoint) UsageError(QString::fromStdString(error));
        linkOptions.endpoint = *endpoint;
        linkOptions.once = parser.isSet(once);
        if (parser.isSet(exitAfter)) {
            bool ok = false;
            const double seconds = parser.value(exitAfter).toDouble(&ok);
            if (!ok || seconds <= 0 || seconds > 1e6)
                UsageError("--exit-after " + parser.value(exitAfter) +
                           " is not a number of seconds (expected more than 0)");
            linkOptions.exitAfterSeconds = seconds;
        }
        line.link = linkOptions;
        line.after = parser.values(after);
    } else if (parser.isSet(once) || parser.isSet(exitAfter) || parser.isSet(after)) {
        UsageError("--once, --exit-after and --after belong to --link");
    }
    // Without a link the scripts are the whole run; standard input stands in
    // for none. With a link the scripts only set the module up.
    if (line.scripts.isEmpty() && !line.link) line.scripts << "-";
    return line;
}

// Runs one script; false when it stopped with a script error, which goes to `err`.
bool RunOne(zorhost::Session& session, const std::string& name, std::ostream& err) {
    session.scriptName = name;
    session.line = 0;
    if (name == "-") {
        session.scriptFolder.clear();
        return zorhost::RunScript(session, std::cin, err);
    }
    // Scripts are read line by line as they run, so a FIFO or a device works
    // like standard input.
    std::ifstream in;
    struct stat info {};
    errno = 0;
    if (::stat(name.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
        errno = EISDIR;
    else
        in.open(name, std::ios::binary);
    if (!in.is_open()) {
        session.transcript.Flush();
        err << name << ": cannot read the script: " << std::strerror(errno != 0 ? errno : ENOENT)
            << "\n";
        return false;
    }
    session.scriptFolder = std::filesystem::path(name).parent_path().string();
    return zorhost::RunScript(session, in, err);
}

// Runs `scripts` in turn until one stops with a script error; with --junit
// each is a test case, and those after an error are reported as not run.
bool RunAll(zorhost::Session& session, const QStringList& scripts, zorhost::JunitReport* report) {
    for (qsizetype i = 0; i < scripts.size(); ++i) {
        const std::string name = scripts[i].toStdString();
        if (!report) {
            if (!RunOne(session, name, std::cerr)) return false;
            continue;
        }
        report->Begin(name);
        std::ostringstream err;
        const bool ran = RunOne(session, name, err);
        std::cerr << err.str();
        report->End(err.str());
        if (ran) continue;
        for (++i; i < scripts.size(); ++i)
            report->NotRun(scripts[i].toStdString(), "not run: " + name + " stopped at an error");
        return false;
    }
    return true;
}

// The scripts, the link and the scripts after it; the exit status.
int Run(zorhost::Session& session, const CommandLine& line, zorhost::JunitReport* report) {
    if (!RunAll(session, line.scripts, report)) return kExitError;
    session.transcript.Flush();
    if (line.link) {
        const int status = zorhost::ServeLink(session, *line.link);
        if (status != 0) return status;
        zorhost::InstallVirtualTime(session);
        if (!RunAll(session, line.after, report)) return kExitError;
        session.transcript.Flush();
    }
    return session.transcript.AnyFailure() ? kExitFailedExpectation : 0;
}

void LoadMap(zorhost::Session& session, const std::string& name) {
    files::ReadError failure;
    constexpr size_t kMaxMapBytes = 16u << 20;
    const std::optional<std::string> text = files::ReadFile(name, kMaxMapBytes, failure);
    if (!text) {
        std::cerr << "zorhost: --map: " << failure.Message(name) << "\n";
        std::exit(kExitError);
    }
    std::string error;
    session.map = zorasm::SourceMap::Parse(*text, name, error);
    if (!session.map) {
        std::cerr << "zorhost: --map: " << error << "\n";
        std::exit(kExitError);
    }
    session.mapName = name;
}

// The scenario and its golden frame beside it, both or neither.
bool WriteRecording(zorhost::Session& session, const std::string& name) {
    std::filesystem::path golden(name);
    golden.replace_extension(".pbm");
    files::OutputFiles outputs;
    outputs.Add(name, session.recorder->Scenario(golden.filename().string()));
    outputs.Add(golden.string(), services::Recorder::Golden());
    std::string error;
    if (outputs.Commit(error)) return true;
    std::cerr << "zorhost: --record: " << error << "\n";
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("zorhost");
    QCoreApplication::setApplicationVersion(ZOR_VERSION);
    const CommandLine line = ParseCommandLine(app);

    lcdm::ModuleReset();
    zorhost::Session session(std::cout, line.options);
    if (!line.map.isEmpty()) LoadMap(session, line.map.toStdString());
    if (!line.record.isEmpty())
        session.recorder =
            std::make_unique<services::Recorder>("zorhost " + line.scripts.join(' ').toStdString());
    zorhost::InstallVirtualTime(session);
    // The report's file is opened before anything runs, so that a path that
    // cannot be written is said at once; it is put in place at the end.
    std::optional<zorhost::JunitReport> report;
    files::StreamedFile reportFile;
    if (!line.junit.isEmpty()) {
        std::string error;
        if (!reportFile.Open(line.junit.toStdString(), error)) {
            std::cerr << "zorhost: --junit: " << error << "\n";
            return kExitError;
        }
        report.emplace();
        session.transcript.SetFailureListener(
            [&report](const std::string& failure) { report->Failure(failure); });
    }
    const int status = Run(session, line, report ? &*report : nullptr);
    if (report) {
        std::string error;
        reportFile.Write(report->Xml());
        if (!reportFile.Commit(error)) {
            std::cerr << "zorhost: --junit: " << error << "\n";
            return kExitError;
        }
    }
    if (status == kExitError) {
        if (session.recorder)
            std::cerr << "zorhost: the run stopped at an error; nothing recorded in "
                      << line.record.toStdString() << "\n";
        return status;
    }
    if (session.recorder && !WriteRecording(session, line.record.toStdString())) return kExitError;
    return status;
}
