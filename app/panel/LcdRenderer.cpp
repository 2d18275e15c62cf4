#include <cstring>

#include "Lcdm.h"
#include "panel/LcdPicture.h"

namespace panel {

uint8_t NibbleDouble(uint8_t nibble) {
    uint8_t doubled = 0;
    for (int bit = 3; bit >= 0; --bit)
        if (nibble & (1u << bit)) doubled |= static_cast<uint8_t>(0x3u << (2 * bit));
    return doubled;
}

void BuildImageRow(int moduleRow, uint8_t (&row)[kPictureRowBytes]) {
    for (int b = 0; b < lcdm::kFrameBytesPerRow; ++b) {
        const uint8_t f = lcdm::ReadFrameRowByte(moduleRow, b);
        row[2 * b] = static_cast<uint8_t>(~NibbleDouble(f >> 4));
        row[2 * b + 1] = static_cast<uint8_t>(~NibbleDouble(f & 0x0F));
    }
}

void RenderLcd(LcdPicture& picture) {
    // The window's loop stops two rows short of the picture height, so the
    // picture shows module rows 0 to 126 only.
    uint8_t row[kPictureRowBytes];
    for (int i = 0; i < kPictureHeight - 2; ++i) {
        const int moduleRow = i / 2;
        if (moduleRow >= lcdm::kScreenHeight) continue;
        BuildImageRow(moduleRow, row);
        std::memcpy(picture.Row(i), row, kPictureRowBytes);
    }
}

}  // namespace panel
