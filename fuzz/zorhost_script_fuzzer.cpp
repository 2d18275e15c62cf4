// Runs arbitrary zorhost scripts in a sandbox: every file a script names is
// held in memory (a vocabulary, golden frames, pictures), so no input can
// touch a real file. Whatever the text, the run ends with a transcript or a
// script error: no crash, no sanitizer report, no hang.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "FileAccess.h"
#include "FrameFile.h"
#include "Lcdm.h"
#include "ScriptRunner.h"
#include "Session.h"
#include "panel/LcdPicture.h"
#include "panel/Snapshot.h"

namespace {

// The files a script may name, made once from a fresh module: a small
// vocabulary (script 1: PUSH8 7, PUSH8 5, VAR_SET, END after a header item),
// the blank frame as PBM and as both snapshots, and a picture for icons.
zorhost::MemoryFileAccess Files() {
    zorhost::MemoryFileAccess files;
    files.Put("voc.bin", std::string("\x00\x04\x21\x00\x00\x0C\x01\x05\x10\x07\x10\x05\x5E"
                                     "\x00\x00\x00\xFF\xFF",
                                     18));
    lcdm::ModuleReset();
    files.Put("blank.pbm", zorhost::FormatPbm(zorhost::CurrentFrame()));
    panel::LcdPicture picture;
    panel::RenderLcd(picture);
    files.Put("blank.bmp", *panel::EncodeSnapshot(picture, "blank.bmp"));
    files.Put("blank.png", *panel::EncodeSnapshot(picture, "blank.png"));
    files.Put("icon.bmp", *panel::EncodeSnapshot(picture, "icon.bmp"));
    return files;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const zorhost::MemoryFileAccess kFiles = Files();
    zorhost::MemoryFileAccess files = kFiles;  // writes of one run never reach the next
    lcdm::ModuleReset();
    std::ostringstream out, err;
    zorhost::Options options;
    zorhost::Session session(out, options, &files);
    zorhost::InstallVirtualTime(session);
    session.scriptName = "fuzz.zh";
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    zorhost::RunScript(session, in, err);
    lcdm::SetRenderLcdAndPump(nullptr);
    return 0;
}
