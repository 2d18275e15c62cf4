// Bitmaps and icons in pixel art, and their encodings as the module's image
// header (bitmap items) and icon record (icon sets).
//
// Source form, any number of pictures per file, in any order:
//
//   bitmap 20 'keys 1..4' compression=1     a bitmap item's picture: its item
//   #########........                       number, an optional label, and
//   ...                                     compression 0 (raw, the default),
//                                           1 or 2 (nibble-coded)
//   icon 1 'Kitchen' y-offset=10            an icon record: its 16-bit code,
//   ........                                an optional label and the rows
//   ...                                     above the drawing position
//
// Both are 1..64 pixels wide and 1..128 rows high. A baseline of '-' may be
// drawn in either: in an icon it marks the drawing position (the y-offset is
// the rows above it); in a bitmap it is only a guide for the eye.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "pixelart/document.h"

namespace pixelart {

struct BitmapSource {
    int number = 0;  // the bitmap item's number, 0..255
    std::string label;
    int compression = 0;  // 0 raw rows, 1 or 2 rows of history
    int line = 0;
    Picture picture;
};

struct IconSource {
    int code = 0;  // 0..65535
    std::string label;
    int yOffset = 0;  // 0..255
    int line = 0;
    Picture picture;
};

struct PictureSet {
    std::string file;
    std::vector<BitmapSource> bitmaps;  // in file order
    std::vector<IconSource> icons;      // in file order

    // The bitmap with that number, or nullptr.
    const BitmapSource* FindBitmap(int number) const;
};

// Interprets a document of bitmap and icon pictures; throws Error naming the
// offending line.
PictureSet ParsePictures(const Document& document);

inline constexpr int kMaxPictureWidth = 64;
inline constexpr int kMaxPictureHeight = 128;
inline constexpr size_t kImageHeaderSize = 8;
inline constexpr size_t kIconHeaderSize = 8;

// Bytes per row of a raw picture: first pixel in the most significant bit,
// the bits past the width 0.
inline int RowBytes(int width) {
    return (width + 7) / 8;
}
std::vector<uint8_t> RawRows(const Picture& picture);

// The 8-byte image header of a bitmap item: compression, dataLength (the
// bytes of raw rows or codes that follow it), width, height and a reserved 0.
std::vector<uint8_t> ImageHeader(int compression, size_t dataLength, const Picture& picture);

// A whole icon record: header (length, code, width, height, yOffset, 0) and
// raw rows.
std::vector<uint8_t> EncodeIcon(const IconSource& icon);

}  // namespace pixelart
