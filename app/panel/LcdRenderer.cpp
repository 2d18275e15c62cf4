#include <cstring>

#include "Lcdm.h"
#include "panel/LcdPicture.h"

namespace panel {

namespace {

// Each frame byte as the two picture bytes it becomes: every pixel doubled
// and inverted (a lit pixel is palette index 0), high byte first.
struct DoubledBytes {
    uint8_t bytes[256][2];
};

constexpr uint8_t Doubled(uint8_t nibble) {
    uint8_t doubled = 0;
    for (int bit = 3; bit >= 0; --bit)
        if (nibble & (1u << bit)) doubled |= static_cast<uint8_t>(0x3u << (2 * bit));
    return doubled;
}

constexpr DoubledBytes BuildDoubledBytes() {
    DoubledBytes table{};
    for (int f = 0; f < 256; ++f) {
        table.bytes[f][0] = static_cast<uint8_t>(~Doubled(static_cast<uint8_t>(f >> 4)));
        table.bytes[f][1] = static_cast<uint8_t>(~Doubled(static_cast<uint8_t>(f & 0x0F)));
    }
    return table;
}

constexpr DoubledBytes kDoubledBytes = BuildDoubledBytes();

// A row of frame bytes off the screen reads as blank.
constexpr uint8_t kBlankRow[lcdm::kFrameBytesPerRow] = {};

void BuildRow(const uint8_t* frame, uint8_t* row) {
    for (int b = 0; b < lcdm::kFrameBytesPerRow; ++b)
        std::memcpy(row + 2 * b, kDoubledBytes.bytes[frame[b]], 2);
}

}  // namespace

uint8_t NibbleDouble(uint8_t nibble) {
    return Doubled(nibble & 0x0F);
}

void BuildImageRow(int moduleRow, uint8_t (&row)[kPictureRowBytes]) {
    const bool onScreen = moduleRow >= 0 && moduleRow < lcdm::kScreenHeight;
    BuildRow(
        onScreen ? lcdm::Graphics.FrameBuffer + moduleRow * lcdm::kFrameBytesPerRow : kBlankRow,
        row);
}

void RenderLcd(LcdPicture& picture) {
    // The window's loop stops two rows short of the picture height, so the
    // picture shows module rows 0 to 126 only. Each is converted once and
    // its picture row copied below it.
    for (int moduleRow = 0; moduleRow < kPictureHeight / 2 - 1; ++moduleRow) {
        uint8_t* row = picture.Row(2 * moduleRow);
        BuildRow(lcdm::Graphics.FrameBuffer + moduleRow * lcdm::kFrameBytesPerRow, row);
        std::memcpy(picture.Row(2 * moduleRow + 1), row, kPictureRowBytes);
    }
}

}  // namespace panel
