// Small routines shared by every unit of the module.
#include "Lcdm_common.h"

namespace lcdm {

uint8_t HexDigit(uint8_t value) {
    // Only the low nibble counts, so a value above 15 still gives a digit.
    const uint8_t nibble = static_cast<uint8_t>(value & 0x0F);
    return static_cast<uint8_t>(nibble < 10 ? '0' + nibble : 'A' + (nibble - 10));
}

uint8_t FontClassOf(uint8_t language) {
    // Lowest language byte of each font class 1..10; class 0 starts at 0.
    static constexpr uint8_t kClassStarts[] = {32, 64, 128, 144, 160, 168, 176, 184, 192, 200};
    uint8_t fontClass = 0;
    for (const uint8_t start : kClassStarts) {
        if (language >= start) {
            ++fontClass;
        }
    }
    return fontClass;
}

}  // namespace lcdm
