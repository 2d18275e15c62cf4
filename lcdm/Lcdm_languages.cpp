// The three small lists kept beside the vocabulary: the font classes its text
// fonts serve, the languages for which icons exist, and the languages the key
// labels use.
//
// Each list is packed at the front, entries[0 .. count - 1]; the entries
// behind hold the list's free marker. A value equal to the free marker is
// never stored, because it would read back as an empty entry and be lost by
// the next removal.
#include "Lcdm_status.h"
#include "Lcdm_voc.h"

namespace lcdm {

namespace {

bool Contains(const uint8_t* entries, uint8_t count, uint8_t value) {
    for (uint8_t i = 0; i < count; ++i)
        if (entries[i] == value) return true;
    return false;
}

// Appends value unless present; false only when there is no room for it.
bool Append(uint8_t* entries, uint8_t& count, uint8_t capacity, uint8_t value) {
    if (Contains(entries, count, value)) return true;
    if (count >= capacity) return false;
    entries[count++] = value;
    return true;
}

void Clear(uint8_t* entries, uint8_t& count, uint8_t capacity, uint8_t freeMarker) {
    for (uint8_t i = 0; i < capacity; ++i) entries[i] = freeMarker;
    count = 0;
}

}  // namespace

// ------------------------------------------------------------ font classes ---

void AddFontClass(uint8_t fontClass) {
    FontClassList& list = Vocabulary.fontClasses;
    if (fontClass == kFreeFontClass) return;
    Append(list.entries, list.count, kFontClassListSize, fontClass);  // full: ignored
}

bool HasFontClass(uint8_t fontClass) {
    const FontClassList& list = Vocabulary.fontClasses;
    return Contains(list.entries, list.count, fontClass);
}

void ClearFontClasses() {
    FontClassList& list = Vocabulary.fontClasses;
    Clear(list.entries, list.count, kFontClassListSize, kFreeFontClass);
}

// ----------------------------------------------------- available languages ---

void AddAvailableLanguage(uint8_t language) {
    LanguageList& list = Vocabulary.availableLanguages;
    if (language == kFreeLanguage) return;
    Append(list.entries, list.count, kLanguageListSize, language);  // full: ignored
}

bool HasAvailableLanguage(uint8_t language) {
    const LanguageList& list = Vocabulary.availableLanguages;
    return Contains(list.entries, list.count, language);
}

void ClearAvailableLanguages() {
    LanguageList& list = Vocabulary.availableLanguages;
    Clear(list.entries, list.count, kLanguageListSize, kFreeLanguage);
}

// ---------------------------------------------------------- used languages ---

uint8_t AddUsedLanguage(uint8_t language) {
    LanguageList& list = Vocabulary.usedLanguages;
    // 255 is the free marker, not a language the list can hold: refused as a
    // number out of range rather than reported as stored.
    if (language == kFreeLanguage) return kStatusIndexRange;
    if (!Append(list.entries, list.count, kLanguageListSize, language)) return kStatusIndexRange;
    return kStatusOk;
}

// One pass over all eight entries: the matching entry is freed, and every
// free entry pulls its successor forward, so the one gap a packed list can
// get moves to the back.
uint8_t RemoveUsedLanguage(uint8_t language) {
    LanguageList& list = Vocabulary.usedLanguages;
    uint8_t* e = list.entries;
    for (uint8_t i = 0; i < kLanguageListSize; ++i) {
        if (e[i] == language) e[i] = kFreeLanguage;
        const bool last = i + 1 == kLanguageListSize;
        if (e[i] == kFreeLanguage && !last && e[i + 1] != kFreeLanguage) {
            e[i] = e[i + 1];
            e[i + 1] = kFreeLanguage;
        }
    }
    list.count = 0;
    for (uint8_t i = 0; i < kLanguageListSize; ++i)
        if (e[i] != kFreeLanguage) ++list.count;
    return kStatusOk;
}

bool HasUsedLanguage(uint8_t language) {
    const LanguageList& list = Vocabulary.usedLanguages;
    return Contains(list.entries, list.count, language);
}

void ClearUsedLanguages() {
    LanguageList& list = Vocabulary.usedLanguages;
    Clear(list.entries, list.count, kLanguageListSize, kFreeLanguage);
}

}  // namespace lcdm
