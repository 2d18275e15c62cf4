// The vocabulary index: for each (number, type) the first item of the chain
// that has it, and for each item the next one with the same pair, so that
// FindItem answers in a few steps however deep the item lies.
//
// The index is the chain exactly as the walk from the vocabulary start meets
// it (lying lengths included), built by that walk, so it answers what the
// walk would: the first match after the item looked from. A lookup from an
// address that is no item of the chain, or past the items the index holds,
// is left to the walk itself.
#include "Lcdm_lookup_caches.h"
#include "Lcdm_memory.h"
#include "Lcdm_voc.h"

namespace lcdm {

namespace {

constexpr uint16_t kNoItem = 0xFFFF;
constexpr uint16_t kSlotMask = kIndexSlots - 1;
static_assert((kIndexSlots & kSlotMask) == 0, "the slot count is a power of two");
static_assert(kIndexSlots >= 2 * kIndexedItems, "at most half the slots are taken");

uint16_t Key(uint8_t number, uint8_t type) {
    return static_cast<uint16_t>(type << 8 | number);
}

uint16_t FirstSlot(uint16_t key) {
    return static_cast<uint16_t>((key * 2654435761u) >> 16) & kSlotMask;
}

// The slot that holds key, or the free slot where it would go.
uint16_t SlotOf(const VocabularyIndex& index, uint16_t key) {
    uint16_t slot = FirstSlot(key);
    while (index.slotFirst[slot] != 0 && index.slotKeys[slot] != key)
        slot = static_cast<uint16_t>((slot + 1) & kSlotMask);
    return slot;
}

// An end marker, or an address past memory, ends the chain (as in the walk).
bool EndsChain(uint16_t address) {
    if (address >= kModuleMemorySize) return true;
    const uint16_t length = ReadMemoryWord(address);
    return length == 0 || length == 0xFFFF;
}

void Build(VocabularyIndex& index, uint16_t start) {
    index.epoch = LookupCaches.memoryEpoch;
    index.start = start;
    index.count = 0;
    index.complete = false;
    for (uint16_t& first : index.slotFirst) first = 0;
    uint16_t p = NextItem(start);
    for (;; p = NextItem(p)) {
        if (EndsChain(p)) {
            index.complete = true;
            return;
        }
        if (index.count == kIndexedItems) return;
        const uint16_t position = index.count++;
        index.items[position] = p;
        index.nextSame[position] = kNoItem;
        const uint16_t key = Key(ItemNumber(p), ItemType(p));
        const uint16_t slot = SlotOf(index, key);
        if (index.slotFirst[slot] == 0) {
            index.slotKeys[slot] = key;
            index.slotFirst[slot] = static_cast<uint16_t>(position + 1);
        } else {
            index.nextSame[index.slotLast[slot]] = position;
        }
        index.slotLast[slot] = position;
    }
}

const VocabularyIndex& CurrentIndex() {
    VocabularyIndex& index = LookupCaches.vocabulary;
    const uint16_t start = Vocabulary.vocabularyStart;
    if (index.epoch != LookupCaches.memoryEpoch || index.start != start) Build(index, start);
    return index;
}

// The position of `item` among the indexed items, or kNoItem.
uint16_t PositionOf(const VocabularyIndex& index, uint16_t item) {
    uint16_t low = 0;
    uint16_t high = index.count;
    while (low < high) {
        const uint16_t middle = static_cast<uint16_t>((low + high) / 2);
        if (index.items[middle] < item)
            low = static_cast<uint16_t>(middle + 1);
        else
            high = middle;
    }
    return low < index.count && index.items[low] == item ? low : kNoItem;
}

}  // namespace

uint16_t FindIndexedItem(uint8_t number, uint8_t type, uint16_t from) {
    const VocabularyIndex& index = CurrentIndex();
    uint16_t position;
    if (from == index.start) {
        const uint16_t slot = SlotOf(index, Key(number, type));
        position = static_cast<uint16_t>(index.slotFirst[slot] - 1);  // kNoItem when free
    } else {
        const uint16_t at = PositionOf(index, from);
        if (at == kNoItem) return WalkForItem(number, type, from);
        position = index.nextSame[at];
    }
    if (position != kNoItem) {
        Vocabulary.lastFoundItem = index.items[position];
        return index.items[position];
    }
    // Matches past the indexed items only a walk finds.
    if (index.complete) return 0;
    return WalkForItem(number, type, index.items[index.count - 1]);
}

}  // namespace lcdm
