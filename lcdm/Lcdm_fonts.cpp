// Text fonts and character drawing.
//
// A font is read wherever it lives through ReadFontByte: address 0 stands for
// the built-in table (offsets then count from its start), any other address
// is a font header in module memory. Every read is bounded, so a malformed
// font yields zero bytes and blank rows, never a read outside an array.
#include "Lcdm_fonts.h"
#include "Lcdm_lookup_caches.h"
#include "Lcdm_memory.h"

namespace lcdm {

namespace {

// A byte of the font whose header is at fontAddress (0 = the built-in font).
uint8_t FontHeaderByte(uint16_t fontAddress, uint8_t offset) {
    return ReadFontByte(static_cast<uint16_t>(fontAddress + offset), fontAddress == 0);
}

// Bytes one glyph of the font at fontAddress occupies, as the walk counts them.
//
// A fixed-width font counts (cell width / 8) + 1 bytes per row, one more than
// the drawing reads when the cell width is 8 or 16. We keep that count, so a
// fixed-width font of cell width 8 (or 16) stores its rows one (or two) bytes
// each and then one padding byte per row at the end of the glyph; fonts
// built for the module rely on this layout, so the walk must not change.
uint16_t GlyphSize(uint16_t fontAddress, uint16_t glyph) {
    const bool builtIn = fontAddress == 0;
    const int rows = (ReadFontByte(glyph, builtIn) & 0x0F) + 1;
    if (FontHeaderByte(fontAddress, kFontKind) == kProportionalFont) {
        // A width byte of 0 is malformed; the integer division truncates
        // toward zero, so it counts as one byte per row like widths 1..8.
        const int width = ReadFontByte(static_cast<uint16_t>(glyph + 1), builtIn);
        const int bytesPerRow = (width - 1) / 8 + 1;
        return static_cast<uint16_t>(rows * bytesPerRow + 2);
    }
    const int bytesPerRow = FontHeaderByte(fontAddress, kFontCellWidth) / 8 + 1;
    return static_cast<uint16_t>(rows * bytesPerRow + 1);
}

// The glyph addresses of the font at fontAddress, as far as they are known.
// A font in module memory is known again after memory changes; the built-in
// table never changes.
FontGlyphs& GlyphsOf(uint16_t fontAddress) {
    const uint64_t epoch = LookupCaches.memoryEpoch;
    for (FontGlyphs& slot : LookupCaches.fonts)
        if (slot.epoch != 0 && slot.font == fontAddress &&
            (fontAddress == 0 || slot.epoch == epoch))
            return slot;
    FontGlyphs& slot = LookupCaches.fonts[LookupCaches.nextFont];
    LookupCaches.nextFont = static_cast<uint8_t>((LookupCaches.nextFont + 1) % kCachedFonts);
    slot.epoch = epoch;
    slot.font = fontAddress;
    slot.known = 0;
    return slot;
}

// The glyph for code (which the caller has checked lies in the font's range)
// where the walk from the font's first glyph, glyph by glyph, reaches it.
// The walk is made once per font and code and its answers kept.
GlyphLocation LookInFont(uint16_t fontAddress, uint8_t code) {
    FontGlyphs& font = GlyphsOf(fontAddress);
    const uint8_t first = FontHeaderByte(fontAddress, kFontFirst);
    for (int known = font.known; first + known <= code; ++known) {
        const int at = first + known;
        font.glyphs[at] = known == 0
                              ? static_cast<uint16_t>(fontAddress + kFontGlyphs)
                              : static_cast<uint16_t>(font.glyphs[at - 1] +
                                                      GlyphSize(fontAddress, font.glyphs[at - 1]));
        font.known = static_cast<uint16_t>(known + 1);
    }
    return GlyphLocation{font.glyphs[code], fontAddress == 0, true};
}

bool InRange(uint16_t fontAddress, uint8_t code) {
    return code >= FontHeaderByte(fontAddress, kFontFirst) &&
           code <= FontHeaderByte(fontAddress, kFontLast);
}

// A cell row of `width` pixels from x: the glyph row's one or two bytes, then
// blank pixels to the cell's width (a glyph row is at most 16 pixels).
void CellRow(int x, int row, int width, uint8_t first, uint8_t second) {
    PutRowPixels(x, row, width, uint64_t{first} << 56 | uint64_t{second} << 48);
}

uint8_t DrawSpace() {
    const Point cursor = Graphics.GraphicsCursor;
    int row = cursor.y - Fonts.ascent;
    for (int i = 0; i < Fonts.cellHeight; ++i, ++row) CellRow(cursor.x, row, Fonts.cellWidth, 0, 0);
    Graphics.GraphicsCursor.x = cursor.x + Fonts.cellWidth + Fonts.spacing;
    return 1;
}

// Control codes 32 and below: 1 for space, newline and carriage return, else 0.
uint8_t DrawControl(uint8_t code) {
    Point& cursor = Graphics.GraphicsCursor;
    switch (code) {
        case 32: return DrawSpace();
        case 10:
            cursor.y += Fonts.cellHeight + FontHeaderByte(Fonts.primaryFont, kFontLineGap);
            return 1;
        case 13:
            cursor.x = 0;
            if (cursor.y < 0) cursor.y = 0;
            return 1;
        default: return 0;
    }
}

}  // namespace

void SelectFont(uint16_t address, uint8_t which) {
    if (which != 0) {
        Fonts.secondaryFont = address;
        Fonts.selectedFontClass = which;
        return;
    }
    Fonts.primaryFont = address;
    Fonts.cellWidth = FontHeaderByte(address, kFontCellWidth);
    Fonts.cellHeight = FontHeaderByte(address, kFontCellHeight);
    Fonts.ascent = FontHeaderByte(address, kFontAscent);
    Fonts.spacing = FontHeaderByte(address, kFontSpacing);
    Fonts.selectedFontClass = FontHeaderByte(address, kFontClassOffset);
}

GlyphLocation GlyphLookup(uint8_t code) {
    const uint16_t primary = Fonts.primaryFont;
    if (primary == 0) return InRange(0, code) ? LookInFont(0, code) : GlyphLocation{};
    if (code < FontHeaderByte(primary, kFontFirst)) return GlyphLocation{};
    if (code <= FontHeaderByte(primary, kFontLast)) return LookInFont(primary, code);
    // Beyond the primary font's last code: its companion, when one is selected.
    const uint16_t secondary = Fonts.secondaryFont;
    if (secondary == 0 || !InRange(secondary, code)) return GlyphLocation{};
    return LookInFont(secondary, code);
}

uint8_t DrawCharacter(uint8_t code) {
    if (code <= 32) return DrawControl(code);
    const GlyphLocation glyph = GlyphLookup(code);
    if (!glyph.found) return 0;

    // The primary font's kind decides, even for a glyph of the secondary font.
    const bool proportional = FontHeaderByte(Fonts.primaryFont, kFontKind) == kProportionalFont;
    const bool builtIn = glyph.fromBuiltIn;
    const uint8_t shape = ReadFontByte(glyph.address, builtIn);
    const int width = proportional ? ReadFontByte(static_cast<uint16_t>(glyph.address + 1), builtIn)
                                   : Fonts.cellWidth;
    const int bytesPerRow = (width >= 1 && width <= 8) ? 1 : 2;
    const int blankAbove = shape >> 4;
    const int storedRows = (shape & 0x0F) + 1;

    const Point cursor = Graphics.GraphicsCursor;
    int row = cursor.y - Fonts.ascent;
    for (int i = 0; i < blankAbove; ++i, ++row) CellRow(cursor.x, row, width, 0, 0);
    uint16_t rowAddress = static_cast<uint16_t>(glyph.address + (proportional ? 2 : 1));
    for (int i = 0; i < storedRows; ++i, ++row) {
        const uint8_t first = ReadFontByte(rowAddress, builtIn);
        const uint8_t second =
            bytesPerRow == 2 ? ReadFontByte(static_cast<uint16_t>(rowAddress + 1), builtIn) : 0;
        CellRow(cursor.x, row, width, first, second);
        rowAddress = static_cast<uint16_t>(rowAddress + bytesPerRow);
    }
    // The rows below count on from the stored rows to the cell height; the
    // blank rows above are not part of that count, so such a glyph paints
    // that many rows more than the cell height.
    for (int i = storedRows; i < Fonts.cellHeight; ++i, ++row) CellRow(cursor.x, row, width, 0, 0);

    Graphics.GraphicsCursor.x = cursor.x + width + Fonts.spacing;
    return 2;
}

}  // namespace lcdm
