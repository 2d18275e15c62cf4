// Fonts and character drawing: the built-in table, the glyph walk through
// fonts in module memory, and what DrawCharacter paints and where it leaves
// the cursor.
#include <cstring>
#include <string>
#include <vector>

#include "module_fixture.h"
#include "pixelart/font.h"

namespace {

using lcdm::DrawCharacter;
using lcdm::GlyphLookup;
using lcdm::Graphics;
using lcdm::ReadFontByte;
using lcdm::SelectFont;
using zortest::PixelOn;
using zortest::PixelsOn;
using zortest::RowText;

constexpr int kAllPixels = lcdm::kScreenWidth * lcdm::kScreenHeight;

const pixelart::FontSource& BuiltInSource() {
    static const pixelart::FontSource source =
        pixelart::ReadFont(ZOR_SOURCE_DIR "/lcdm/image/builtin_font.glyphs");
    return source;
}

const pixelart::Picture& SourceGlyph(uint8_t code) {
    return BuiltInSource().glyphs.at(code - 0x21).picture;
}

void SetCursor(int x, int y) {
    Graphics.GraphicsCursor = lcdm::Point{x, y};
}
void FillScreen() {
    std::memset(Graphics.FrameBuffer, 0xFF, sizeof Graphics.FrameBuffer);
}

void WriteBytes(uint16_t address, const std::vector<uint8_t>& bytes) {
    for (size_t i = 0; i < bytes.size(); ++i)
        ASSERT_EQ(lcdm::WriteMemoryByte(bytes[i], static_cast<uint16_t>(address + i)), 0);
}

class FontTest : public zortest::ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        SelectFont(0, 0);  // the built-in font, no companion
        SelectFont(0, 1);
    }
};

// ------------------------------------------------------- the built-in font ---

TEST_F(FontTest, BuiltInTableHasItsHeaderAndExactly94Glyphs) {
    const uint8_t header[9] = {0x80, 0x21, 0x7E, 6, 15, 10, 0, 0, 0};
    for (uint16_t i = 0; i < 9; ++i) EXPECT_EQ(ReadFontByte(i, true), header[i]) << i;
    EXPECT_EQ(ReadFontByte(1, true), 0x21);

    // Walk as the format describes; every glyph is found where the walk is.
    uint16_t offset = 9;
    for (int code = 0x21; code <= 0x7E; ++code) {
        const lcdm::GlyphLocation glyph = GlyphLookup(static_cast<uint8_t>(code));
        ASSERT_TRUE(glyph.found) << code;
        EXPECT_TRUE(glyph.fromBuiltIn);
        EXPECT_EQ(glyph.address, offset) << code;
        const int rows = (ReadFontByte(offset, true) & 0x0F) + 1;
        const int width = ReadFontByte(static_cast<uint16_t>(offset + 1), true);
        EXPECT_TRUE(width >= 1 && width <= 6) << code;
        offset = static_cast<uint16_t>(offset + rows * ((width - 1) / 8 + 1) + 2);
    }
    EXPECT_EQ(offset, lcdm::kBuiltInFontSize);
    EXPECT_EQ(GlyphLookup(33).address, 9);
    EXPECT_FALSE(GlyphLookup(127).found);
    EXPECT_FALSE(GlyphLookup(32).found);
}

TEST_F(FontTest, BuiltInTableIsTheEncodingOfItsGlyphSource) {
    const std::vector<uint8_t> encoded = pixelart::EncodeFont(BuiltInSource(), 1224).bytes;
    ASSERT_EQ(encoded.size(), lcdm::kBuiltInFontSize);
    EXPECT_EQ(std::memcmp(encoded.data(), lcdm::BuiltInFont, encoded.size()), 0);
}

