// Drawing and text output tags: thin stack layers over the frame buffer
// primitives and DrawCharacter, plus the number layouts and the unit's hooks.
#include "Lcdm_fonts.h"
#include "Lcdm_labels.h"
#include "Lcdm_memory.h"
#include "Lcdm_tag_support.h"

namespace lcdm {
namespace {

// The decimal text of value right-aligned in `width` columns with leading
// spaces, as "%<width>d" would give it (width is at most 7 here).
struct Decimal {
    char text[8];
    uint8_t width;
};

Decimal FormatDecimal(int32_t value, uint8_t width) {
    Decimal out{};
    out.width = width;
    for (uint8_t i = 0; i < width; ++i) out.text[i] = ' ';
    const bool negative = value < 0;
    uint32_t magnitude = negative ? static_cast<uint32_t>(-value) : static_cast<uint32_t>(value);
    int column = width - 1;
    do {
        out.text[column--] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0 && column >= 0);
    if (negative && column >= 0) out.text[column] = '-';
    return out;
}

void DrawText(const char* text, uint8_t count) {
    for (uint8_t i = 0; i < count; ++i) DrawCharacter(static_cast<uint8_t>(text[i]));
}

// Layout modes of the unsigned prints: 0 every column, spaces included;
// 1 the digits only; 2..maxZeroPadded the last m columns with spaces drawn
// as "0" (a longer number loses its leading digits); above that nothing.
void PrintUnsigned(uint32_t value, uint8_t width, uint8_t mode) {
    const Decimal number = FormatDecimal(static_cast<int32_t>(value), width);
    if (mode == 0) return DrawText(number.text, width);
    if (mode == 1) {
        for (uint8_t i = 0; i < width; ++i)
            if (number.text[i] != ' ') DrawCharacter(static_cast<uint8_t>(number.text[i]));
        return;
    }
    if (mode > width) return;
    for (uint8_t i = width - mode; i < width; ++i)
        DrawCharacter(number.text[i] == ' ' ? '0' : static_cast<uint8_t>(number.text[i]));
}

void PushCoordinate(int value) { PushWord(static_cast<uint16_t>(value & 0xFFFF)); }

}  // namespace

void TagClear(uint8_t, uint16_t) { ClearScreen(); }

// Targets right of or below the screen are refused silently; negative ones
// are accepted and what is drawn from there is clipped.
void TagMoveTo(uint8_t, uint16_t) {
    if (!NeedData(4)) return;
    const int y = PopCoordinate();
    const int x = PopCoordinate();
    MoveTo(x, y);
}

void TagPlot(uint8_t, uint16_t) {
    if (!NeedData(1)) return;
    DrawPixel(Graphics.GraphicsCursor.x, Graphics.GraphicsCursor.y, Pop() != 0);
}

void TagLineTo(uint8_t, uint16_t) {
    if (!NeedData(4)) return;
    const int y = PopCoordinate();
    const int x = PopCoordinate();
    if (LineTo(x, y) == kStatusOk) MoveTo(x, y);
}

void TagRectangle(uint8_t, uint16_t) {
    if (!NeedData(4)) return;
    const int y = PopCoordinate();
    const int x = PopCoordinate();
    DrawBox(Graphics.GraphicsCursor.x, Graphics.GraphicsCursor.y, x, y);
}

void TagFill(uint8_t, uint16_t) {
    if (!NeedData(6)) return;
    const uint16_t pattern = PopWord();
    const int y = PopCoordinate();
    const int x = PopCoordinate();
    FillPattern(Graphics.GraphicsCursor.x, Graphics.GraphicsCursor.y, x, y, pattern);
}

void TagEmit(uint8_t, uint16_t) {
    if (NeedData(1)) DrawCharacter(Pop());
}

void TagEmitHex(uint8_t, uint16_t) {
    if (!NeedData(1)) return;
    const uint8_t value = Pop();
    DrawCharacter(HexDigit(value >> 4));
    DrawCharacter(HexDigit(value & 0x0F));
}

void TagPrintU8(uint8_t, uint16_t) {
    if (!NeedData(2)) return;
    const uint8_t mode = Pop();
    PrintUnsigned(Pop(), 3, mode);
}

void TagPrintU16(uint8_t, uint16_t) {
    if (!NeedData(3)) return;
    const uint8_t mode = Pop();
    PrintUnsigned(PopWord(), 6, mode);
}

void TagPrintS8(uint8_t, uint16_t) {
    if (!NeedData(1)) return;
    const Decimal number = FormatDecimal(static_cast<int8_t>(Pop()), 4);
    DrawText(number.text, number.width);
}

void TagPrintS16(uint8_t, uint16_t) {
    if (!NeedData(2)) return;
    const Decimal number = FormatDecimal(static_cast<int16_t>(PopWord()), 7);
    DrawText(number.text, number.width);
}

void TagGetX(uint8_t, uint16_t) {
    if (RoomData(2)) PushCoordinate(Graphics.GraphicsCursor.x);
}

void TagGetY(uint8_t, uint16_t) {
    if (RoomData(2)) PushCoordinate(Graphics.GraphicsCursor.y);
}

void TagOutput(uint8_t, uint16_t) {
    if (!NeedData(1)) return;
    const uint8_t value = Pop();
    if (gOutputHook) gOutputHook(value);
}

void TagSwitch(uint8_t, uint16_t) {
    if (!NeedData(1)) return;
    const bool on = Pop() != 0;
    if (gSwitchHook) gSwitchHook(on);
}

// Checks room for one byte although it does not grow the stack.
void TagDrawLogo(uint8_t, uint16_t) {
    if (!NeedData(1) || !RoomData(1)) return;
    Cell(0) = DrawLogo(Cell(0));
}

}  // namespace lcdm
