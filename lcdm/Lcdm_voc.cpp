// The vocabulary chain: walking it, looking items up, initialising it.
//
// Every walk steps with NextItem, which either moves strictly forward to an
// address below the end of module memory or ends the chain with 0xFFFF. The
// sum address + length is formed in 32 bits, so a length of 0xFFFF or an
// item running past the last address can never wrap round to an earlier
// item: every walk ends, whatever the memory holds.
#include "Lcdm_voc.h"
#include "Lcdm_fonts.h"
#include "Lcdm_labels.h"
#include "Lcdm_lookup_caches.h"
#include "Lcdm_memory.h"
#include "Lcdm_status.h"

namespace lcdm {

namespace {

inline constexpr uint16_t kEndOfChain = 0xFFFF;

// A length word of 0 or 0xFFFF marks the end of the chain; so does the
// 0xFFFF that NextItem gives when the chain runs out of module memory.
bool IsEndMarker(uint16_t address) {
    if (address >= kModuleMemorySize) return true;
    const uint16_t length = ReadMemoryWord(address);
    return length == 0 || length == 0xFFFF;
}

uint8_t ItemByte(uint16_t address, uint16_t offset) {
    return ReadMemoryByte(static_cast<uint16_t>(address + offset));
}

uint16_t BodyAddress(uint16_t item) {
    return static_cast<uint16_t>(item + kItemHeaderSize);
}

// The header is looked for at address 0 when the start reads 0xFFFF (the
// value an unwritten label store hands back as a start address).
uint16_t HeaderAddress(uint16_t start) {
    return start == 0xFFFF ? 0 : start;
}

// An icon set met on a walk: its language becomes available, and the first
// one becomes the current icon set unless one is selected already.
void NoteIconSet(uint16_t item) {
    AddAvailableLanguage(ItemByte(item, kIconSetLanguageByte));
    if (Vocabulary.currentIconSet == 0) Vocabulary.currentIconSet = BodyAddress(item);
}

// FindItem repeated from each match until the item's byte at `offset` equals
// `value`: the lookup of fonts by class and icon sets by language.
uint16_t FindItemWithByte(uint8_t number, uint8_t type, uint16_t offset, uint8_t value) {
    for (uint16_t item = FindVocabularyItem(number, type); item != 0;
         item = FindItem(number, type, item)) {
        if (ItemByte(item, offset) == value) return BodyAddress(item);
    }
    return 0;
}

}  // namespace

uint16_t NextItem(uint16_t address) {
    const uint16_t length = ReadMemoryWord(address);
    const uint32_t next = static_cast<uint32_t>(address) + length;
    if (length == 0 || next >= kModuleMemorySize) return kEndOfChain;
    return static_cast<uint16_t>(next);
}

uint8_t ItemNumber(uint16_t address) {
    return ItemByte(address, 2);
}

uint8_t ItemType(uint16_t address) {
    return ItemByte(address, 3);
}

uint16_t FindItem(uint8_t number, uint8_t type, uint16_t from) {
    if (Vocabulary.vocabularyId == 0) return 0;
    return FindIndexedItem(number, type, from);
}

uint16_t WalkForItem(uint8_t number, uint8_t type, uint16_t from) {
    for (uint16_t p = NextItem(from); p < kModuleMemorySize; p = NextItem(p)) {
        if (IsEndMarker(p)) return 0;
        // The header item is never returned: a walk from before the
        // vocabulary start carries on past it.
        if (p != Vocabulary.vocabularyStart && ItemNumber(p) == number && ItemType(p) == type) {
            Vocabulary.lastFoundItem = p;
            return p;
        }
    }
    return 0;
}

uint16_t FindVocabularyItem(uint8_t number, uint8_t type) {
    return FindItem(number, type, Vocabulary.vocabularyStart);
}

uint16_t FindTextFont(uint8_t number, uint8_t fontClass) {
    return FindItemWithByte(number, kItemTextFont, kFontClassByte, fontClass);
}

uint16_t FindIconSet(uint8_t number, uint8_t language) {
    return FindItemWithByte(number, kItemIconSet, kIconSetLanguageByte, language);
}

uint16_t NthItem(uint16_t n) {
    if (Vocabulary.vocabularyId == 0) return 0;
    uint16_t p = Vocabulary.vocabularyStart;
    for (uint16_t i = 0; i < n; ++i) {
        p = NextItem(p);
        if (p >= kModuleMemorySize) return 0;
    }
    return p;
}

uint16_t InitVocabulary(uint16_t start) {
    ResetVocabulary();
    start = HeaderAddress(start);
    if (ReadMemoryWord(start) != kItemHeaderSize) {
        ResetVocabulary();
        return 0;
    }
    Vocabulary.vocabularyId = ItemNumber(start);
    Vocabulary.vocabularyStart = start;
    AddFontClass(0);

    uint16_t count = 0;
    for (uint16_t p = start; !IsEndMarker(p); p = NextItem(p)) {
        const uint8_t type = ItemType(p);
        if (type > kMaxItemType) {
            ResetVocabulary();
            return 0;
        }
        if (type == kItemIconSet) NoteIconSet(p);
        if (type == kItemTextFont) AddFontClass(ItemByte(p, kFontClassByte));
        Vocabulary.lastItem = p;
        ++count;
    }
    // Kept in the settings record so that the host can read it back; a
    // refused write is of no consequence here.
    WriteStoreByte(kSettingsVocabularyStart, HighByte(start));
    WriteStoreByte(static_cast<uint16_t>(kSettingsVocabularyStart + 1), LowByte(start));
    return count;
}

uint8_t ResetVocabulary() {
    Vocabulary.vocabularyId = 0;
    Vocabulary.vocabularyStart = 0;
    Vocabulary.lastItem = 0;
    ClearAvailableLanguages();
    ClearFontClasses();
    ClearUsedLanguages();
    // The built-in font as primary font, then no secondary font; this leaves
    // the selected font class at 1.
    SelectFont(0, 0);
    SelectFont(0, 1);
    Vocabulary.currentIconSet = 0;
    return kStatusOk;
}

uint8_t RescanIconSets() {
    const uint16_t start = HeaderAddress(Vocabulary.vocabularyStart);
    if (ReadMemoryWord(start) != kItemHeaderSize) return kStatusAddressRange;
    for (uint16_t p = start; !IsEndMarker(p); p = NextItem(p)) {
        const uint8_t type = ItemType(p);
        // An item type the vocabulary cannot hold: reported as a wrong item
        // type, the code the tags give for a type that is not the expected one.
        if (type > kMaxItemType) return kStatusWrongType;
        if (type == kItemIconSet) NoteIconSet(p);
    }
    return kStatusOk;
}

}  // namespace lcdm