TEST_F(FontTest, SelectFontCopiesThePrimaryMetricsAndKeepsThemForTheCompanion) {
    const lcdm::FontState& f = lcdm::Fonts;
    EXPECT_EQ(f.primaryFont, 0);
    EXPECT_EQ(f.secondaryFont, 0);
    EXPECT_EQ(f.cellWidth, 6);
    EXPECT_EQ(f.cellHeight, 15);
    EXPECT_EQ(f.ascent, 10);
    EXPECT_EQ(f.spacing, 0);
    EXPECT_EQ(f.selectedFontClass, 1);

    WriteBytes(20000, {0x80, 0x41, 0x5A, 7, 11, 8, 2, 1, 3});
    SelectFont(20000, 0);
    EXPECT_EQ(f.primaryFont, 20000);
    EXPECT_EQ(f.cellWidth, 7);
    EXPECT_EQ(f.cellHeight, 11);
    EXPECT_EQ(f.ascent, 8);
    EXPECT_EQ(f.spacing, 2);
    EXPECT_EQ(f.selectedFontClass, 3);
    SelectFont(21000, 5);
    EXPECT_EQ(f.secondaryFont, 21000);
    EXPECT_EQ(f.selectedFontClass, 5);
    EXPECT_EQ(f.cellHeight, 11);
}

// Every glyph paints exactly its 15-row cell, as drawn in the source, and
// moves the cursor on by its own width.
TEST_F(FontTest, EveryBuiltInGlyphPaintsItsCellAsDrawnInTheSource) {
    for (int code = 0x21; code <= 0x7E; ++code) {
        const pixelart::Picture& picture = SourceGlyph(static_cast<uint8_t>(code));
        FillScreen();
        SetCursor(20, 40);
        ASSERT_EQ(DrawCharacter(static_cast<uint8_t>(code)), 2) << code;
        EXPECT_EQ(Graphics.GraphicsCursor.x, 20 + picture.width) << code;
        EXPECT_EQ(Graphics.GraphicsCursor.y, 40);
        int differences = 0;
        for (int y = 0; y < 128; ++y)
            for (int x = 0; x < 64; ++x) {
                const bool inCell = x >= 20 && x < 20 + picture.width && y >= 30 && y < 45;
                const bool expected = inCell ? picture.At(x - 20, y - 30) : true;
                differences += PixelOn(x, y) != expected;
            }
        EXPECT_EQ(differences, 0) << "glyph " << code;
    }
}

TEST_F(FontTest, DrawsButton7PixelExactFromTheGlyphSource) {
    const std::string text = "Button 7";
    SetCursor(2, 20);
    for (char c : text) DrawCharacter(static_cast<uint8_t>(c));

    std::vector<std::string> expected(128, std::string(64, '.'));
    int x = 2;
    for (char c : text) {
        if (c == ' ') {
            x += 6;
            continue;
        }
        const pixelart::Picture& picture = SourceGlyph(static_cast<uint8_t>(c));
        for (int y = 0; y < picture.height(); ++y)
            for (int dx = 0; dx < picture.width; ++dx)
                if (picture.At(dx, y)) expected[10 + y][x + dx] = '#';
        x += picture.width;
    }
    for (int y = 0; y < 128; ++y) EXPECT_EQ(RowText(y), expected[y]) << "row " << y;
    EXPECT_EQ(Graphics.GraphicsCursor.x, x);
    EXPECT_EQ(Graphics.GraphicsCursor.y, 20);
}

TEST_F(FontTest, CodesWithoutAGlyphDrawNothing) {
    SetCursor(7, 30);
    EXPECT_EQ(DrawCharacter(127), 0);
    EXPECT_EQ(DrawCharacter(200), 0);
    EXPECT_EQ(DrawCharacter(9), 0);  // a control code other than 10, 13, 32
    EXPECT_EQ(DrawCharacter(0), 0);
    EXPECT_EQ(PixelsOn(), 0);
    EXPECT_EQ(Graphics.GraphicsCursor.x, 7);
    EXPECT_EQ(Graphics.GraphicsCursor.y, 30);
}

// ---------------------------------------------------------- control codes ---

