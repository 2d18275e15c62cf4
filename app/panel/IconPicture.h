// The dynamic icon picture: what the "Dynamic Icon" group holds and sends.
// One bit per pixel, 0 = black and 1 = white, rows from the top, the leftmost
// pixel in the top bit, ceil(width / 8) bytes a row.
#pragma once

#include <QImage>
#include <cstdint>
#include <vector>

namespace panel {

// The largest icon a key label takes, as the group's labels tell the user.
inline constexpr int kIconMaxWidth = 62;
inline constexpr int kIconMaxHeight = 16;

class IconPicture {
public:
    IconPicture() = default;
    // All white.
    IconPicture(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }
    int RowBytes() const { return (width_ + 7) / 8; }
    bool IsEmpty() const { return width_ == 0 || height_ == 0; }

    const uint8_t* Row(int y) const { return bits_.data() + y * RowBytes(); }
    bool IsBlack(int x, int y) const { return (Row(y)[x / 8] & (0x80 >> (x % 8))) == 0; }
    void SetBlack(int x, int y, bool black);

    bool operator==(const IconPicture&) const = default;

private:
    int width_ = 0;
    int height_ = 0;
    // The bits past the last pixel of a row are white (1), so they reach the
    // module as 0: no dark pixels where the icon has none.
    std::vector<uint8_t> bits_;
};

// A picture of any format made one bit: each pixel is laid over white
// (transparent parts become white) and is black when its brightness is below
// the middle grey, white otherwise. Deciding by colour, not by palette index,
// keeps black black and white white whatever order a file's palette has.
IconPicture MakeMonochrome(const QImage& image);

// Before sending: a picture wider than 62 or higher than 16 pixels becomes
// exactly 62 x 16; the top left part stays and what is added is white. A
// picture that fits already is left as it is.
void FitIconSize(IconPicture& picture);

// The picture as a one-bit image with the palette black, white (for showing).
QImage ToQImage(const IconPicture& picture);

}  // namespace panel
