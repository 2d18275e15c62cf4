// Dynamic icons: loading a host bitmap into one of the 16 icon slots (begin,
// append, finish), freeing a slot, and purging the icons no key label uses.
//
// A load owns exactly one slot's 256 bitmap bytes. Bytes the host appends
// beyond them are refused at once, so an overlong load never spoils the next
// slot's bitmap; the write pointer still counts them, and finish reports the
// load as too long.
#include <cstring>

#include "Lcdm_commands.h"
#include "Lcdm_common.h"
#include "Lcdm_labels.h"
#include "Lcdm_status.h"
#include "Lcdm_tags.h"
#include "Lcdm_voc.h"

namespace lcdm {

namespace {

inline constexpr uint8_t kHeaderSize = 6;
inline constexpr uint8_t kSlotFound = 0x80;  // slot search: bit 7 set = a slot, bits 0..3
inline constexpr uint8_t kSlotMask = 0x0F;
inline constexpr uint8_t kPurgeFailed = 1;
inline constexpr uint8_t kReferenceLength = kIconEntryFlag | 2;  // exactly 130
inline constexpr uint16_t kDirectorySize = kIconSlots * kIconDirectoryEntrySize;

// Offsets inside an icon directory entry.
enum IconEntryByte : uint8_t {
    kIdHigh = 2,
    kIdLow = 3,
    kLanguageByte = 7,
};

// Purge's working copies in the scratch buffer's work area: the icon
// directory in the first half, one key record in the second.
uint8_t* DirectoryCopy() {
    return Labels.ScratchBuffer + 1;
}
uint8_t* RecordCopy() {
    return Labels.ScratchBuffer + 1 + kDirectorySize;
}

uint8_t* SlotEntry(uint8_t* directory, uint8_t slot) {
    return directory + slot * kIconDirectoryEntrySize;
}

uint16_t SlotBitmap(uint8_t slot) {
    return static_cast<uint16_t>(kIconBitmaps + (slot & kSlotMask) * kIconSlotSize);
}

// The pending language lives in byte 0 of the scratch buffer, which no read
// into the work area touches.
uint8_t& PendingLanguage() {
    return Labels.ScratchBuffer[0];
}

// First slot, lowest number first, whose language byte passes `take`.
template <typename Rule>
uint8_t FirstSlot(uint8_t* directory, Rule take) {
    for (uint8_t slot = 0; slot < kIconSlots; ++slot)
        if (take(SlotEntry(directory, slot))) return static_cast<uint8_t>(kSlotFound | slot);
    return 0;
}

// The slot a new icon goes to, by preference: the icon it replaces; a free
// slot; one whose language is no longer available; one not in the current
// language. 0 when there is none.
uint8_t SlotSearch(uint8_t language, uint16_t id) {
    if (ReadStoreToScratch(kIconDirectory, kDirectorySize) != kStatusOk) return 0;
    uint8_t* directory = DirectoryCopy();
    uint8_t slot = FirstSlot(directory, [&](const uint8_t* e) {
        return e[kLanguageByte] == language && MakeWord(e[kIdHigh], e[kIdLow]) == id;
    });
    if (slot == 0)
        slot = FirstSlot(directory,
                         [](const uint8_t* e) { return e[kLanguageByte] == kFreeLanguage; });
    if (slot == 0)
        slot = FirstSlot(directory,
                         [](const uint8_t* e) { return !HasAvailableLanguage(e[kLanguageByte]); });
    if (slot == 0)
        slot = FirstSlot(directory, [](const uint8_t* e) {
            return e[kLanguageByte] != Language.currentLanguage;
        });
    return slot;
}

// Bytes the data buffer holds, never more than it has places for.
uint8_t BufferedBytes() {
    return Link.DataLength < kDataBufferSize ? Link.DataLength : kDataBufferSize;
}

// Every slot of the directory copy that holds this language and id is set to
// 255 throughout, so the sweep that follows leaves it alone.
void MarkReferenced(uint8_t language, uint8_t idHigh, uint8_t idLow) {
    for (uint8_t slot = 0; slot < kIconSlots; ++slot) {
        uint8_t* e = SlotEntry(DirectoryCopy(), slot);
        if (e[kLanguageByte] == language && e[kIdHigh] == idHigh && e[kIdLow] == idLow)
            std::memset(e, 0xFF, kIconDirectoryEntrySize);
    }
}

// Marks the icons key `key`'s labels refer to. Only a length byte of 255
// ends this walk. An icon reference counts only with a length byte of exactly
// 130 and its id inside the record: entries whose data lie beyond the record
// (lengths adding up past it) cannot be valid references and are skipped.
uint8_t MarkKeyReferences(uint8_t key) {
    if (ReadStoreBlock(RecordAddress(key), RecordCopy(), kRecordSize) != kStatusOk)
        return kStatusStoreAccess;
    const uint8_t* record = RecordCopy();
    uint16_t offset = kLabelDirectorySize;
    for (uint8_t i = 0; i < kLabelEntries; ++i) {
        const uint8_t lengthByte = record[2 * i];
        if (lengthByte == kFreeEntry) break;
        if (lengthByte == kReferenceLength && offset + 2 <= kRecordSize)
            MarkReferenced(record[2 * i + 1], record[offset], record[offset + 1]);
        offset = static_cast<uint16_t>(offset + (lengthByte & kEntryLengthMask));
    }
    return kStatusOk;
}

// Languages of the icons that survived, 0 included: every slot in use counts.
uint8_t AddSurvivingLanguages() {
    uint8_t directory[kDirectorySize];
    if (ReadStoreBlock(kIconDirectory, directory, kDirectorySize) != kStatusOk) return kPurgeFailed;
    for (uint8_t slot = 0; slot < kIconSlots; ++slot) {
        const uint8_t language = SlotEntry(directory, slot)[kLanguageByte];
        if (language != kFreeLanguage) AddAvailableLanguage(language);
    }
    return kStatusOk;
}

}  // namespace

uint8_t BeginDynamicIcon() {
    if (Link.DataLength < kHeaderSize) return kStatusIconHeaderShort;
    const uint8_t* header = Link.DataBuffer;
    PendingLanguage() = header[0];
    IconLoad.pendingId = MakeWord(header[1], header[2]);

    // Until this begin succeeds, finish must not record anything: after a
    // failed search the pending slot reads as 0 and the write pointer still
    // points into the previous load's slot.
    IconLoad.loadFailed = true;
    IconLoad.pendingSlot = SlotSearch(header[0], IconLoad.pendingId);
    if (IconLoad.pendingSlot == 0) return kStatusNotFound;

    IconLoad.writePointer = 0;
    AddAvailableLanguage(header[0]);  // a full list ignores it
    if (!HasAvailableLanguage(header[0])) return kStatusNotFound;

    IconLoad.pendingSlot &= kSlotMask;
    IconLoad.pendingWidth = header[3];
    IconLoad.pendingHeight = header[4];
    IconLoad.pendingYOffset = header[5];
    IconLoad.writePointer = SlotBitmap(IconLoad.pendingSlot);
    IconLoad.loadFailed = false;

    if (Link.DataLength == kHeaderSize) {
        Link.DataLength = 0;
        return kStatusOk;
    }
    // Bitmap bytes behind the header are appended at once.
    const uint8_t extra = static_cast<uint8_t>(BufferedBytes() - kHeaderSize);
    std::memmove(Link.DataBuffer, Link.DataBuffer + kHeaderSize, extra);
    Link.DataLength = extra;
    return AppendDynamicIcon();
}

uint8_t AppendDynamicIcon() {
    const uint8_t count = BufferedBytes();
    const uint16_t slotStart = SlotBitmap(IconLoad.pendingSlot);
    const uint32_t slotEnd = uint32_t{slotStart} + kIconSlotSize;
    bool written = !IconLoad.loadFailed;
    for (uint8_t i = 0; written && i < count; ++i) {
        const auto address = static_cast<uint16_t>(IconLoad.writePointer + i);
        // Outside the pending slot's bitmap (an overlong load, or no load
        // begun): refused, and nothing behind it is written.
        written = address >= slotStart && address < slotEnd &&
                  WriteStoreByte(address, Link.DataBuffer[i]) == kStatusOk;
    }
    // The pointer counts every byte, refused or not, so finish sees the size
    // the host tried to load.
    IconLoad.writePointer = static_cast<uint16_t>(IconLoad.writePointer + Link.DataLength);
    if (!written) return kStatusStoreAccess;
    Link.DataLength = 0;
    return kStatusOk;
}

uint8_t FinishDynamicIcon() {
    if (IconLoad.loadFailed) return kStatusIndexRange;
    const uint8_t slot = IconLoad.pendingSlot;
    if (slot >= kIconSlots) return kStatusIndexRange;
    const auto size = static_cast<uint16_t>(IconLoad.writePointer - SlotBitmap(slot));
    if (size > kIconSlotSize) return kStatusIndexRange;

    const uint8_t entry[kIconDirectoryEntrySize] = {
        HighByte(size),
        LowByte(size),
        HighByte(IconLoad.pendingId),
        LowByte(IconLoad.pendingId),
        IconLoad.pendingWidth,
        IconLoad.pendingHeight,
        IconLoad.pendingYOffset,
        PendingLanguage(),
    };
    return WriteStoreBlock(static_cast<uint16_t>(kIconDirectory + slot * kIconDirectoryEntrySize),
                           entry, kIconDirectoryEntrySize);
}

uint8_t FreeIconSlot(uint8_t slot) {
    if (slot >= kIconSlots) return kStatusNotFound;
    // Only the directory entry is freed; the bitmap bytes stay.
    uint8_t freed[kIconDirectoryEntrySize];
    std::memset(freed, 0xFF, sizeof freed);
    return WriteStoreBlock(static_cast<uint16_t>(kIconDirectory + slot * kIconDirectoryEntrySize),
                           freed, kIconDirectoryEntrySize);
}

uint8_t PurgeDynamicIcons() {
    if (ReadStoreToScratch(kIconDirectory, kDirectorySize) != kStatusOk) return kStatusStoreAccess;
    for (uint8_t key = 1; key <= kKeyCount; ++key)
        if (MarkKeyReferences(key) != kStatusOk) return kStatusStoreAccess;

    // What is left in the copy is in use and referenced by no label.
    for (uint8_t slot = 0; slot < kIconSlots; ++slot)
        if (SlotEntry(DirectoryCopy(), slot)[kLanguageByte] != kFreeLanguage &&
            FreeIconSlot(slot) != kStatusOk)
            return kPurgeFailed;

    ClearAvailableLanguages();
    if (RescanIconSets() != kStatusOk) return kPurgeFailed;
    return AddSurvivingLanguages();
}

}  // namespace lcdm
