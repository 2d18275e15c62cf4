#include "ScriptRunner.h"

#include "Format.h"
#include "Lcdm.h"
#include "RunReports.h"
#include "ScriptError.h"
#include "Suggestions.h"
#include "panel/Startup.h"

namespace zorhost {
namespace {

Session* gTimedSession = nullptr;

uint8_t PumpOneTick() {
    if (gTimedSession) gTimedSession->TimerTick();
    return 0;
}

// The command a line names: its first two words if they name one ("print
// mem"), else its first word. The words used stay out of the arguments.
const CommandSpec& FindCommand(const std::vector<CommandSpec>& commands,
                               std::vector<Token>& tokens) {
    const std::string first = tokens[0].text;
    const std::string pair = tokens.size() > 1 ? first + " " + tokens[1].text : "";
    for (size_t words : {2, 1})
        for (const CommandSpec& spec : commands)
            if (spec.name == (words == 2 ? pair : first)) {
                tokens.erase(tokens.begin(), tokens.begin() + static_cast<long>(words));
                return spec;
            }
    // A misspelt command is named back by its nearest spellings, a second
    // word given alone ("run-script") by the command it belongs to.
    std::vector<std::string> group_members, first_words, belongs_to;
    for (const CommandSpec& spec : commands) {
        const std::string name(spec.name);
        const size_t space = name.find(' ');
        first_words.push_back(name.substr(0, space));
        if (space == std::string::npos) continue;
        if (name.substr(0, space) == first) group_members.push_back(name.substr(space + 1));
        if (name.substr(space + 1) == first) belongs_to.push_back(name);
    }
    if (!group_members.empty()) {
        std::string list;
        for (const std::string& member : group_members) list += (list.empty() ? "" : ", ") + member;
        const std::string second = tokens.size() > 1 ? tokens[1].text : "";
        throw ScriptError("unknown command " + Quoted(pair.empty() ? first : pair) +
                          zorasm::DidYouMean(second, group_members) + " (expected " + first +
                          " followed by one of: " + list + ")");
    }
    std::string suggestion = zorasm::DidYouMean(first, first_words);
    if (!belongs_to.empty()) {
        suggestion = "; did you mean ";
        for (size_t i = 0; i < belongs_to.size(); ++i) suggestion += (i ? " or " : "") + belongs_to[i];
        suggestion += "?";
    }
    throw ScriptError("unknown command " + Quoted(first) + suggestion +
                      " (zorhost --help lists the commands)");
}

enum class LineRead { kLine, kEnd, kTooLong };

// The next line without its end, read as it arrives (a script on standard
// input streams) and never longer than `limit`, so that an endless stream
// without line ends cannot fill memory.
LineRead ReadLine(std::istream& in, std::string& line, size_t limit) {
    line.clear();
    std::streambuf& buffer = *in.rdbuf();
    for (;;) {
        const int c = buffer.sbumpc();
        if (c == std::char_traits<char>::eof())
            return line.empty() ? LineRead::kEnd : LineRead::kLine;
        if (c == '\n') return LineRead::kLine;
        if (line.size() == limit) return LineRead::kTooLong;
        line.push_back(static_cast<char>(c));
    }
}

}  // namespace

std::vector<CommandSpec> AllCommands() {
    std::vector<CommandSpec> all;
    for (auto group :
         {LinkCommands(), PanelCommands(), PrintCommands(), GifCommands(), ExpectCommands()})
        all.insert(all.end(), group.begin(), group.end());
    return all;
}

bool RunScript(Session& session, std::istream& in, std::ostream& err) {
    static const std::vector<CommandSpec> commands = AllCommands();
    session.line = 0;
    InstallRunReports(session);
    struct AtTheEnd {
        Session& session;
        ~AtTheEnd() {
            RemoveRunReports();
            session.transcript.EndOfScript();
        }
    } atTheEnd{session};
    // A script error ends a GIF recording unwritten, as the run.
    auto stopped = [&session] { session.gif.reset(); };
    std::string text;
    for (LineRead read;;) {
        // Before waiting for more of the script, show what it printed so far:
        // a script typed or piped in line by line sees each answer at once.
        if (in.rdbuf()->in_avail() <= 0) session.transcript.Flush();
        if ((read = ReadLine(in, text, kMaxScriptLineBytes)) == LineRead::kEnd) break;
        ++session.line;
        if (read == LineRead::kTooLong) {
            session.transcript.Flush();
            err << session.Where() << ": the line is longer than " << kMaxScriptLineBytes
                << " bytes (a line holds one command; is this a script?)\n";
            stopped();
            return false;
        }
        try {
            std::vector<Token> tokens = SplitLine(text);
            if (tokens.empty()) continue;
            const CommandSpec& spec = FindCommand(commands, tokens);
            spec.run(session, Args(spec, std::move(tokens)));
            LookAtLcd(session);
        } catch (const ScriptError& error) {
            session.transcript.Flush();
            err << session.Where() << ": " << error.what() << '\n';
            stopped();
            return false;
        }
    }
    try {
        EndGifOfScript(session);
    } catch (const ScriptError& error) {
        session.transcript.Flush();
        err << session.Where() << ": " << error.what() << '\n';
        return false;
    }
    return true;
}

void InstallVirtualTime(Session& session) {
    gTimedSession = &session;
    lcdm::SetRenderLcdAndPump(&PumpOneTick);
}

}  // namespace zorhost