TEST_F(FontTest, SpaceClearsTheCellAndAdvancesByCellWidthPlusSpacing) {
    FillScreen();
    SetCursor(10, 20);
    EXPECT_EQ(DrawCharacter(32), 1);
    EXPECT_EQ(Graphics.GraphicsCursor.x, 16);
    EXPECT_EQ(Graphics.GraphicsCursor.y, 20);
    EXPECT_EQ(PixelsOn(), kAllPixels - 6 * 15);
    for (int y = 10; y < 25; ++y) EXPECT_EQ(RowText(y, 9, 16), "#......#") << y;

    // With spacing 2 from a font in module memory; rows above the screen are
    // skipped.
    WriteBytes(20000, {0x80, 0x41, 0x41, 4, 5, 3, 2, 0, 0, 0x00, 1, 0x80});
    SelectFont(20000, 0);
    FillScreen();
    SetCursor(-2, 1);
    EXPECT_EQ(DrawCharacter(32), 1);
    EXPECT_EQ(Graphics.GraphicsCursor.x, 4);
    EXPECT_EQ(RowText(0, 0, 3), "..##");
    EXPECT_EQ(RowText(2, 0, 3), "..##");
    EXPECT_EQ(RowText(3, 0, 3), "####");
    EXPECT_EQ(PixelsOn(), kAllPixels - 2 * 3);
}

TEST_F(FontTest, NewlineAndCarriageReturnOnlyMoveTheCursor) {
    SetCursor(5, 20);
    EXPECT_EQ(DrawCharacter(10), 1);
    EXPECT_EQ(Graphics.GraphicsCursor.x, 5);
    EXPECT_EQ(Graphics.GraphicsCursor.y, 35);  // cell height 15, line gap 0

    EXPECT_EQ(DrawCharacter(13), 1);
    EXPECT_EQ(Graphics.GraphicsCursor.x, 0);
    EXPECT_EQ(Graphics.GraphicsCursor.y, 35);
    SetCursor(30, -7);
    EXPECT_EQ(DrawCharacter(13), 1);
    EXPECT_EQ(Graphics.GraphicsCursor.x, 0);
    EXPECT_EQ(Graphics.GraphicsCursor.y, 0);
    EXPECT_EQ(PixelsOn(), 0);

    // The line gap comes from the primary font's header.
    WriteBytes(20000, {0x80, 0x41, 0x41, 4, 7, 5, 0, 3, 0, 0x00, 1, 0x80});
    SelectFont(20000, 0);
    SetCursor(3, 20);
    EXPECT_EQ(DrawCharacter(10), 1);
    EXPECT_EQ(Graphics.GraphicsCursor.y, 30);
}

TEST_F(FontTest, RowsOffTheScreenAreSkippedAndTheCursorStillAdvances) {
    // 'g' at y = 125: its cell covers rows 115..129, drawn down to row 127.
    const pixelart::Picture& g = SourceGlyph('g');
    SetCursor(10, 125);
    EXPECT_EQ(DrawCharacter('g'), 2);
    EXPECT_EQ(Graphics.GraphicsCursor.x, 10 + g.width);
    for (int y = 115; y < 128; ++y)
        for (int dx = 0; dx < g.width; ++dx)
            EXPECT_EQ(PixelOn(10 + dx, y), g.At(dx, y - 115)) << dx << "," << y;

    // 'A' at (-3, 3): its cell covers rows -7..7 and columns -3..2.
    lcdm::ClearScreen();
    const pixelart::Picture& a = SourceGlyph('A');
    SetCursor(-3, 3);
    EXPECT_EQ(DrawCharacter('A'), 2);
    EXPECT_EQ(Graphics.GraphicsCursor.x, -3 + a.width);
    int expectedOn = 0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(PixelOn(x, y), a.At(x + 3, y + 7)) << x << "," << y;
            expectedOn += a.At(x + 3, y + 7);
        }
    EXPECT_EQ(PixelsOn(), expectedOn);
}

// --------------------------------------------------- fonts in module memory ---

