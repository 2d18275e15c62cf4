// GIF recordings of the LCD: record-gif FILE ... stop-gif, in virtual time.
#include "Command.h"
#include "Format.h"
#include "ScriptError.h"

namespace zorhost {
namespace {

// Writes the recording and forgets it; a failure is a script error.
std::unique_ptr<LcdGif> FinishGif(Session& session) {
    std::unique_ptr<LcdGif> gif = std::move(session.gif);
    std::string error;
    if (!gif->Finish(session.ticks, error)) throw ScriptError("record-gif: " + error);
    return gif;
}

void RecordGif(Session& session, const Args& args) {
    args.RequireCount(1, 1);
    const std::string& name = args.Text(0);
    if (session.gif)
        args.Fail("a recording into " + session.gif->Name() + " runs already (begun at " +
                  session.gif->Where() + "); stop-gif ends it");
    if (name == files::kStandardStream)
        args.Fail("standard output carries the transcript; name a file for the GIF");
    std::string error;
    std::unique_ptr<files::ByteSink> out = session.files.OpenStream(session.Resolve(name), error);
    if (!out) throw ScriptError("record-gif: " + error);
    session.gif = std::make_unique<LcdGif>(std::move(out), name, session.Where(), session.ticks);
}

void StopGif(Session& session, const Args& args) {
    args.RequireCount(0, 0);
    if (!session.gif) args.Fail("no GIF recording runs (record-gif FILE begins one)");
    const std::unique_ptr<LcdGif> gif = FinishGif(session);
    session.transcript.Line("gif " + gif->Name() + ": " + gif->Summary());
}

constexpr CommandSpec kCommands[] = {
    {"record-gif", "record-gif FILE",
     "record what the LCD shows (128 x 256, as the window) as an animated GIF, each picture "
     "shown for the virtual time until the next, until stop-gif or the script's end",
     RecordGif},
    {"stop-gif", "stop-gif", "end the GIF recording and write its file", StopGif},
};

}  // namespace

std::span<const CommandSpec> GifCommands() {
    return kCommands;
}

void LookAtLcd(Session& session) {
    if (!session.gif) return;
    session.gif->Look(session.ticks);
    // A write that failed is said at the line that made the picture.
    if (session.gif->Failed()) FinishGif(session);
}

void EndGifOfScript(Session& session) {
    if (!session.gif) return;
    const std::unique_ptr<LcdGif> gif = FinishGif(session);
    session.transcript.Line(gif->Where() + ": record-gif " + gif->Name() +
                            " still ran at the end of the script; written: " + gif->Summary());
}

}  // namespace zorhost
