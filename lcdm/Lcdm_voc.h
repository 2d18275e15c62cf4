// The vocabulary: a chain of numbered, typed items in module memory, its
// lookups, its initialisation and the three small language lists.
#pragma once

#include <cstdint>

namespace lcdm {

// Item types. Key labels (6) are a pseudo-type of the tags: they live in the
// label store, and the chain walk accepts the value without any lookup using it.
enum ItemType : uint8_t {
    kItemHeader = 0,
    kItemProcedure = 1,
    kItemBitmap = 2,
    kItemTextFont = 3,
    kItemString = 4,
    kItemScript = 5,
    kItemKeyLabel = 6,
    kItemIconSet = 7,
};
inline constexpr uint8_t kMaxItemType = 7;  // a type above it invalidates the vocabulary

// Offsets inside an item.
inline constexpr uint16_t kItemHeaderSize = 4;     // length word, number, type
inline constexpr uint16_t kFontClassByte = 12;     // text font: item byte 12
inline constexpr uint16_t kIconSetLanguageByte = 5;  // icon set: item byte 5

// Free entries of the lists hold these markers.
inline constexpr uint8_t kFreeFontClass = 0xFE;
inline constexpr uint8_t kFreeLanguage = 0xFF;

inline constexpr uint8_t kFontClassListSize = 4;
inline constexpr uint8_t kLanguageListSize = 8;

struct FontClassList {
    uint8_t entries[kFontClassListSize];
    uint8_t count;
};
struct LanguageList {
    uint8_t entries[kLanguageListSize];
    uint8_t count;
};

struct VocabularyState {
    uint8_t vocabularyId;       // 0 = no vocabulary initialised
    uint16_t vocabularyStart;   // address of the header item
    uint16_t lastItem;          // last item before the end marker
    uint16_t lastFoundItem;     // most recent FindItem match
    uint16_t currentIconSet;    // body address of the selected icon set; 0 = none
    FontClassList fontClasses;
    LanguageList availableLanguages;
    LanguageList usedLanguages;
};
extern VocabularyState Vocabulary;

// Program-start state: no vocabulary, lists empty (free markers), fonts reset.
void ResetVocabularyState();

uint16_t NextItem(uint16_t address);  // 0xFFFF at the end of the chain
uint8_t ItemNumber(uint16_t address);
uint8_t ItemType(uint16_t address);
uint16_t FindItem(uint8_t number, uint8_t type, uint16_t from);
uint16_t FindVocabularyItem(uint8_t number, uint8_t type);
uint16_t FindTextFont(uint8_t number, uint8_t fontClass);  // body address or 0
uint16_t FindIconSet(uint8_t number, uint8_t language);    // body address or 0
uint16_t NthItem(uint16_t n);
uint16_t InitVocabulary(uint16_t start);  // items walked, or 0 if invalid
uint8_t ResetVocabulary();
uint8_t RescanIconSets();

void AddFontClass(uint8_t fontClass);
bool HasFontClass(uint8_t fontClass);
void ClearFontClasses();

void AddAvailableLanguage(uint8_t language);
bool HasAvailableLanguage(uint8_t language);
void ClearAvailableLanguages();

uint8_t AddUsedLanguage(uint8_t language);  // 0, or 11 when the list is full
uint8_t RemoveUsedLanguage(uint8_t language);
bool HasUsedLanguage(uint8_t language);
void ClearUsedLanguages();

}  // namespace lcdm
