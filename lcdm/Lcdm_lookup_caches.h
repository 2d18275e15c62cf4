// The lookup caches: the vocabulary index and the glyph addresses of recently
// used fonts, both built from module memory when a lookup needs them. Every
// write to memory moves the memory epoch on, which makes what was built
// before stale; the vocabulary index is also tied to the vocabulary start it
// was built from. A cached answer is therefore always the one a walk of the
// memory as it is now would give.
#pragma once

#include <cstdint>

#include "Lcdm_config.h"
#include "Lcdm_fonts.h"

namespace lcdm {

struct VocabularyIndex {
    uint64_t epoch;                    // memory epoch it was built at; 0 = never built
    uint16_t start;                    // the vocabulary start it walked from
    uint16_t count;                    // items indexed, in chain order after the header
    bool complete;                     // the chain ended within the index
    uint16_t items[kIndexedItems];     // their addresses, rising
    uint16_t nextSame[kIndexedItems];  // position of the next item of the same number and type
    uint16_t slotKeys[kIndexSlots];    // type << 8 | number
    uint16_t slotFirst[kIndexSlots];   // position of its first item + 1; 0 = free slot
    uint16_t slotLast[kIndexSlots];    // position of its last item so far (while building)
};

struct FontGlyphs {
    uint64_t epoch;        // memory epoch it was built at; 0 = free slot
    uint16_t font;         // header address; 0 = the built-in font
    uint16_t known;        // glyph addresses known for codes first .. first + known - 1
    uint16_t glyphs[256];  // by code
};

struct LookupCacheState {
    uint64_t memoryEpoch;  // moves on with every write to module memory
    VocabularyIndex vocabulary;
    FontGlyphs fonts[kCachedFonts];
    uint8_t nextFont;  // the slot the next font takes
};
extern LookupCacheState LookupCaches;

void ResetLookupCaches();

// The vocabulary walk FindItem answers from the index; the walk itself for
// what the index does not hold.
uint16_t FindIndexedItem(uint8_t number, uint8_t type, uint16_t from);
uint16_t WalkForItem(uint8_t number, uint8_t type, uint16_t from);

}  // namespace lcdm
