// LCD snapshots: the LCD picture as a Windows BMP file ("Save LCD Image"), or
// in any format a Qt image writer supports (PNG, JPEG, PBM, PPM, ...), chosen
// by the file name's extension.
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

// The formats a snapshot can be written in, by file name extension, lower
// case: "bmp" (EncodeBmp's exact file) and every format an image writer of
// this Qt installation supports ("png", "jpg", "pbm", "ppm", ...).
std::vector<std::string> SnapshotFormats();

// The save dialog's filter: BMP first, then every other format.
std::string SnapshotFilter();

// The file's bytes for `fileName`, in the format its extension names (in any
// case): EncodeBmp's exact file for ".bmp" and for a name without an
// extension ("-", a device), otherwise what that format's image writer
// makes. Nothing, with `error` naming the file and the formats there are,
// for an extension no writer supports or a writer that fails.
std::optional<std::string> EncodeSnapshot(const LcdPicture& picture, const std::string& fileName,
                                          std::string& error);
std::optional<std::string> EncodeSnapshot(const LcdPicture& picture, const std::string& fileName);

// Writes the picture to `fileName` as EncodeSnapshot makes it. An existing
// regular file is replaced whole or not at all; a device or FIFO is written
// into, never replaced; "-" is standard output.
[[nodiscard]] bool SaveSnapshot(const LcdPicture& picture, const std::string& fileName,
                                std::string& error);

}  // namespace panel
