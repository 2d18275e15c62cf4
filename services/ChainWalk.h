// The items of a vocabulary chain as the module's initialisation walks them.
#pragma once

#include <cstdint>
#include <vector>

namespace services {

struct ChainItem {
    uint16_t address;
    uint16_t length;
    uint8_t number;
    uint8_t type;
};

// The items from `start` up to the end marker, header included. Empty when
// `start` holds no header item of length 4 or an item's type is above 7: the
// module then refuses the whole vocabulary.
std::vector<ChainItem> WalkChain(uint16_t start);

}  // namespace services
