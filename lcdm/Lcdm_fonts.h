// Text fonts and character drawing: the two font slots, the glyph walk and
// DrawCharacter, which paints one glyph cell at the graphics cursor.
#pragma once

#include <cstdint>

#include "Lcdm_config.h"

namespace lcdm {

// Font header offsets (9 bytes, then the glyphs back to back).
enum FontHeader : uint8_t {
    kFontKind = 0,  // 128 = proportional: every glyph carries a width byte
    kFontFirst = 1,
    kFontLast = 2,
    kFontCellWidth = 3,
    kFontCellHeight = 4,
    kFontAscent = 5,
    kFontSpacing = 6,
    kFontLineGap = 7,
    kFontClassOffset = 8,
    kFontGlyphs = 9,
};
inline constexpr uint8_t kProportionalFont = 128;

// The built-in font (proportional, codes 33..126, cell 6 x 15, ascent 10).
// Generated at build time from its pixel-art source.
extern const uint8_t BuiltInFont[kBuiltInFontSize];

struct FontState {
    uint16_t primaryFont;    // header address in module memory; 0 = built-in
    uint16_t secondaryFont;  // 0 = none
    uint8_t cellWidth;
    uint8_t cellHeight;
    uint8_t ascent;
    uint8_t spacing;
    uint8_t selectedFontClass;
};
extern FontState Fonts;

void ResetFonts();

// which 0: primary (metrics reloaded); otherwise secondary, serving class which.
void SelectFont(uint16_t address, uint8_t which);

struct GlyphLocation {
    uint16_t address;  // glyph's first byte (an offset into the built-in table when fromBuiltIn)
    bool fromBuiltIn;
    bool found;
};
GlyphLocation GlyphLookup(uint8_t code);

// 0 nothing drawn, 1 space / newline / carriage return, 2 glyph drawn.
uint8_t DrawCharacter(uint8_t code);

}  // namespace lcdm
