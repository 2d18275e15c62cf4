#include "ChainWalk.h"

#include "Lcdm.h"

namespace services {

std::vector<ChainItem> WalkChain(uint16_t start) {
    std::vector<ChainItem> items;
    if (lcdm::ReadMemoryWord(start) != lcdm::kItemHeaderSize) return items;
    // NextItem only moves forward and gives 0xFFFF past the memory's end,
    // where a read gives 0, so the walk always ends.
    for (uint16_t p = start;;) {
        const uint16_t length = lcdm::ReadMemoryWord(p);
        if (length == 0 || length == 0xFFFF) break;
        const uint8_t type = lcdm::ItemType(p);
        if (type > lcdm::kMaxItemType) return {};
        items.push_back({p, length, lcdm::ItemNumber(p), type});
        p = lcdm::NextItem(p);
    }
    return items;
}

}  // namespace services