TEST_F(FontTest, FixedFontUsesTheCellWidthAndPaintsBlankRowsAboveAsExtraRows) {
    WriteBytes(20000, {0x00, 0x41, 0x43, 5, 7, 5, 1, 2, 0,  // fixed, 'A'..'C', 5 x 7
                       0x11, 0x88, 0x50,                    // A: 1 blank row, 2 rows
                       0x02, 0xF8, 0x88, 0xF8,              // B: 3 rows
                       0x00, 0xA8});                        // C: 1 row
    SelectFont(20000, 0);
    EXPECT_EQ(GlyphLookup('A').address, 20009);
    EXPECT_EQ(GlyphLookup('B').address, 20012);
    EXPECT_EQ(GlyphLookup('C').address, 20016);
    EXPECT_FALSE(GlyphLookup('C').fromBuiltIn);
    EXPECT_FALSE(GlyphLookup('D').found);
    EXPECT_FALSE(GlyphLookup('@').found);

    // A: one blank row, two stored rows, then blank rows counted on from the
    // two stored rows up to 7: eight rows in all, one more than the cell.
    FillScreen();
    SetCursor(10, 20);
    EXPECT_EQ(DrawCharacter('A'), 2);
    EXPECT_EQ(Graphics.GraphicsCursor.x, 16);  // cell width 5 + spacing 1
    EXPECT_EQ(RowText(14, 9, 15), "#######");
    EXPECT_EQ(RowText(15, 9, 15), "#.....#");
    EXPECT_EQ(RowText(16, 9, 15), "##...##");
    EXPECT_EQ(RowText(17, 9, 15), "#.#.#.#");
    for (int y = 18; y <= 22; ++y) EXPECT_EQ(RowText(y, 9, 15), "#.....#") << y;
    EXPECT_EQ(RowText(23, 9, 15), "#######");

    // C right after it: one stored row, six blank ones, the cell exactly.
    EXPECT_EQ(DrawCharacter('C'), 2);
    EXPECT_EQ(Graphics.GraphicsCursor.x, 22);
    EXPECT_EQ(RowText(15, 15, 22), "##.#.###");
    for (int y = 16; y <= 21; ++y) EXPECT_EQ(RowText(y, 15, 22), "#.....##") << y;
    EXPECT_EQ(RowText(22, 15, 22), "########");
}

TEST_F(FontTest, ProportionalFontUsesEachGlyphsWidthAndTwoBytesPastEightPixels) {
    WriteBytes(20000, {0x80, 0x30, 0x32, 12,   4,    2,    0, 0, 0,  // proportional '0'..'2'
                       0x01, 10,   0xFF, 0xC0, 0x80, 0x40,           // '0': 10 wide, 2 rows
                       0x10, 3,    0xA0,                             // '1': 3 wide
                       0x00, 1,    0x80});                           // '2': 1 wide
    SelectFont(20000, 0);
    EXPECT_EQ(GlyphLookup('1').address, 20015);
    EXPECT_EQ(GlyphLookup('2').address, 20018);

    SetCursor(4, 10);
    EXPECT_EQ(DrawCharacter('0'), 2);
    EXPECT_EQ(Graphics.GraphicsCursor.x, 14);
    EXPECT_EQ(DrawCharacter('1'), 2);
    EXPECT_EQ(Graphics.GraphicsCursor.x, 17);
    EXPECT_EQ(DrawCharacter('2'), 2);
    EXPECT_EQ(Graphics.GraphicsCursor.x, 18);
    EXPECT_EQ(RowText(8, 3, 18), ".##########...#.");
    EXPECT_EQ(RowText(9, 3, 18), ".#........##.#..");
    EXPECT_EQ(PixelsOn(), 10 + 2 + 2 + 1);
}

TEST_F(FontTest, FixedFontOfCellWidthEightSkipsOnePaddingBytePerRow) {
    // The walk counts two bytes per row here, the drawing reads one: each
    // glyph stores its rows and then one padding byte per row.
    WriteBytes(20000, {0x00, 0x41, 0x42, 8, 3, 3, 0, 0, 0,  //
                       0x01, 0x81, 0x7E, 0x00, 0x00,        // A: 2 rows, 2 padding bytes
                       0x00, 0xF0, 0x00});                  // B: 1 row, 1 padding byte
    SelectFont(20000, 0);
    EXPECT_EQ(GlyphLookup('B').address, 20014);
    SetCursor(0, 3);
    DrawCharacter('A');
    DrawCharacter('B');
    EXPECT_EQ(RowText(0, 0, 15), "#......#####....");
    EXPECT_EQ(RowText(1, 0, 15), ".######.........");
    EXPECT_EQ(PixelsOn(), 2 + 6 + 4);
}

