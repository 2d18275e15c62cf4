// Text fonts in pixel art, and their encoding as a module font table.
//
// Source form:
//
//   font kind=proportional first=0x21 last=0x7E cell-width=6 cell-height=15
//        ascent=10 spacing=0 line-gap=0 class=0          (all on one line)
//
//   glyph 0x41 'A'
//   ......
//   ..#...            one block per code from first to last, in order; each
//   ...               draws the whole cell: cell-height rows, and a line of
//   ------            '-' after `ascent` rows, where the cursor line lies
//   ...
//
// kind is proportional (each glyph's width is the width of its drawing, 1 to
// 16 pixels, gap columns included) or fixed (every drawing is cell-width
// wide). A glyph line names its code and, for printable ASCII codes, the
// character in quotes, which must match the code.
//
// Encoding: the blank rows above a glyph's first dark row become its "blank
// rows above" (at most 15) and the rows from there to its last dark row are
// stored; a blank glyph stores one blank row. `above=N rows=N` on a glyph line
// fix that layout by hand. To reach an exact table size the encoder pads
// deterministically, glyph by glyph in code order, skipping hand-fixed ones:
// first it turns blank rows above into stored blank rows (which also stops
// the glyph painting rows below its cell), then it stores blank rows below
// the drawing, up to the cell height. It fails if the glyphs need more than
// the size, or cannot take exactly the bytes left over.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "pixelart/document.h"

namespace pixelart {

struct FontHeader {
    uint8_t kind = 0;  // 128 proportional, 0 fixed
    uint8_t first = 0;
    uint8_t last = 0;
    uint8_t cellWidth = 0;
    uint8_t cellHeight = 0;
    uint8_t ascent = 0;
    uint8_t spacing = 0;
    uint8_t lineGap = 0;
    uint8_t fontClass = 0;

    bool proportional() const { return kind == 128; }
};

struct Glyph {
    uint8_t code = 0;
    std::string label;  // the quoted character, if any
    int line = 0;
    Picture picture;
    std::optional<int> above;  // layout fixed by hand
    std::optional<int> rows;
};

struct FontSource {
    std::string file;
    int line = 0;  // of the font directive
    FontHeader header;
    std::vector<Glyph> glyphs;  // first..last, in order
};

// Interprets a document as a font; throws Error naming the offending line.
FontSource ParseFont(const Document& document);
FontSource ReadFont(const std::string& path);

struct GlyphLayout {
    int blankAbove = 0;
    int storedRows = 1;
};

struct EncodedFont {
    std::vector<uint8_t> bytes;        // header then glyphs
    std::vector<GlyphLayout> layouts;  // one per glyph
    std::vector<size_t> glyphOffsets;  // where each glyph starts in bytes
};

// Encodes the font table; with a size, pads to exactly that many bytes.
EncodedFont EncodeFont(const FontSource& font, std::optional<size_t> size = std::nullopt);

// Bytes one stored row takes as the module's glyph walk counts it, and as
// its drawing reads it. They differ for fixed fonts of cell width 8 and 16,
// whose glyphs therefore end with one padding byte per stored row.
int WalkBytesPerRow(const FontHeader& header, const Glyph& glyph);
int DrawnBytesPerRow(const FontHeader& header, const Glyph& glyph);

}  // namespace pixelart
