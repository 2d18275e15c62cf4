// Text fonts and character drawing.
//
// A font is read wherever it lives through ReadFontByte: address 0 stands for
// the built-in table (offsets then count from its start), any other address
// is a font header in module memory. Every read is bounded, so a malformed
// font yields zero bytes and blank rows, never a read outside an array.
#include <cstring>

#include "Lcdm_fonts.h"
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

// Walks from the first glyph of the font at fontAddress to the one for code
// (which the caller has checked lies in the font's range); there is no index.
GlyphLocation LookInFont(uint16_t fontAddress, uint8_t code) {
    const uint8_t first = FontHeaderByte(fontAddress, kFontFirst);
    uint16_t glyph = static_cast<uint16_t>(fontAddress + kFontGlyphs);
    for (int skip = code - first; skip > 0; --skip)
        glyph = static_cast<uint16_t>(glyph + GlyphSize(fontAddress, glyph));
    return GlyphLocation{glyph, fontAddress == 0, true};
}

bool InRange(uint16_t fontAddress, uint8_t code) {
    return code >= FontHeaderByte(fontAddress, kFontFirst) &&
           code <= FontHeaderByte(fontAddress, kFontLast);
}

bool RowOnScreen(int row) {
    return row >= 0 && row < kScreenHeight;
}

int AtMostScreenWidth(int width) {
    return width < kScreenWidth ? width : kScreenWidth;
}

// Puts the span buffer's first `width` pixels on a row. DrawSpan takes at most
// a screen's width; past that a cell holds only blank pixels (a glyph row is
// at most two bytes), so the rest of a wider cell is cleared piece by piece.
void PutSpan(int x, int row, int width) {
    if (!RowOnScreen(row)) return;
    DrawSpan(x, row, AtMostScreenWidth(width));
    if (width <= kScreenWidth) return;
    std::memset(Graphics.SpanBuffer, 0, sizeof Graphics.SpanBuffer);
    for (int done = kScreenWidth; done < width && x + done < kScreenWidth; done += kScreenWidth)
        DrawSpan(x + done, row, AtMostScreenWidth(width - done));
}

// Clears `width` pixels of a row. The whole span buffer is cleared, not only
// the bytes a narrow cell needs, so a cell wider than 24 pixels clears too.
void BlankSpan(int x, int row, int width) {
    std::memset(Graphics.SpanBuffer, 0, sizeof Graphics.SpanBuffer);
    PutSpan(x, row, width);
}

// One stored glyph row of bytesPerRow bytes. A glyph row holds at most two
// bytes; the rest of the span buffer is cleared so that a cell wider than 16
// pixels draws blank there instead of whatever the previous span left.
void GlyphSpan(int x, int row, int width, uint16_t rowAddress, int bytesPerRow, bool builtIn) {
    std::memset(Graphics.SpanBuffer, 0, sizeof Graphics.SpanBuffer);
    for (int i = 0; i < bytesPerRow; ++i)
        Graphics.SpanBuffer[i] = ReadFontByte(static_cast<uint16_t>(rowAddress + i), builtIn);
    PutSpan(x, row, width);
}

uint8_t DrawSpace() {
    const Point cursor = Graphics.GraphicsCursor;
    int row = cursor.y - Fonts.ascent;
    for (int i = 0; i < Fonts.cellHeight; ++i, ++row) BlankSpan(cursor.x, row, Fonts.cellWidth);
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
    for (int i = 0; i < blankAbove; ++i, ++row) BlankSpan(cursor.x, row, width);
    uint16_t rowAddress = static_cast<uint16_t>(glyph.address + (proportional ? 2 : 1));
    for (int i = 0; i < storedRows; ++i, ++row) {
        GlyphSpan(cursor.x, row, width, rowAddress, bytesPerRow, builtIn);
        rowAddress = static_cast<uint16_t>(rowAddress + bytesPerRow);
    }
    // The rows below count on from the stored rows to the cell height; the
    // blank rows above are not part of that count, so such a glyph paints
    // that many rows more than the cell height.
    for (int i = storedRows; i < Fonts.cellHeight; ++i, ++row) BlankSpan(cursor.x, row, width);

    Graphics.GraphicsCursor.x = cursor.x + width + Fonts.spacing;
    return 2;
}

}  // namespace lcdm
