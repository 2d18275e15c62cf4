// The LCD picture: the module's 64 x 128 frame buffer drawn at twice the size,
// 128 x 256 pixels at one bit each, palette index 0 black and 1 white, rows
// from the top, 16 bytes a row with the leftmost pixel in the top bit.
#pragma once

#include <array>
#include <cstdint>

namespace panel {

inline constexpr int kPictureWidth = 128;
inline constexpr int kPictureHeight = 256;
inline constexpr int kPictureRowBytes = kPictureWidth / 8;

class LcdPicture {
public:
    // A new picture is all white, as the window's bitmap is set up.
    LcdPicture() { bits_.fill(0xFF); }

    uint8_t* Row(int row) { return bits_.data() + row * kPictureRowBytes; }
    const uint8_t* Row(int row) const { return bits_.data() + row * kPictureRowBytes; }
    // Palette index 0 is black: a lit LCD pixel.
    bool IsBlack(int x, int y) const { return (Row(y)[x / 8] & (0x80 >> (x % 8))) == 0; }

private:
    std::array<uint8_t, kPictureRowBytes * kPictureHeight> bits_;
};

// A 4-bit value as a byte in which each of its bits, top first, fills two
// adjacent bit positions: 0b1010 becomes 0b11001100.
uint8_t NibbleDouble(uint8_t nibble);

// Picture row bytes for module row `moduleRow`: each frame byte becomes two,
// each pixel two wide, inverted so that a lit pixel is palette index 0.
void BuildImageRow(int moduleRow, uint8_t (&row)[kPictureRowBytes]);

// Redraws the picture from the frame buffer. Picture rows 254 and 255 are
// never drawn, so module row 127 does not show; they keep what they held.
void RenderLcd(LcdPicture& picture);

}  // namespace panel
