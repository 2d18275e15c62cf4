// The label store's defaults and its language bookkeeping: the "Button <k>"
// labels every key starts with, clearing one key, and rebuilding the used- and
// available-language lists from what the store holds.
#include <cstring>

#include "Lcdm_labels.h"
#include "Lcdm_status.h"
#include "Lcdm_voc.h"

namespace lcdm {

namespace {

inline constexpr uint8_t kDefaultLanguage = 1;
// Label directory plus the first 16 data bytes: what initialisation writes
// and what clearing a key wipes.
inline constexpr uint16_t kKeyHeadSize = 2 * kLabelDirectorySize;
inline constexpr uint8_t kIconLanguageByte = 7;

// The default key head: entry 0 is a 9-byte text in language 1, the other
// seven entries are free; the data are "Button ", two bytes for the key
// number and nine bytes of 255.
struct KeyHead {
    uint8_t bytes[kKeyHeadSize];
};

KeyHead DefaultKeyHead(uint8_t key) {
    KeyHead head;
    std::memset(head.bytes, 0xFF, sizeof head.bytes);
    head.bytes[0] = 9;
    head.bytes[1] = kDefaultLanguage;
    std::memcpy(head.bytes + kLabelDirectorySize, "Button ", 7);
    uint8_t* number = head.bytes + kLabelDirectorySize + 7;
    if (key < 10) {
        number[0] = static_cast<uint8_t>('0' + key);
        number[1] = 0;  // the text ends inside its 9 bytes
    } else {
        // Two digits fill the 9 bytes exactly: no 0 byte follows.
        number[0] = static_cast<uint8_t>('0' + key / 10);
        number[1] = static_cast<uint8_t>('0' + key % 10);
    }
    return head;
}

bool EndsDirectory(uint8_t lengthByte) {
    return lengthByte == 0 || lengthByte == kFreeEntry;
}

}  // namespace

void InitLabelStore() {
    for (uint8_t key = 1; key <= kKeyCount; ++key) {
        const KeyHead head = DefaultKeyHead(key);
        // Offsets 32 to 127 of each record keep whatever they hold.
        WriteStoreBlock(RecordAddress(key), head.bytes, kKeyHeadSize);
    }
    // The icon directory is filled with eight copies of the default label
    // directory: every slot's language byte is then 255, so all are free.
    const KeyHead head = DefaultKeyHead(1);
    for (uint16_t copy = 0; copy < 8; ++copy)
        WriteStoreBlock(static_cast<uint16_t>(kIconDirectory + copy * kLabelDirectorySize),
                        head.bytes, kLabelDirectorySize);

    ClearUsedLanguages();
    AddUsedLanguage(kDefaultLanguage);
    ClearAvailableLanguages();
    RescanIconSets();
}

uint8_t ClearKeyRecord(uint8_t key) {
    if (key == 0 || key > kKeyCount) return kStatusIndexRange;
    uint8_t freed[kKeyHeadSize];
    std::memset(freed, 0xFF, sizeof freed);
    if (WriteStoreBlock(RecordAddress(key), freed, kKeyHeadSize) != kStatusOk)
        return kStatusStoreAccess;
    return kStatusOk;
}

uint8_t RebuildUsedLanguages() {
    ClearUsedLanguages();
    for (uint8_t key = 1; key <= kKeyCount; ++key) {
        uint8_t directory[kLabelDirectorySize];
        if (ReadStoreBlock(RecordAddress(key), directory, kLabelDirectorySize) != kStatusOk)
            return kStatusStoreAccess;
        // All eight entries are looked at: a free entry in the middle does
        // not hide the ones behind it.
        for (uint8_t i = 0; i < kLabelEntries; ++i) {
            if (EndsDirectory(directory[2 * i])) continue;
            if (AddUsedLanguage(directory[2 * i + 1]) != kStatusOk) return kStatusIndexRange;
        }
    }
    return kStatusOk;
}

void AddDynamicIconLanguages() {
    for (uint8_t slot = 0; slot < kIconSlots; ++slot) {
        const uint8_t language = ReadStoreByte(static_cast<uint16_t>(
            kIconDirectory + slot * kIconDirectoryEntrySize + kIconLanguageByte));
        // 255 is a free slot; 0 is the store's unwritten state, not a language.
        if (language != 0 && language != kFreeLanguage) AddAvailableLanguage(language);
    }
}

void RebuildAvailableLanguages() {
    ClearAvailableLanguages();
    // Without a vocabulary the rescan finds no icon sets; the dynamic icons'
    // languages are added all the same.
    RescanIconSets();
    AddDynamicIconLanguages();
}

}  // namespace lcdm