class CompanionFontTest : public FontTest {
protected:
    // Primary at 20000 for 'A'..'~' (glyphs not needed here); companion at
    // 21000 for 127..200 with other metrics.
    void SetUp() override {
        FontTest::SetUp();
        WriteBytes(21000, {0x80, 0x7F, 0xC8, 13, 15, 10, 0, 0, 2});
        for (uint16_t code = 127; code < 200; ++code)
            WriteBytes(static_cast<uint16_t>(21009 + (code - 127) * 3), {0x00, 1, 0x00});
        WriteBytes(kGlyph200, {0x21, 4, 0xF0, 0x90});  // 2 blank rows, 2 rows, 4 wide
    }
    void SelectPrimary(uint8_t kind) {
        WriteBytes(20000, {kind, 0x41, 0x7E, 5, 12, 8, 1, 0, 0});
        SelectFont(20000, 0);
        SelectFont(21000, 2);
    }
    static constexpr uint16_t kGlyph200 = 21009 + 73 * 3;
};

TEST_F(CompanionFontTest, CodesBeyondThePrimaryComeFromTheCompanionWithPrimaryMetrics) {
    SelectPrimary(0x80);
    EXPECT_EQ(lcdm::Fonts.selectedFontClass, 2);
    EXPECT_EQ(GlyphLookup(200).address, kGlyph200);
    EXPECT_FALSE(GlyphLookup(0x40).found);
    EXPECT_FALSE(GlyphLookup(201).found);  // past the companion's last code

    // Ascent 8, height 12 and spacing 1 of the primary, not 10, 15, 0.
    FillScreen();
    SetCursor(20, 30);
    EXPECT_EQ(DrawCharacter(200), 2);
    EXPECT_EQ(Graphics.GraphicsCursor.x, 25);
    EXPECT_EQ(RowText(21, 19, 24), "######");
    EXPECT_EQ(RowText(22, 19, 24), "#....#");
    EXPECT_EQ(RowText(23, 19, 24), "#....#");
    EXPECT_EQ(RowText(24, 19, 24), "######");
    EXPECT_EQ(RowText(25, 19, 24), "##..##");
    for (int y = 26; y <= 35; ++y) EXPECT_EQ(RowText(y, 19, 24), "#....#") << y;
    EXPECT_EQ(RowText(36, 19, 24), "######");

    // Without a companion the code has no glyph.
    SelectFont(0, 2);
    EXPECT_FALSE(GlyphLookup(200).found);
    EXPECT_EQ(DrawCharacter(200), 0);
}

TEST_F(CompanionFontTest, ThePrimarysKindDecidesTheWidthEvenForCompanionGlyphs) {
    // A fixed primary: the companion glyph is drawn 5 wide (the cell width)
    // and its rows are read from its second byte on, width byte included.
    SelectPrimary(0x00);
    lcdm::ClearScreen();
    SetCursor(20, 30);
    EXPECT_EQ(DrawCharacter(200), 2);
    EXPECT_EQ(Graphics.GraphicsCursor.x, 26);
    EXPECT_EQ(RowText(24, 20, 24), ".....");  // the width byte 4: its set bit lies past 5 pixels
    EXPECT_EQ(RowText(25, 20, 24), "####.");
    EXPECT_EQ(PixelsOn(), 4);
}

// A glyph row holds two bytes; the rest of a wider cell is blank, whatever
// the span buffer held before, and a cell wider than the screen is cleared
// across the whole screen.
TEST_F(FontTest, CellsWiderThanTheStoredBytesAreBlankBeyondThem) {
    WriteBytes(20000, {0x00, 0x41, 0x41, 40, 2, 1, 0, 0, 0, 0x00, 0xFF, 0xFF});
    SelectFont(20000, 0);
    FillScreen();
    std::memset(Graphics.SpanBuffer, 0xFF, sizeof Graphics.SpanBuffer);
    SetCursor(4, 1);
    EXPECT_EQ(DrawCharacter('A'), 2);
    EXPECT_EQ(Graphics.GraphicsCursor.x, 44);
    EXPECT_EQ(RowText(0, 3, 44), "#" + std::string(16, '#') + std::string(24, '.') + "#");
    EXPECT_EQ(RowText(1, 3, 44), "#" + std::string(40, '.') + "#");
    EXPECT_EQ(PixelsOn(), kAllPixels - 24 - 40);

    // Cell width 200 from column -50: columns 0..63 lie inside the cell.
    WriteBytes(20003, {200});
    SelectFont(20000, 0);
    FillScreen();
    SetCursor(-50, 1);
    EXPECT_EQ(DrawCharacter(32), 1);
    EXPECT_EQ(Graphics.GraphicsCursor.x, 150);
    EXPECT_EQ(RowText(0), std::string(64, '.'));
    EXPECT_EQ(RowText(1), std::string(64, '.'));
    EXPECT_EQ(PixelsOn(), kAllPixels - 128);

    // Cell width 100 from column -50: the cell ends at column 49.
    WriteBytes(20003, {100});
    SelectFont(20000, 0);
    FillScreen();
    SetCursor(-50, 1);
    EXPECT_EQ(DrawCharacter(32), 1);
    EXPECT_EQ(RowText(0), std::string(50, '.') + std::string(14, '#'));
    EXPECT_EQ(RowText(1), std::string(50, '.') + std::string(14, '#'));
    EXPECT_EQ(PixelsOn(), kAllPixels - 100);
}

