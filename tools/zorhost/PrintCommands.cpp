// Print commands: module state printed in the transcript, and LCD
// snapshots written to files.
#include "Command.h"
#include "Format.h"
#include "FrameFile.h"
#include "Lcdm.h"
#include "ScriptError.h"
#include "panel/LcdPicture.h"
#include "panel/Snapshot.h"
#include "services/ChainWalk.h"
#include "services/ModuleText.h"

namespace zorhost {
namespace {

constexpr long kBytesPerLine = 16;

// "NAME ADDR: HH ...", 16 bytes a line, each line with its own address.
void PrintBytes(Session& session, const Args& args, const std::string& name,
                uint8_t (*read)(uint16_t)) {
    args.RequireCount(1, 2);
    const long address = args.Number(0, 0, 0xFFFF);
    const long length = args.Count() > 1 ? args.Number(1, 1, 0x10000 - address) : kBytesPerLine;
    for (long line = address; line < address + length; line += kBytesPerLine) {
        std::vector<uint8_t> bytes;
        for (long a = line; a < std::min(line + kBytesPerLine, address + length); ++a)
            bytes.push_back(read(static_cast<uint16_t>(a)));
        session.transcript.Line(name + " " + std::to_string(line) + ": " + HexList(bytes));
    }
}

void PrintStatus(Session& session, const Args& args) {
    args.RequireCount(0, 0);
    session.transcript.Line("status " + services::StatusText(lcdm::Engine.StatusRegister));
}

void PrintMem(Session& session, const Args& args) {
    PrintBytes(session, args, "mem", lcdm::ReadMemoryByte);
}

void PrintStore(Session& session, const Args& args) {
    PrintBytes(session, args, "store", lcdm::ReadStoreByte);
}

void PrintVar(Session& session, const Args& args) {
    args.RequireCount(1, 2);
    const long index = args.Number(0, 0, lcdm::kTagVariableCount - 1);
    const long length = args.Count() > 1 ? args.Number(1, 1, lcdm::kTagVariableCount - index) : 1;
    const uint8_t* first = lcdm::Engine.TagVariables + index;
    session.transcript.Line("var " + std::to_string(index) + ": " +
                            DecimalList({first, first + length}));
}

void PrintFrame(Session& session, const Args& args) {
    args.RequireCount(0, 0);
    const Frame frame = CurrentFrame();
    for (int y = 0; y < kFrameHeight; ++y) {
        std::string row;
        for (int x = 0; x < kFrameWidth; ++x) row.push_back(frame.At(x, y) ? '#' : '.');
        session.transcript.Line(row);
    }
}

void PrintCursor(Session& session, const Args& args) {
    args.RequireCount(0, 0);
    const lcdm::Point cursor = lcdm::Graphics.GraphicsCursor;
    session.transcript.Line("cursor " + std::to_string(cursor.x) + " " + std::to_string(cursor.y));
}

// "NAME: HH HH", the entries up to the list's count; "NAME:" when empty.
template <typename List>
std::string ListLine(const char* name, const List& list) {
    const size_t count = std::min<size_t>(list.count, std::size(list.entries));
    const std::string entries = HexList({list.entries, list.entries + count});
    return std::string(name) + ":" + (entries.empty() ? "" : " " + entries);
}

void PrintLists(Session& session, const Args& args) {
    args.RequireCount(0, 0);
    const lcdm::VocabularyState& v = lcdm::Vocabulary;
    session.transcript.Line(ListLine("fonts", v.fontClasses));
    session.transcript.Line(ListLine("available", v.availableLanguages));
    session.transcript.Line(ListLine("used", v.usedLanguages));
}

void PrintVocabulary(Session& session, const Args& args) {
    args.RequireCount(0, 0);
    if (lcdm::Vocabulary.vocabularyId == 0) {
        session.transcript.Line("no vocabulary");
        return;
    }
    for (const services::ChainItem& item : services::WalkChain(lcdm::Vocabulary.vocabularyStart))
        session.transcript.Line(std::to_string(item.address) + " " + std::to_string(item.length) +
                                " " + std::to_string(item.number) + " " +
                                std::to_string(item.type));
}

// The picture is drawn from the frame buffer as it is now, exactly as the
// window's renderer draws it.
void Snapshot(Session& session, const Args& args) {
    args.RequireCount(1, 1);
    panel::LcdPicture picture;
    panel::RenderLcd(picture);
    const std::string path =
        args.Text(0) == files::kStandardStream ? args.Text(0) : session.Resolve(args.Text(0));
    std::string error;
    const std::optional<std::string> bytes = panel::EncodeSnapshot(picture, path, error);
    if (!bytes) throw ScriptError("snapshot: " + error);
    // Whatever the transcript holds comes before a snapshot on standard output.
    session.transcript.Flush();
    if (!session.files.Write(path, *bytes, error)) throw ScriptError("snapshot: " + error);
}

constexpr CommandSpec kCommands[] = {
    {"print status", "print status", "status N (its name)", PrintStatus},
    {"print mem", "print mem ADDR [LEN]", "module memory, 16 bytes a line (LEN default 16)",
     PrintMem},
    {"print store", "print store ADDR [LEN]", "the label store, as print mem", PrintStore},
    {"print var", "print var I [LEN]", "tag variables in decimal (LEN default 1)", PrintVar},
    {"print frame", "print frame", "128 lines of 64 characters, # set, . clear", PrintFrame},
    {"print cursor", "print cursor", "cursor X Y", PrintCursor},
    {"print lists", "print lists", "the font class, available and used language lists", PrintLists},
    {"print vocabulary", "print vocabulary", "ADDR LENGTH NUMBER TYPE per item of the chain",
     PrintVocabulary},
    {"snapshot", "snapshot FILE",
     "the LCD picture (128 x 256) in the format FILE's extension names: BMP (1 bit, also without "
     "an extension), PNG, JPEG, PBM, PPM, ... (any Qt image writer); - is standard output as BMP",
     Snapshot},
};

}  // namespace

std::span<const CommandSpec> PrintCommands() {
    return kCommands;
}

}  // namespace zorhost
