// One-byte commands (first byte 0x00..0x3F): queries, data modes, list and
// block read-out, and the store operations on the DataBuffer.
#include <cstring>

#include "Lcdm_command_support.h"
#include "Lcdm_labels.h"
#include "Lcdm_memory.h"
#include "Lcdm_status.h"
#include "Lcdm_tags.h"
#include "Lcdm_voc.h"

namespace lcdm {
namespace {

// A memory byte that fails is tried this many times before 0x24 gives up.
constexpr int kMemoryWriteTries = 10;

// ------------------------------------------------------------- queries ---

uint8_t Nop(const Command& c) { return c.first; }
uint8_t Identity(const Command&) { return 0x24; }
uint8_t VocabularyId(const Command&) { return Vocabulary.vocabularyId; }
uint8_t StartHigh(const Command&) { return HighByte(Vocabulary.vocabularyStart); }
uint8_t StartLow(const Command&) { return LowByte(Vocabulary.vocabularyStart); }
uint8_t LastHigh(const Command&) { return HighByte(Vocabulary.lastItem); }
uint8_t LastLow(const Command&) { return LowByte(Vocabulary.lastItem); }

// ------------------------------------------------------------- lists ---
// The three lists share one read index. The font class list reads with 1
// added to every entry, so its free marker 254 reads as 255 and class 0 as 1.

uint8_t ListEntry(const uint8_t* entries, uint8_t size, uint8_t addend) {
    if (Link.ListReadIndex >= size) return 0;
    return static_cast<uint8_t>(entries[Link.ListReadIndex++] + addend);
}
uint8_t StartList(const uint8_t* entries, uint8_t addend) {
    Link.ListReadIndex = 1;
    return static_cast<uint8_t>(entries[0] + addend);
}
uint8_t FontClassFirst(const Command&) { return StartList(Vocabulary.fontClasses.entries, 1); }
uint8_t FontClassNext(const Command&) {
    return ListEntry(Vocabulary.fontClasses.entries, kFontClassListSize, 1);
}
uint8_t AvailableFirst(const Command&) {
    return StartList(Vocabulary.availableLanguages.entries, 0);
}
uint8_t AvailableNext(const Command&) {
    return ListEntry(Vocabulary.availableLanguages.entries, kLanguageListSize, 0);
}
uint8_t UsedFirst(const Command&) { return StartList(Vocabulary.usedLanguages.entries, 0); }
uint8_t UsedNext(const Command&) {
    return ListEntry(Vocabulary.usedLanguages.entries, kLanguageListSize, 0);
}

// ---------------------------------------------------------- block read ---

uint8_t* BlockArea() { return Labels.ScratchBuffer + 1; }

uint8_t BlockByte(int32_t position) {
    return position < Link.BlockSize ? BlockArea()[position] : 0;
}

// The request (count, source) lies in the last two data bytes. A label store
// read that fails leaves no block in progress, so that later steps never pass
// out what an earlier block left in the scratch buffer.
bool StartBlock() {
    if (Link.DataLength < 2) return false;
    const uint8_t count = Link.DataBuffer[Link.DataLength - 2];
    const uint8_t source = Link.DataBuffer[Link.DataLength - 1];
    Link.DataLength = static_cast<uint8_t>(Link.DataLength - 2);
    if (source == 0) {
        for (uint8_t i = 0; i < count; ++i)
            BlockArea()[i] = ReadMemoryByte(static_cast<uint16_t>(Link.AddressPointer + i));
    } else if (ReadStoreBlock(Link.AddressPointer, BlockArea(), count) != kStatusOk) {
        return false;
    }
    Link.BlockSize = count;
    Link.AddressPointer = static_cast<uint16_t>(Link.AddressPointer + count);
    return true;
}

// One packet: a sequence header with bit 7 set and ten bytes to the block
// hook, then the eleventh byte as the reply.
uint8_t SendPacket() {
    const auto header = static_cast<uint8_t>(((Link.BlockPosition + 2) / 11) | 0x80);
    if (gBlockTransmitHook) gBlockTransmitHook(header);
    for (int i = 0; i < 10; ++i) {
        const uint8_t byte = BlockByte(Link.BlockPosition++);
        if (gBlockTransmitHook) gBlockTransmitHook(byte);
    }
    return BlockByte(Link.BlockPosition++);
}

uint8_t ReadBlock(const Command&) {
    if (Link.BlockSize != 0 && Link.BlockPosition >= Link.BlockSize) {
        Link.BlockSize = 0;
        Link.BlockPosition = 0;
        return 0;
    }
    if (Link.BlockSize == 0 && !StartBlock()) return 0;
    return SendPacket();
}

// ----------------------------------------------------------- data modes ---

uint8_t EndData(const Command& c) {
    Link.DataLength = 0;
    Link.BlockPosition = 0;
    Link.BlockSize = 0;
    return c.first;
}
uint8_t ModeMemory(const Command& c) {
    Link.DataMode = kModeMemory;
    return c.first;
}
uint8_t ModeLabelStore(const Command& c) {
    Link.DataMode = kModeLabelStore;
    return c.first;
}
uint8_t ModeIconBegin(const Command& c) {
    Link.DataLength = 0;
    Link.DataMode = kModeIconBegin;
    return c.first;
}
uint8_t ModeIconAppend(const Command& c) {
    Link.DataMode = kModeIconAppend;
    return c.first;
}
uint8_t ModeBothLogos(const Command& c) {
    Link.AddressPointer = kLogoBitmap0;
    Link.DataLength = 0;
    Link.DataMode = kModeBothLogos;
    Engine.StatusRegister = kStatusOk;
    return c.first;
}

// ------------------------------------------------ executing the buffer ---

bool WriteDataToMemory() {
    for (uint8_t i = 0; i < Link.DataLength; ++i) {
        const auto address = static_cast<uint16_t>(Link.AddressPointer + i);
        int tries = 0;
        while (WriteMemoryByte(Link.DataBuffer[i], address) != kStatusOk)
            if (++tries == kMemoryWriteTries) return false;
    }
    Link.AddressPointer = static_cast<uint16_t>(Link.AddressPointer + Link.DataLength);
    return true;
}

// Writes the data bytes at the pointer, advancing it past each byte written.
bool WriteDataToStore() {
    for (uint8_t i = 0; i < Link.DataLength; ++i) {
        if (WriteStoreByte(Link.AddressPointer, Link.DataBuffer[i]) != kStatusOk) return false;
        Link.AddressPointer = static_cast<uint16_t>(Link.AddressPointer + 1);
    }
    return true;
}

bool StoreLabels() {
    const bool stored = StoreSelectedLabels() == kStatusOk;
    if (stored) Refresh();
    Link.KeySelectionMask = 0;
    return stored;
}

uint8_t Execute(const Command& c) {
    switch (Link.DataMode) {
        case kModeMemory: return c.EchoIf(WriteDataToMemory());
        case kModeLabelStore: return c.EchoIf(WriteDataToStore());
        case kModeIconBegin: return c.EchoIf(BeginDynamicIcon() == kStatusOk);
        case kModeIconAppend: return c.EchoIf(AppendDynamicIcon() == kStatusOk);
        case kModeStoreLabels: return c.EchoIf(StoreLabels());
        default: return 0;
    }
}

// After 0x2A the same bytes go to both logo bitmaps: first 128 bytes below
// the pointer (logo 1), then at it (logo 0).
uint8_t WriteBuffer(const Command& c) {
    bool written;
    if (Link.DataMode == kModeBothLogos) {
        const uint16_t first = Link.AddressPointer;
        Link.AddressPointer = static_cast<uint16_t>(first - kRecordSize);
        written = WriteDataToStore();
        if (written) {
            Link.AddressPointer = first;
            written = WriteDataToStore();
        }
        if (!written) Link.DataLength = 0;
    } else {
        written = WriteDataToStore();
    }
    if (written) Link.DataLength = 0;
    return c.EchoIf(written);
}

// ------------------------------------------------------ label store ---

uint8_t FinishIcon(const Command& c) {
    const bool finished = FinishDynamicIcon() == kStatusOk;
    if (finished) Refresh();
    return c.EchoIf(finished);
}
uint8_t PurgeIcons(const Command& c) { return c.EchoIf(PurgeDynamicIcons() == kStatusOk); }
uint8_t InitStore(const Command& c) {
    InitLabelStore();
    Refresh();
    return c.first;
}
uint8_t RebuildUsed(const Command& c) { return c.EchoIf(RebuildUsedLanguages() == kStatusOk); }
uint8_t RebuildAvailable(const Command& c) {
    RebuildAvailableLanguages();
    return c.first;
}

}  // namespace

// clang-format off
const CommandRow kOneByteCommands[] = {
    {0x00, 0x00, "NOP",                 CommandOperands::kNone,            Nop},
    {0x01, 0x01, "IDENTIFY",            CommandOperands::kNone,            Identity},
    {0x02, 0x02, "VOCABULARY_ID",       CommandOperands::kNone,            VocabularyId},
    {0x03, 0x03, "IDENTIFY",            CommandOperands::kNone,            Identity},
    {0x09, 0x09, "END_DATA",            CommandOperands::kNone,            EndData},
    {0x0A, 0x0A, "MODE_MEMORY",         CommandOperands::kNone,            ModeMemory},
    {0x0B, 0x0B, "MODE_LABEL_STORE",    CommandOperands::kNone,            ModeLabelStore},
    {0x0C, 0x0C, "START_HIGH",          CommandOperands::kNone,            StartHigh},
    {0x0D, 0x0D, "START_LOW",           CommandOperands::kNone,            StartLow},
    {0x0E, 0x0E, "LAST_ITEM_HIGH",      CommandOperands::kNone,            LastHigh},
    {0x0F, 0x0F, "LAST_ITEM_LOW",       CommandOperands::kNone,            LastLow},
    {0x10, 0x10, "FONT_CLASSES",        CommandOperands::kNone,            FontClassFirst},
    {0x11, 0x11, "FONT_CLASS_NEXT",     CommandOperands::kNone,            FontClassNext},
    {0x12, 0x12, "AVAILABLE_LANGUAGES", CommandOperands::kNone,            AvailableFirst},
    {0x13, 0x13, "AVAILABLE_NEXT",      CommandOperands::kNone,            AvailableNext},
    {0x14, 0x14, "USED_LANGUAGES",      CommandOperands::kNone,            UsedFirst},
    {0x15, 0x15, "USED_NEXT",           CommandOperands::kNone,            UsedNext},
    {0x16, 0x16, "READ_BLOCK",          CommandOperands::kNone,            ReadBlock},
    {0x20, 0x20, "MODE_ICON_BEGIN",     CommandOperands::kNone,            ModeIconBegin},
    {0x21, 0x21, "MODE_ICON_APPEND",    CommandOperands::kNone,            ModeIconAppend},
    {0x22, 0x22, "FINISH_ICON",         CommandOperands::kNone,            FinishIcon},
    {0x23, 0x23, "PURGE_ICONS",         CommandOperands::kNone,            PurgeIcons},
    {0x24, 0x24, "EXECUTE",             CommandOperands::kNone,            Execute},
    {0x27, 0x27, "INIT_LABEL_STORE",    CommandOperands::kNone,            InitStore},
    {0x28, 0x28, "REBUILD_USED",        CommandOperands::kNone,            RebuildUsed},
    {0x29, 0x29, "REBUILD_AVAILABLE",   CommandOperands::kNone,            RebuildAvailable},
    {0x2A, 0x2A, "MODE_BOTH_LOGOS",     CommandOperands::kNone,            ModeBothLogos},
    {0x2B, 0x2B, "WRITE_BUFFER",        CommandOperands::kNone,            WriteBuffer},
};
// clang-format on
const uint8_t kOneByteCommandCount = sizeof kOneByteCommands / sizeof kOneByteCommands[0];

}  // namespace lcdm
