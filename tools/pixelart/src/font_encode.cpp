// Encodes a font source as the module's font table: a 9-byte header, then
// each glyph as its layout byte, its width byte (proportional fonts only) and
// its stored rows, most significant bit leftmost.
#include "pixelart/error.h"
#include "pixelart/font.h"

namespace pixelart {

namespace {

constexpr int kMaxBlankAbove = 15;
constexpr int kMaxStoredRows = 16;

int GlyphWidth(const FontHeader& header, const Glyph& glyph) {
    return header.proportional() ? glyph.picture.width : header.cellWidth;
}

// Blank rows above the first dark row, stored rows down to the last one.
GlyphLayout TightLayout(const FontSource& font, const Glyph& glyph) {
    if (glyph.above) return GlyphLayout{*glyph.above, *glyph.rows};
    const Picture& picture = glyph.picture;
    int top = -1;
    int bottom = -1;
    for (int y = 0; y < picture.height(); ++y) {
        if (picture.RowBlank(y)) continue;
        if (top < 0) top = y;
        bottom = y;
    }
    // A blank glyph stores one blank row and paints exactly its cell.
    if (top < 0) return GlyphLayout{0, 1};
    const int above = top < kMaxBlankAbove ? top : kMaxBlankAbove;
    const int rows = bottom - above + 1;
    if (rows > kMaxStoredRows)
        throw Error(font.file, glyph.line,
                    "glyph " + Hex(glyph.code) + ": its dark rows run from row " +
                        std::to_string(top) + " to row " + std::to_string(bottom) +
                        ", which needs " + std::to_string(rows) + " stored rows below " +
                        std::to_string(above) + " blank ones (at most 16 can be stored)");
    return GlyphLayout{above, rows};
}

size_t GlyphBytes(const FontHeader& header, const Glyph& glyph, const GlyphLayout& layout) {
    const size_t lead = header.proportional() ? 2 : 1;
    return lead + static_cast<size_t>(layout.storedRows * WalkBytesPerRow(header, glyph));
}

size_t TableBytes(const FontSource& font, const std::vector<GlyphLayout>& layouts) {
    size_t total = 9;
    for (size_t i = 0; i < layouts.size(); ++i)
        total += GlyphBytes(font.header, font.glyphs[i], layouts[i]);
    return total;
}

// Spends `left` bytes on stored blank rows, glyph by glyph in code order:
// first the blank rows above become stored rows, then blank rows below the
// drawing are stored, up to the cell height.
size_t Pad(const FontSource& font, std::vector<GlyphLayout>& layouts, size_t left) {
    for (int pass = 0; pass < 2; ++pass) {
        for (size_t i = 0; i < layouts.size(); ++i) {
            const Glyph& glyph = font.glyphs[i];
            if (glyph.above) continue;
            GlyphLayout& layout = layouts[i];
            const size_t row = static_cast<size_t>(WalkBytesPerRow(font.header, glyph));
            auto canGrow = [&] {
                if (left < row || layout.storedRows >= kMaxStoredRows) return false;
                return pass == 0 ? layout.blankAbove > 0
                                 : layout.blankAbove + layout.storedRows < font.header.cellHeight;
            };
            while (canGrow()) {
                if (pass == 0) --layout.blankAbove;
                ++layout.storedRows;
                left -= row;
            }
        }
    }
    return left;
}

void AppendGlyph(const FontHeader& header, const Glyph& glyph, const GlyphLayout& layout,
                 std::vector<uint8_t>& out) {
    const int width = GlyphWidth(header, glyph);
    out.push_back(static_cast<uint8_t>((layout.blankAbove << 4) | (layout.storedRows - 1)));
    if (header.proportional()) out.push_back(static_cast<uint8_t>(width));
    const int drawn = DrawnBytesPerRow(header, glyph);
    for (int r = 0; r < layout.storedRows; ++r) {
        const int y = layout.blankAbove + r;
        for (int b = 0; b < drawn; ++b) {
            uint8_t byte = 0;
            for (int bit = 0; bit < 8; ++bit) {
                const int x = b * 8 + bit;
                if (x < width && glyph.picture.At(x, y)) byte |= static_cast<uint8_t>(0x80 >> bit);
            }
            out.push_back(byte);
        }
    }
    // The walk counts more bytes per row than the drawing reads (fixed fonts
    // of cell width 8 or 16): the difference follows the rows as padding.
    const int padding = layout.storedRows * (WalkBytesPerRow(header, glyph) - drawn);
    out.insert(out.end(), static_cast<size_t>(padding), 0);
}

}  // namespace

int WalkBytesPerRow(const FontHeader& header, const Glyph& glyph) {
    if (header.proportional()) return (glyph.picture.width - 1) / 8 + 1;
    return header.cellWidth / 8 + 1;
}

int DrawnBytesPerRow(const FontHeader& header, const Glyph& glyph) {
    return GlyphWidth(header, glyph) <= 8 ? 1 : 2;
}

EncodedFont EncodeFont(const FontSource& font, std::optional<size_t> size) {
    EncodedFont encoded;
    for (const Glyph& glyph : font.glyphs) encoded.layouts.push_back(TightLayout(font, glyph));
    const size_t tight = TableBytes(font, encoded.layouts);
    if (size && tight > *size)
        throw Error(font.file, font.line,
                    "the glyphs need " + std::to_string(tight) +
                        " bytes, more than the table size " + std::to_string(*size) +
                        " (draw them smaller or give a larger size)");
    if (size) {
        const size_t left = Pad(font, encoded.layouts, *size - tight);
        if (left != 0)
            throw Error(font.file, font.line,
                        "cannot fill the table to exactly " + std::to_string(*size) +
                            " bytes: " + std::to_string(left) +
                            " bytes are left over once every glyph stores its whole cell");
    }
    const FontHeader& h = font.header;
    encoded.bytes = {h.kind,   h.first,   h.last,    h.cellWidth, h.cellHeight,
                     h.ascent, h.spacing, h.lineGap, h.fontClass};
    for (size_t i = 0; i < font.glyphs.size(); ++i) {
        encoded.glyphOffsets.push_back(encoded.bytes.size());
        AppendGlyph(h, font.glyphs[i], encoded.layouts[i], encoded.bytes);
    }
    return encoded;
}

}  // namespace pixelart