TEST_F(FontTest, AFontRunningOffTheEndOfModuleMemoryReadsZerosAndStaysInBounds) {
    WriteBytes(37340, {0x80, 0x41, 0x7E, 6});  // the rest of its header lies past the end
    SelectFont(37340, 0);
    EXPECT_EQ(lcdm::Fonts.cellHeight, 0);
    const lcdm::GlyphLocation glyph = GlyphLookup(0x7E);
    EXPECT_TRUE(glyph.found);
    SetCursor(10, 10);
    EXPECT_EQ(DrawCharacter(0x7E), 2);  // a zero-width glyph of one blank row
    EXPECT_EQ(Graphics.GraphicsCursor.x, 10);
    EXPECT_EQ(PixelsOn(), 0);
}

// The built-in glyph of `code` as the walk from '!' finds it.
uint16_t BuiltInGlyphByWalk(uint8_t code) {
    uint16_t at = lcdm::kFontGlyphs;
    for (int c = 0x21; c < code; ++c) {
        const int rows = (ReadFontByte(at, true) & 0x0F) + 1;
        const int width = ReadFontByte(uint16_t(at + 1), true);
        at = uint16_t(at + rows * ((width - 1) / 8 + 1) + 2);
    }
    return at;
}

// Glyph addresses are kept per font once walked; they follow the font in
// memory as it is now, however many fonts take turns.
TEST_F(FontTest, GlyphsAreWhereTheWalkFindsThemAfterMemoryChangesAndForEveryFont) {
    // Five proportional fonts 'A'..'C' of one row a glyph: A one byte wide
    // (8 pixels) or two (9 pixels), B and C one.
    const auto writeFont = [](uint16_t at, bool wideA) {
        std::vector<uint8_t> bytes = {0x80, 0x41, 0x43, 8, 1, 1, 0, 0, 0};
        const std::vector<uint8_t> a =
            wideA ? std::vector<uint8_t>{0x00, 9, 0xF0, 0x0F} : std::vector<uint8_t>{0x00, 8, 0xF0};
        bytes.insert(bytes.end(), a.begin(), a.end());
        bytes.insert(bytes.end(), {0x00, 8, 0xAA, 0x00, 3, 0xE0});
        WriteBytes(at, bytes);
        return static_cast<int>(a.size());
    };
    const uint16_t fonts[] = {20000, 20100, 20200, 20300, 20400};
    for (int round = 0; round < 2; ++round)
        for (int i = 0; i < 5; ++i) {
            SelectFont(fonts[i], 0);
            for (bool wideA : {round == 0, round != 0}) {  // rewritten while selected
                const int sizeA = writeFont(fonts[i], wideA);
                EXPECT_EQ(GlyphLookup('C').address, fonts[i] + 9 + sizeA + 3) << i << wideA;
                EXPECT_EQ(GlyphLookup('A').address, fonts[i] + 9) << i << wideA;
                EXPECT_EQ(GlyphLookup('B').address, fonts[i] + 9 + sizeA) << i << wideA;
            }
        }
    // Then the built-in font again, every glyph of it.
    SelectFont(0, 0);
    for (int code = 0x7E; code >= 0x21; --code)
        EXPECT_EQ(GlyphLookup(uint8_t(code)).address, BuiltInGlyphByWalk(uint8_t(code))) << code;
}

}  // namespace
