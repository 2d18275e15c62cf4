// LCD snapshots: the LCD picture as a Windows BMP file ("Save LCD Image") or,
// for tools, as PNG.
#pragma once

#include <QImage>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "panel/LcdPicture.h"

namespace panel {

// 14-byte file header, 40-byte info header and a two-entry palette.
inline constexpr int kBmpHeaderBytes = 62;
inline constexpr int kBmpFileBytes = kBmpHeaderBytes + kPictureRowBytes * kPictureHeight;  // 4158

// The exact BMP file: 128 x 256, one bit per pixel, palette black then white,
// no compression, rows from the bottom up (16 bytes each, already a multiple
// of four).
std::vector<uint8_t> EncodeBmp(const LcdPicture& picture);

// The same picture as a one-bit image with the palette black, white.
QImage ToQImage(const LcdPicture& picture);

// The file's bytes for `fileName`: PNG when the name ends in ".png" (in any
// case), BMP otherwise. Nothing when the PNG encoder fails.
std::optional<std::string> EncodeSnapshot(const LcdPicture& picture, const std::string& fileName);

// Writes the picture to `fileName` as EncodeSnapshot makes it. An existing
// regular file is replaced whole or not at all; a device or FIFO is written
// into, never replaced; "-" is standard output.
[[nodiscard]] bool SaveSnapshot(const LcdPicture& picture, const std::string& fileName,
                                std::string& error);

}  // namespace panel
