// Key label editing: storing the data buffer's label on the selected keys
// (new entries, replacements that shrink, grow or turn a text into an icon
// reference) and removing one language from every key and dynamic icon.
//
// A key record is 128 bytes: a 16-byte label directory, then the entries'
// data back to back. Whatever the directory claims (the host can write raw
// bytes into the store), nothing here reads or writes outside the key's own
// record: data that would reach offset 127 are cut there with a 0 byte, and
// data that would lie beyond the record are dropped.
#include <cstring>

#include "Lcdm_commands.h"
#include "Lcdm_labels.h"
#include "Lcdm_status.h"
#include "Lcdm_tags.h"
#include "Lcdm_voc.h"

namespace lcdm {

namespace {

inline constexpr uint8_t kDefaultLanguage = 1;
inline constexpr uint16_t kLastRecordByte = kRecordSize - 1;  // holds the cut's 0
inline constexpr uint8_t kIconIdSize = 2;
inline constexpr uint8_t kNewIconLength = kIconEntryFlag | kIconIdSize;  // 130
// Byte 1 of the data buffer: 9 or above is always text, 1 always an icon
// reference; 0 and 2..8 make a new entry an icon and a replacement a text.
inline constexpr uint8_t kFirstTextByte = 9;
inline constexpr uint8_t kIconMarker = 1;
inline constexpr uint8_t kRemovalFailed = 1;

bool EndsDirectory(uint8_t lengthByte) {
    return lengthByte == 0 || lengthByte == kFreeEntry;
}
uint8_t DataSize(uint8_t lengthByte) {
    return lengthByte & kEntryLengthMask;
}

struct Directory {
    uint8_t bytes[kLabelDirectorySize];
    uint8_t Length(uint8_t i) const { return bytes[2 * i]; }
    uint8_t Language(uint8_t i) const { return bytes[2 * i + 1]; }
};

// Where a walk for a language stopped: the entry index (8 after eight other
// labels), its data offset, and whether that entry is in the language.
struct EntryPosition {
    uint8_t index;
    uint16_t offset;
    bool found;
};

uint16_t RecordByte(uint8_t key, uint16_t offset) {
    return static_cast<uint16_t>(RecordAddress(key) + offset);
}

bool ValidKey(uint8_t key) {
    return key >= 1 && key <= kKeyCount;
}

uint8_t ReadDirectory(uint8_t key, Directory& directory) {
    if (ReadStoreBlock(RecordAddress(key), directory.bytes, kLabelDirectorySize) != kStatusOk)
        return kStatusStoreAccess;
    return kStatusOk;
}

// An entry that ends the directory is never taken as a label in the language,
// whatever its language byte says: a new entry goes there instead.
EntryPosition FindLanguage(const Directory& directory, uint8_t language) {
    uint16_t offset = kLabelDirectorySize;
    for (uint8_t i = 0; i < kLabelEntries; ++i) {
        if (EndsDirectory(directory.Length(i))) return {i, offset, false};
        if (directory.Language(i) == language) return {i, offset, true};
        offset = static_cast<uint16_t>(offset + DataSize(directory.Length(i)));
    }
    return {kLabelEntries, offset, false};
}

// Data size of the entries after `index`, up to the end of the directory.
uint16_t FollowingDataSize(const Directory& directory, uint8_t index) {
    uint16_t size = 0;
    for (uint8_t i = static_cast<uint8_t>(index + 1); i < kLabelEntries; ++i) {
        if (EndsDirectory(directory.Length(i))) break;
        size = static_cast<uint16_t>(size + DataSize(directory.Length(i)));
    }
    return size;
}

uint8_t WriteEntry(uint8_t key, uint8_t index, uint8_t lengthByte, uint8_t language) {
    if (WriteStoreByte(RecordByte(key, 2 * index), lengthByte) != kStatusOk ||
        WriteStoreByte(RecordByte(key, 2 * index + 1), language) != kStatusOk)
        return kStatusStoreAccess;
    return kStatusOk;
}

uint8_t WriteLength(uint8_t key, uint8_t index, uint8_t lengthByte) {
    if (WriteStoreByte(RecordByte(key, 2 * index), lengthByte) != kStatusOk)
        return kStatusStoreAccess;
    return kStatusOk;
}

// Writes label data from `offset` on, one byte at a time. The byte that falls
// on the record's last byte is written as 0 and ends the data; nothing is
// ever written beyond the record.
uint8_t WriteCut(uint8_t key, uint16_t offset, const uint8_t* bytes, uint16_t count) {
    for (uint16_t i = 0; i < count; ++i, ++offset) {
        if (offset >= kLastRecordByte) {
            if (offset > kLastRecordByte) return kStatusOk;
            return WriteStoreByte(RecordByte(key, offset), 0) == kStatusOk ? kStatusOk
                                                                           : kStatusStoreAccess;
        }
        if (WriteStoreByte(RecordByte(key, offset), bytes[i]) != kStatusOk)
            return kStatusStoreAccess;
    }
    return kStatusOk;
}

// A label whose data would start beyond what the record holds cannot be
// stored: writing it would spill into the next key's record. A text may still
// start on the last byte (it becomes the cut's 0); an icon id needs two bytes.
bool HasRoom(uint16_t offset, bool icon) {
    return icon ? offset + kIconIdSize <= kRecordSize : offset <= kLastRecordByte;
}

// The data buffer as it stands: language, then the label body. The length
// includes the 0 that storing appends.
struct Label {
    uint8_t language;
    uint8_t kind;         // data buffer byte 1
    const uint8_t* text;  // bytes 1 .. n - 1
    uint8_t textSize;     // n - 1
    const uint8_t* id;    // bytes 2 and 3
};

Label CurrentLabel() {
    return {Link.DataBuffer[0], Link.DataBuffer[1], Link.DataBuffer + 1,
            static_cast<uint8_t>(Link.DataLength - 1), Link.DataBuffer + 2};
}

// An icon id is written whole: its two bytes may end on the record's last
// byte, which HasRoom has checked.
uint8_t WriteId(uint8_t key, uint16_t offset, const uint8_t* id) {
    if (WriteStoreBlock(RecordByte(key, offset), id, kIconIdSize) != kStatusOk)
        return kStatusStoreAccess;
    return kStatusOk;
}

// Entry `index` (data at `offset`, `oldSize` bytes) gets the label's text, or
// its icon id, and a new length byte; the data of the entries behind it move
// up to make room. Data pushed past the record are lost; the directory is not
// shortened.
uint8_t GrowEntry(uint8_t key, const Directory& directory, uint8_t index, uint16_t offset,
                  uint8_t oldSize, const Label& label, bool icon) {
    const uint8_t size = icon ? kIconIdSize : label.textSize;
    uint8_t moved[kDataBufferSize + kRecordSize];
    std::memcpy(moved, icon ? label.id : label.text, size);
    // Only the part of the following data that lies inside the record is
    // theirs to move; anything beyond would land past the cut anyway. An
    // entry that itself ends past the record has nothing inside it to move
    // (the room left, 128 - from, would be negative there).
    const uint16_t from = static_cast<uint16_t>(offset + oldSize);
    uint16_t following = FollowingDataSize(directory, index);
    if (from >= kRecordSize)
        following = 0;
    else if (following > kRecordSize - from)
        following = static_cast<uint16_t>(kRecordSize - from);
    if (ReadStoreBlock(RecordByte(key, from), moved + size, following) != kStatusOk)
        return kStatusStoreAccess;

    if (WriteLength(key, index, icon ? kNewIconLength : label.textSize) != kStatusOk)
        return kStatusStoreAccess;
    if (!icon) return WriteCut(key, offset, moved, static_cast<uint16_t>(size + following));
    if (WriteId(key, offset, label.id) != kStatusOk) return kStatusStoreAccess;
    return WriteCut(key, static_cast<uint16_t>(offset + size), moved + size, following);
}

// An icon reference keeps the old entry's size, so the labels behind it stay
// where they are. An entry of fewer than two bytes cannot hold the id: it
// grows to a plain two-byte icon entry instead of overwriting the next
// label's first byte.
uint8_t ReplaceWithIcon(uint8_t key, const Directory& directory, uint8_t index, uint16_t offset,
                        uint8_t oldSize, const Label& label) {
    if (LanguageAvailable(label.language) != kStatusOk) return kStatusLanguageNotAllowed;
    if (!HasRoom(offset, true)) return kStatusIndexRange;
    if (AddUsedLanguage(label.language) != kStatusOk) return kStatusIndexRange;
    if (oldSize < kIconIdSize)
        return GrowEntry(key, directory, index, offset, oldSize, label, true);
    if (WriteLength(key, index, static_cast<uint8_t>(kIconEntryFlag | oldSize)) != kStatusOk)
        return kStatusStoreAccess;
    return WriteId(key, offset, label.id);
}

// A shorter text keeps the entry's size (the bytes behind it keep their old
// contents); a text of the same size or longer grows the entry.
uint8_t ReplaceWithText(uint8_t key, const Directory& directory, uint8_t index, uint16_t offset,
                        uint8_t oldSize, const Label& label) {
    if (FontClassAvailable(label.language) != kStatusOk) return kStatusLanguageNotAllowed;
    if (!HasRoom(offset, false)) return kStatusIndexRange;
    if (AddUsedLanguage(label.language) != kStatusOk) return kStatusIndexRange;
    if (oldSize > label.textSize) {
        if (WriteLength(key, index, oldSize) != kStatusOk) return kStatusStoreAccess;
        return WriteCut(key, offset, label.text, label.textSize);
    }
    return GrowEntry(key, directory, index, offset, oldSize, label, false);
}

uint8_t ReplaceLabel(uint8_t key, const Directory& directory, uint8_t index, uint16_t offset) {
    const Label label = CurrentLabel();
    const uint8_t oldSize = DataSize(directory.Length(index));
    if (label.kind == kIconMarker)
        return ReplaceWithIcon(key, directory, index, offset, oldSize, label);
    return ReplaceWithText(key, directory, index, offset, oldSize, label);
}

// A new entry at `index`, the directory's first free place; the entry behind
// it is marked free so that the directory ends there.
uint8_t AppendLabel(uint8_t key, uint8_t index, uint16_t offset) {
    const Label label = CurrentLabel();
    const bool text = label.kind >= kFirstTextByte;
    const uint8_t allowed =
        text ? FontClassAvailable(label.language) : LanguageAvailable(label.language);
    if (allowed != kStatusOk) return kStatusLanguageNotAllowed;
    if (!HasRoom(offset, !text)) return kStatusIndexRange;
    if (AddUsedLanguage(label.language) != kStatusOk) return kStatusUsedLanguageRefused;

    const uint8_t lengthByte = text ? label.textSize : kNewIconLength;
    if (WriteEntry(key, index, lengthByte, label.language) != kStatusOk) return kStatusStoreAccess;
    if (index + 1 < kLabelEntries && WriteLength(key, index + 1, kFreeEntry) != kStatusOk)
        return kStatusStoreAccess;
    if (text) return WriteCut(key, offset, label.text, label.textSize);
    return WriteId(key, offset, label.id);
}

// The entry's data [offset + size, end) move down to `offset`. Only bytes
// inside the record move.
uint8_t CloseDataGap(uint8_t key, uint16_t offset, uint8_t size, uint16_t end) {
    const uint16_t from = static_cast<uint16_t>(offset + size);
    if (end > kRecordSize) end = kRecordSize;
    if (from >= end) return kStatusOk;
    uint8_t data[kRecordSize];
    const auto count = static_cast<uint16_t>(end - from);
    if (ReadStoreBlock(RecordByte(key, from), data, count) != kStatusOk ||
        WriteStoreBlock(RecordByte(key, offset), data, count) != kStatusOk)
        return kStatusStoreAccess;
    return kStatusOk;
}

}  // namespace

uint8_t StoreSelectedLabels() {
    // The host fills at most 18 bytes, so the appended 0 always has its 19th
    // place. A repeated store finds the buffer full with its own 0 at the end
    // and appends nothing: the buffer is never written past its last place.
    if (Link.DataLength < kDataBufferSize) Link.DataBuffer[Link.DataLength++] = 0;
    const uint8_t language = Link.DataBuffer[0];
    bool cleared = false;
    for (uint8_t bit = 0; bit < 32; ++bit) {
        if ((Link.KeySelectionMask & (uint32_t{1} << bit)) == 0) continue;
        const auto key = static_cast<uint8_t>(bit + 1);
        if (language == 0) {
            // Language 0 stores nothing: it clears the selected keys.
            if (ClearKeyRecord(key) != kStatusOk) return kStatusLabelNotStored;
            cleared = true;
            continue;
        }
        // Longer than the buffer's 19 places (the host cannot get there) is
        // refused rather than read past the buffer's end.
        if (Link.DataLength > kDataBufferSize) return kStatusIndexRange;
        if (key > kKeyCount) return kStatusLabelNotStored;
        if (StoreKeyLabel(key) != kStatusOk) return kStatusLabelNotStored;
    }
    if (cleared && RebuildUsedLanguages() != kStatusOk) return kStatusLabelNotStored;
    return kStatusOk;
}

uint8_t StoreKeyLabel(uint8_t key) {
    // Records 29 to 31 hold the logos and the icon directory, not keys.
    if (!ValidKey(key)) return kStatusIndexRange;
    // A language byte and at least the appended 0; never more than the buffer.
    if (Link.DataLength < 2 || Link.DataLength > kDataBufferSize) return kStatusIndexRange;
    Directory directory;
    if (ReadDirectory(key, directory) != kStatusOk) return kStatusStoreAccess;

    const uint8_t language = Link.DataBuffer[0];
    const EntryPosition at = FindLanguage(directory, language);
    // Entry 0 is the key's default label, which drawing falls back to.
    if (at.index == 0 && language != kDefaultLanguage) return kStatusLabelNotStored;
    if (at.index == kLabelEntries) return kStatusIndexRange;
    if (at.found) return ReplaceLabel(key, directory, at.index, at.offset);
    return AppendLabel(key, at.index, at.offset);
}

uint8_t RemoveLanguageFromKey(uint8_t key, uint8_t language) {
    if (language == kDefaultLanguage) return kStatusUsedLanguageRefused;
    if (!ValidKey(key)) return kStatusIndexRange;  // not a key record
    Directory directory;
    if (ReadDirectory(key, directory) != kStatusOk) return kStatusStoreAccess;
    const EntryPosition at = FindLanguage(directory, language);
    if (!at.found) return kStatusOk;

    // The entries behind the removed one move down one place; the last of
    // them becomes free. `end` is where the last entry's data end.
    const uint8_t size = DataSize(directory.Length(at.index));
    uint16_t end = static_cast<uint16_t>(at.offset + size);
    uint8_t last = at.index;
    for (uint8_t j = static_cast<uint8_t>(at.index + 1); j < kLabelEntries; ++j) {
        if (EndsDirectory(directory.Length(j))) break;
        end = static_cast<uint16_t>(end + DataSize(directory.Length(j)));
        last = j;
    }
    std::memmove(directory.bytes + 2 * at.index, directory.bytes + 2 * at.index + 2,
                 2 * (last - at.index));
    directory.bytes[2 * last] = kFreeEntry;
    directory.bytes[2 * last + 1] = kFreeEntry;
    if (WriteStoreBlock(RecordByte(key, 2 * at.index), directory.bytes + 2 * at.index,
                        static_cast<uint16_t>(2 * (last - at.index + 1))) != kStatusOk)
        return kStatusStoreAccess;

    if (CloseDataGap(key, at.offset, size, end) != kStatusOk) return kStatusStoreAccess;
    RemoveUsedLanguage(language);
    return kStatusOk;
}

uint8_t RemoveLanguageEverywhere(uint8_t language) {
    // Keys handled before a failure keep their change. Language 1 fails on
    // the first key, so it changes nothing.
    for (uint8_t key = 1; key <= kKeyCount; ++key)
        if (RemoveLanguageFromKey(key, language) != kStatusOk) return kRemovalFailed;

    uint8_t icons[kIconSlots * kIconDirectoryEntrySize];
    if (ReadStoreBlock(kIconDirectory, icons, sizeof icons) != kStatusOk) return kRemovalFailed;
    for (uint8_t slot = 0; slot < kIconSlots; ++slot)
        if (icons[slot * kIconDirectoryEntrySize + kIconDirectoryEntrySize - 1] == language)
            FreeIconSlot(slot);

    RebuildAvailableLanguages();
    return kStatusOk;
}

}  // namespace lcdm
