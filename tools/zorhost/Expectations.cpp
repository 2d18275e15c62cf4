// Expectations: silent when they hold, "FILE:LINE: expected X, got Y" when
// they fail. A failure does not stop the script.

#include "Command.h"
#include "Format.h"
#include "FrameDiffPicture.h"
#include "FrameFile.h"
#include "Lcdm.h"
#include "ScriptError.h"
#include "panel/LcdPicture.h"
#include "panel/Snapshot.h"
#include "services/ModuleText.h"

namespace zorhost {
namespace {

void Check(Session& session, const std::string& expected, const std::string& got) {
    if (expected != got) session.transcript.Failure(session.Where(), expected, got);
}

void ExpectLink(Session& session, const Args& args) {
    args.RequireCount(1, 1);
    const std::string expected = "link " + std::to_string(args.Number(0, 0, 255));
    Check(session, expected,
          session.port.AnySent() ? "link " + std::to_string(session.port.LastLinkCode())
                                 : "no byte sent yet");
}

void ExpectReply(Session& session, const Args& args) {
    args.RequireCount(1, 1);
    const std::string expected = "reply " + Hex2(args.HexByte(0));
    Check(session, expected,
          session.port.AnySent() ? "reply " + Hex2(session.port.LastReply()) : "no byte sent yet");
}

void ExpectStatus(Session& session, const Args& args) {
    args.RequireCount(1, 1);
    Check(session, "status " + services::StatusText(static_cast<uint8_t>(args.Number(0, 0, 255))),
          "status " + services::StatusText(lcdm::Engine.StatusRegister));
}

void ExpectPointer(Session& session, const Args& args) {
    args.RequireCount(1, 1);
    Check(session, "pointer " + std::to_string(args.Number(0, 0, 0xFFFF)),
          "pointer " + std::to_string(lcdm::Link.AddressPointer));
}

void ExpectBytes(Session& session, const Args& args, const std::string& name,
                 uint8_t (*read)(uint16_t)) {
    args.RequireCount(2, SIZE_MAX);
    const long address = args.Number(0, 0, 0xFFFF);
    const std::vector<uint8_t> expected = args.HexBytes(1);
    if (address + static_cast<long>(expected.size()) > 0x10000)
        args.Fail("the bytes run past address 65535");
    std::vector<uint8_t> actual;
    for (size_t i = 0; i < expected.size(); ++i)
        actual.push_back(read(static_cast<uint16_t>(address + static_cast<long>(i))));
    const std::string where = name + " " + std::to_string(address) + ": ";
    Check(session, where + HexList(expected), where + HexList(actual));
}

void ExpectMem(Session& session, const Args& args) {
    ExpectBytes(session, args, "mem", lcdm::ReadMemoryByte);
}

void ExpectStore(Session& session, const Args& args) {
    ExpectBytes(session, args, "store", lcdm::ReadStoreByte);
}

void ExpectVar(Session& session, const Args& args) {
    args.RequireCount(2, SIZE_MAX);
    const long index = args.Number(0, 0, lcdm::kTagVariableCount - 1);
    if (index + static_cast<long>(args.Count()) - 1 > lcdm::kTagVariableCount)
        args.Fail("the values run past tag variable 63");
    std::vector<uint8_t> expected, actual;
    for (size_t i = 1; i < args.Count(); ++i) {
        expected.push_back(static_cast<uint8_t>(args.Number(i, 0, 255)));
        actual.push_back(lcdm::Engine.TagVariables[index + static_cast<long>(i) - 1]);
    }
    const std::string where = "var " + std::to_string(index) + ": ";
    Check(session, where + DecimalList(expected), where + DecimalList(actual));
}

void ExpectPixel(Session& session, const Args& args) {
    args.RequireCount(3, 3);
    const long x = args.Number(0, 0, kFrameWidth - 1);
    const long y = args.Number(1, 0, kFrameHeight - 1);
    if (args.Text(2) != "on" && args.Text(2) != "off")
        args.Fail(Quoted(args.Text(2)) + " is neither on nor off");
    const bool on = CurrentFrame().At(static_cast<int>(x), static_cast<int>(y));
    const std::string pixel = "pixel " + std::to_string(x) + " " + std::to_string(y) + " ";
    Check(session, pixel + args.Text(2), pixel + (on ? "on" : "off"));
}

void ExpectCursor(Session& session, const Args& args) {
    args.RequireCount(2, 2);
    const long x = args.Number(0, -32768, 32767);
    const long y = args.Number(1, -32768, 32767);
    const lcdm::Point cursor = lcdm::Graphics.GraphicsCursor;
    Check(session, "cursor " + std::to_string(x) + " " + std::to_string(y),
          "cursor " + std::to_string(cursor.x) + " " + std::to_string(cursor.y));
}

void ExpectDepth(Session& session, const Args& args) {
    args.RequireCount(2, 2);
    const long data = args.Number(0, 0, 255);
    const long ret = args.Number(1, 0, 255);
    Check(session, "depth " + std::to_string(data) + " " + std::to_string(ret),
          "depth " + std::to_string(lcdm::Engine.dataDepth) + " " +
              std::to_string(lcdm::Engine.returnDepth));
}

void WriteOrFail(Session& session, const std::string& path, std::string_view bytes) {
    std::string error;
    if (!session.files.Write(path, bytes, error)) throw ScriptError("expect frame: " + error);
}

// A golden frame keeps its file's format: a snapshot name (.bmp, .png) gets
// a snapshot, anything else PBM P1 text, which shows a changed page in a diff.
void WriteGolden(Session& session, const std::string& path, const Frame& frame) {
    if (!EndsWithNoCase(path, ".bmp") && !EndsWithNoCase(path, ".png")) {
        WriteOrFail(session, path, FormatPbm(frame));
        return;
    }
    panel::LcdPicture picture;
    panel::RenderLcd(picture);
    const std::optional<std::string> bytes = panel::EncodeSnapshot(picture, path);
    if (!bytes) throw ScriptError("expect frame: cannot encode the frame for " + path);
    WriteOrFail(session, path, *bytes);
}

std::string DescribeDifference(const FrameDifference& diff, const std::string& name) {
    return std::to_string(diff.pixels) +
           (diff.pixels == 1 ? " pixel differing" : " pixels differing") + " within (" +
           std::to_string(diff.left) + ", " + std::to_string(diff.top) + ")-(" +
           std::to_string(diff.right) + ", " + std::to_string(diff.bottom) +
           "); actual frame written to " + name + ".actual.pbm, differences drawn in " + name +
           ".diff.png";
}

Frame ReadExpectedFrame(Session& session, const std::string& path, const std::string& name) {
    files::ReadError failure;
    const std::optional<std::string> bytes = session.files.Read(path, kMaxFrameFileBytes, failure);
    if (!bytes) throw ScriptError("expect frame: " + failure.Message(name));
    try {
        return ParseFrame(*bytes, name);
    } catch (const ScriptError& error) {
        throw ScriptError(std::string("expect frame: ") + error.what());
    }
}

void ExpectFrame(Session& session, const Args& args) {
    args.RequireCount(1, 1);
    const std::string& name = args.Text(0);
    const std::string path = session.Resolve(name);
    const Frame actual = CurrentFrame();
    const bool missing = !session.files.Exists(path);
    if (missing && !session.options.updateGolden)
        throw ScriptError("expect frame: cannot read " + name +
                          ": no such file (--update-golden creates it)");
    FrameDifference diff;
    Frame expected;
    if (!missing) diff = Compare(expected = ReadExpectedFrame(session, path, name), actual);
    if (!missing && diff.pixels == 0) return;
    if (session.options.updateGolden) {
        WriteGolden(session, path, actual);
        session.transcript.Line(session.Where() + ": " + (missing ? "created" : "updated") +
                                " golden frame " + name);
        return;
    }
    std::string error;
    if (!session.files.WriteTogether({{path + ".actual.pbm", FormatPbm(actual)},
                                      {path + ".diff.png", FrameDiffPng(expected, actual)}},
                                     error))
        throw ScriptError("expect frame: " + error);
    session.transcript.Failure(session.Where(), "frame " + name, DescribeDifference(diff, name));
}

constexpr CommandSpec kCommands[] = {
    {"expect link", "expect link N", "the link code of the last byte sent", ExpectLink},
    {"expect reply", "expect reply HH", "the reply byte of the last byte sent", ExpectReply},
    {"expect status", "expect status N", "the StatusRegister", ExpectStatus},
    {"expect pointer", "expect pointer N", "the AddressPointer", ExpectPointer},
    {"expect mem", "expect mem ADDR HH ...", "module memory from ADDR", ExpectMem},
    {"expect store", "expect store ADDR HH ...", "the label store from ADDR", ExpectStore},
    {"expect var", "expect var I N ...", "tag variables from I", ExpectVar},
    {"expect pixel", "expect pixel X Y on|off", "one frame buffer pixel", ExpectPixel},
    {"expect cursor", "expect cursor X Y", "the graphics cursor", ExpectCursor},
    {"expect depth", "expect depth D R", "the data and return stack depths", ExpectDepth},
    {"expect frame", "expect frame FILE",
     "the frame buffer equals a 64 x 128 PBM (P1, P4) or a 128 x 256 snapshot (BMP, PNG)",
     ExpectFrame},
};

}  // namespace

std::span<const CommandSpec> ExpectCommands() {
    return kCommands;
}

}  // namespace zorhost
