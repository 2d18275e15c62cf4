// Bitmap, text font and icon set items back to the sources a person edits:
// a directive that names a pixel-art or glyph file, and that file's text.
// A candidate is kept only when it assembles to the item's very bytes (a
// picture coded by another coder, a lying header, stray bits past a row's
// width all fail that test), so a disassembly never changes an image.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zorasm {

struct PictureItem {
    std::string lines;  // the item's lines in the main source: its directive and any data after
    std::string file;   // the picture or glyph file the directive names
    std::string art;    // the text this item adds to that file
};

// The item of `length` bytes at `item`, placed at `address`; nothing when no
// such source gives its bytes back.
std::optional<PictureItem> PictureItemOf(const uint8_t* item, size_t length, uint32_t address);

}  // namespace zorasm
