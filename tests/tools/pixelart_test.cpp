// The pixel-art reader and the font encoder: what a person writes, what the
// module gets, and the messages when the two cannot be reconciled.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "pixelart/document.h"
#include "pixelart/error.h"
#include "pixelart/font.h"

namespace {

using pixelart::Document;
using pixelart::EncodeFont;
using pixelart::Error;
using pixelart::ParseDocument;
using pixelart::ParseFont;

// The message of the Error that running `body` throws ("" if none).
template <typename Body>
std::string ErrorOf(Body body) {
    try {
        body();
    } catch (const Error& error) {
        return error.what();
    }
    return "";
}

std::string DocumentError(const std::string& text) {
    return ErrorOf([&] { ParseDocument(text, "art.txt"); });
}

std::string FontError(const std::string& text) {
    return ErrorOf([&] { ParseFont(ParseDocument(text, "f.glyphs")); });
}

std::vector<bool> Bits(const std::string& row) {
    std::vector<bool> bits;
    for (char c : row) bits.push_back(c == '#');
    return bits;
}

// A glyph block: rows of the cell with the baseline drawn after `ascent` rows.
std::string Glyph(const std::string& line, const std::vector<std::string>& rows, int ascent) {
    std::string text = line + "\n";
    for (size_t y = 0; y < rows.size(); ++y) {
        if (static_cast<int>(y) == ascent) text += std::string(rows[0].size(), '-') + "\n";
        text += rows[y] + "\n";
    }
    return text + "\n";
}

// A proportional font of cell height 5 and ascent 3 for codes 0x41.. .
std::string SmallFont(const std::string& last, const std::string& glyphs,
                      const std::string& kind = "proportional", int cellWidth = 4) {
    return "font kind=" + kind + " first=0x41 last=" + last +
           " cell-width=" + std::to_string(cellWidth) +
           " cell-height=5 ascent=3 spacing=1 line-gap=2 class=0\n\n" + glyphs;
}

const std::vector<std::string> kA = {"....", ".##.", "#..#", "####", "...."};
const std::vector<std::string> kB = {"##..", "#.#.", "##..", "....", "...."};
const std::vector<std::string> kBlank = {"..", "..", "..", "..", ".."};

// ----------------------------------------------------------- the document ---

TEST(PixelArtDocument, ReadsDirectivesWithTheirWordsLabelsFieldsAndPictures) {
    const Document doc = ParseDocument(
        "// a comment line\n"
        "icon 7 'ab' size=0x10 x=3   // trailing comment\n"
        "  .#.\n"
        "  #.#  // comment after a row\n"
        "// comments do not end a picture\n"
        "  ---\n"
        "  ##.\n"
        "\n"
        "mark ''' ' ' '/'\n",
        "art.txt");
    ASSERT_EQ(doc.directives.size(), 2u);
    const pixelart::Directive& icon = doc.directives[0];
    EXPECT_EQ(icon.keyword, "icon");
    EXPECT_EQ(icon.line, 2);
    EXPECT_EQ(icon.words, std::vector<std::string>{"7"});
    EXPECT_EQ(icon.labels, std::vector<std::string>{"ab"});
    EXPECT_EQ(icon.fields.at("size"), "0x10");
    EXPECT_EQ(icon.fields.at("x"), "3");
    EXPECT_EQ(icon.picture.width, 3);
    EXPECT_EQ(icon.picture.firstLine, 3);
    ASSERT_EQ(icon.picture.height(), 3);
    EXPECT_EQ(icon.picture.rows[0], Bits(".#."));
    EXPECT_EQ(icon.picture.rows[1], Bits("#.#"));
    EXPECT_EQ(icon.picture.rows[2], Bits("##."));
    EXPECT_EQ(icon.picture.baseline, 2);
    EXPECT_FALSE(icon.picture.RowBlank(0));

    // A quote that ends a word closes a label: ''' is the apostrophe.
    const pixelart::Directive& mark = doc.directives[1];
    EXPECT_EQ(mark.labels, (std::vector<std::string>{"'", " ", "/"}));
    EXPECT_TRUE(mark.picture.empty());
    EXPECT_FALSE(mark.picture.baseline.has_value());
    EXPECT_EQ(doc.lastLine, 9);
}

TEST(PixelArtDocument, RejectsMalformedLinesNamingFileAndLine) {
    EXPECT_EQ(DocumentError("pic\n#.\n\n.#\n"),
              "art.txt:4: picture row without a directive above it (a blank line ends a "
              "picture)");
    EXPECT_EQ(DocumentError("#.\n"), "art.txt:1: picture row before any directive");
    EXPECT_EQ(DocumentError("pic\n#..\n#.\n"),
              "art.txt:3: picture row is 2 pixels wide, expected 3 like the first row (line 2)");
    EXPECT_EQ(DocumentError("pic\n#.x\n"),
              "art.txt:2: unexpected 'x' in column 3 of a picture row (expected '#' for dark or "
              "'.' for light)");
    EXPECT_EQ(DocumentError("pic\n#.\n--\n#.\n--\n"),
              "art.txt:5: second baseline in one picture (the first is on line 3)");
    EXPECT_EQ(DocumentError("pic\n#.\n---\n#.\n"),
              "art.txt:3: baseline is 3 characters long, expected 2 like the picture's rows");
    EXPECT_EQ(DocumentError("pic\n--\n"), "art.txt:2: baseline without picture rows");
    EXPECT_EQ(DocumentError("pic\n-#\n"), "art.txt:2: a baseline line holds only '-'");
    EXPECT_EQ(DocumentError("glyph 'A\n"),
              "art.txt:1: label without its closing quote (expected 'x')");
    EXPECT_EQ(DocumentError("a x=1 x=2\n"), "art.txt:1: field x= given twice");
    EXPECT_EQ(DocumentError("pic\n*\n"),
              "art.txt:2: unexpected '*' at the start of a line (expected a directive word, a "
              "picture row of '#' and '.', or a baseline of '-')");
    EXPECT_EQ(ErrorOf([] { pixelart::ReadDocument("/nonexistent/dir/x.glyphs"); }),
              "/nonexistent/dir/x.glyphs: cannot open the file for reading");
}

TEST(PixelArtDocument, NumberFieldsTakeDecimalOrHexWithinTheirRange) {
    const Document doc = ParseDocument("d a=0x7E b=12 c=0x1g d=300\n", "n.txt");
    const pixelart::Directive& d = doc.directives[0];
    EXPECT_EQ(pixelart::FieldNumber(doc, d, "a", 0, 255), 0x7E);
    EXPECT_EQ(pixelart::FieldNumber(doc, d, "b", 0, 255), 12);
    EXPECT_FALSE(pixelart::OptionalFieldNumber(doc, d, "e", 0, 255).has_value());
    EXPECT_EQ(ErrorOf([&] { pixelart::FieldNumber(doc, d, "c", 0, 255); }),
              "n.txt:1: c=0x1g is not a number (expected decimal or 0x hexadecimal, 0 to 255)");
    EXPECT_EQ(ErrorOf([&] { pixelart::FieldNumber(doc, d, "d", 0, 255); }),
              "n.txt:1: d=300 is out of range (expected 0 to 255)");
    EXPECT_EQ(ErrorOf([&] { pixelart::FieldNumber(doc, d, "e", 1, 9); }),
              "n.txt:1: missing field e= (expected a number from 1 to 9)");
    EXPECT_EQ(ErrorOf([&] {
                  pixelart::RequireOnlyFields(doc, d, {"a", "b"});
              }),
              "n.txt:1: unknown field c= on 'd' (expected a=, b=)");
}

// --------------------------------------------------------------- the font ---

TEST(PixelArtFont, ReadsTheHeaderAndOneGlyphPerCode) {
    const pixelart::FontSource font = ParseFont(ParseDocument(
        SmallFont("0x42", Glyph("glyph 0x41 'A'", kA, 3) + Glyph("glyph 0x42 'B'", kB, 3)),
        "f.glyphs"));
    const pixelart::FontHeader& h = font.header;
    EXPECT_TRUE(h.proportional());
    EXPECT_EQ(h.first, 0x41);
    EXPECT_EQ(h.last, 0x42);
    EXPECT_EQ(h.cellWidth, 4);
    EXPECT_EQ(h.cellHeight, 5);
    EXPECT_EQ(h.ascent, 3);
    EXPECT_EQ(h.spacing, 1);
    EXPECT_EQ(h.lineGap, 2);
    ASSERT_EQ(font.glyphs.size(), 2u);
    EXPECT_EQ(font.glyphs[1].code, 0x42);
    EXPECT_EQ(font.glyphs[1].label, "B");
    EXPECT_EQ(font.glyphs[1].line, 11);
    EXPECT_EQ(font.glyphs[1].picture.rows[1], Bits("#.#."));
}

TEST(PixelArtFont, RejectsGlyphsThatDoNotFitTheFont) {
    const std::string a = Glyph("glyph 0x41 'A'", kA, 3);
    EXPECT_EQ(FontError(SmallFont("0x42", a + Glyph("glyph 0x43 'C'", kB, 3))),
              "f.glyphs:11: glyph 0x43 found where glyph 0x42 is expected (every code from first "
              "to last once, in order)");
    EXPECT_EQ(FontError(SmallFont("0x41", Glyph("glyph 0x41 'a'", kA, 3))),
              "f.glyphs:3: glyph 0x41 names 'a', expected 'A'");
    EXPECT_EQ(FontError(SmallFont("0x41", Glyph("glyph 0x41", kA, 3))),
              "f.glyphs:3: glyph 0x41 names '', expected 'A'");
    EXPECT_EQ(FontError(SmallFont("0x41", Glyph("glyph 0x41 'A'", {"#.", "#.", "#."}, 3))),
              "f.glyphs:3: glyph 0x41 'A' draws 3 rows, expected 5 (cell-height)");
    EXPECT_EQ(FontError(SmallFont("0x41", Glyph("glyph 0x41 'A'", kA, 9))),
              "f.glyphs:3: glyph 0x41 'A' has no baseline line of '-' (expected one after 3 "
              "rows, ascent=3)");
    EXPECT_EQ(FontError(SmallFont("0x41", Glyph("glyph 0x41 'A'", kA, 2))),
              "f.glyphs:3: glyph 0x41 'A': its baseline comes after 2 rows, expected after 3 "
              "(ascent)");
    EXPECT_EQ(FontError(SmallFont("0x41", Glyph("glyph 0x41 'A'", kBlank, 3), "fixed")),
              "f.glyphs:3: glyph 0x41 'A' is 2 pixels wide, expected 4 (cell-width of a fixed "
              "font)");
    EXPECT_EQ(
        FontError(SmallFont(
            "0x41", Glyph("glyph 0x41 'A'", std::vector<std::string>(5, std::string(17, '.')), 3))),
        "f.glyphs:3: glyph 0x41 'A' is 17 pixels wide, expected 1 to 16");
    EXPECT_EQ(FontError(SmallFont("0x42", a)),
              "f.glyphs:10: the font ends before glyph 0x42 (expected glyphs up to last=0x42)");
    EXPECT_EQ(FontError(SmallFont("0x41", a + "glyph 0x42 'B'\n")),
              "f.glyphs:11: 'glyph' after the last glyph 0x41 (last=)");
    EXPECT_EQ(FontError(SmallFont("0x41", Glyph("glyph 0x41 'A' above=1", kA, 3))),
              "f.glyphs:3: give both above= and rows=, or neither");
    EXPECT_EQ(FontError(SmallFont("0x41", Glyph("glyph 0x41 'A' above=2 rows=1", kA, 3))),
              "f.glyphs:3: row 1 has dark pixels outside above=2 rows=1");
    EXPECT_EQ(FontError(SmallFont("0x41", Glyph("glyph 0x41 'A' above=1 rows=5", kA, 3))),
              "f.glyphs:3: above=1 rows=5 reach row 5, below the cell (cell-height 5)");
}

TEST(PixelArtFont, RejectsABadFontLine) {
    EXPECT_EQ(FontError(""), "f.glyphs: no font line (expected 'font kind=... first=...')");
    EXPECT_EQ(FontError("glyph 0x41 'A'\n"),
              "f.glyphs:1: 'glyph' before the font line (expected 'font' first)");
    EXPECT_EQ(FontError("font kind=wide first=1 last=2\n"),
              "f.glyphs:1: kind=wide is not a font kind (expected proportional or fixed)");
    EXPECT_EQ(FontError("font kind=fixed first=1 last=2 height=3\n"),
              "f.glyphs:1: unknown field height= on 'font' (expected kind=, first=, last=, "
              "cell-width=, cell-height=, ascent=, spacing=, line-gap=, class=)");
    EXPECT_EQ(FontError("font kind=fixed first=9 last=2\n"),
              "f.glyphs:1: last=2 is out of range (expected 9 to 255)");
    EXPECT_EQ(FontError("font kind=fixed first=1 last=2 cell-width=17\n"),
              "f.glyphs:1: cell-width=17 is out of range (expected 1 to 16)");
    EXPECT_EQ(FontError("font kind=fixed first=1 last=2 cell-width=8 cell-height=5 ascent=6\n"),
              "f.glyphs:1: ascent=6 is out of range (expected 0 to 5)");
}

// ----------------------------------------------------------- the encoding ---

pixelart::FontSource Font(const std::string& text) {
    return ParseFont(ParseDocument(text, "f.glyphs"));
}

TEST(PixelArtEncoding, StoresTheRowsBetweenTheFirstAndLastDarkRow) {
    const pixelart::EncodedFont encoded = EncodeFont(
        Font(SmallFont("0x43", Glyph("glyph 0x41 'A'", kA, 3) + Glyph("glyph 0x42 'B'", kB, 3) +
                                   Glyph("glyph 0x43 'C'", kBlank, 3))));
    const std::vector<uint8_t> expected = {
        0x80, 0x41, 0x43, 4,    5,    3, 1, 2, 0,  // header
        0x12, 4,    0x60, 0x90, 0xF0,              // A: 1 blank row above, 3 stored rows
        0x02, 4,    0xC0, 0xA0, 0xC0,              // B: none above, 3 stored rows
        0x00, 2,    0x00,                          // C: blank, one blank row stored
    };
    EXPECT_EQ(encoded.bytes, expected);
    EXPECT_EQ(encoded.glyphOffsets, (std::vector<size_t>{9, 14, 19}));
    EXPECT_EQ(encoded.layouts[0].blankAbove, 1);
    EXPECT_EQ(encoded.layouts[0].storedRows, 3);
}

TEST(PixelArtEncoding, WideGlyphsTakeTwoBytesPerRowLeftmostByteFirst) {
    const std::vector<std::string> wide = {"..........", "#........#", "##########", "..........",
                                           ".........."};
    const pixelart::EncodedFont encoded =
        EncodeFont(Font(SmallFont("0x41", Glyph("glyph 0x41 'A'", wide, 3), "proportional", 9)));
    const std::vector<uint8_t> glyph(encoded.bytes.begin() + 9, encoded.bytes.end());
    EXPECT_EQ(glyph, (std::vector<uint8_t>{0x11, 10, 0x80, 0x40, 0xFF, 0xC0}));
}

TEST(PixelArtEncoding, FixedFontsOfWidthEightPadEachGlyphByOneBytePerRow) {
    // The module's walk counts two bytes per row for cell width 8, its
    // drawing reads one: the rows come first, then one zero byte per row.
    const std::vector<std::string> a = {"........", "#......#", "########", "........", "........"};
    const std::vector<std::string> b = {"#.......", "........", "........", "........", "........"};
    const pixelart::EncodedFont encoded = EncodeFont(Font(SmallFont(
        "0x42", Glyph("glyph 0x41 'A'", a, 3) + Glyph("glyph 0x42 'B'", b, 3), "fixed", 8)));
    const std::vector<uint8_t> glyphs(encoded.bytes.begin() + 9, encoded.bytes.end());
    EXPECT_EQ(glyphs, (std::vector<uint8_t>{0x11, 0x81, 0xFF, 0, 0, 0x00, 0x80, 0}));
    EXPECT_EQ(encoded.bytes[0], 0);  // fixed
    EXPECT_EQ(encoded.glyphOffsets, (std::vector<size_t>{9, 14}));

    // Width 7 needs no padding: walk and drawing agree on one byte per row.
    const std::vector<std::string> narrow = {".......", "#.....#", ".......", ".......", "......."};
    const pixelart::EncodedFont seven =
        EncodeFont(Font(SmallFont("0x41", Glyph("glyph 0x41 'A'", narrow, 3), "fixed", 7)));
    EXPECT_EQ(std::vector<uint8_t>(seven.bytes.begin() + 9, seven.bytes.end()),
              (std::vector<uint8_t>{0x10, 0x82}));
}

TEST(PixelArtEncoding, PadsToAnExactSizeAboveFirstThenBelowInCodeOrder) {
    const std::string source =
        SmallFont("0x43", Glyph("glyph 0x41 'A'", kA, 3) + Glyph("glyph 0x42 'B'", kB, 3) +
                              Glyph("glyph 0x43 'C'", kBlank, 3));
    const pixelart::FontSource font = Font(source);
    ASSERT_EQ(EncodeFont(font).bytes.size(), 22u);

    // One byte: A's blank row above becomes a stored row.
    const pixelart::EncodedFont plus1 = EncodeFont(font, 23);
    ASSERT_EQ(plus1.bytes.size(), 23u);
    EXPECT_EQ(std::vector<uint8_t>(plus1.bytes.begin() + 9, plus1.bytes.begin() + 15),
              (std::vector<uint8_t>{0x03, 4, 0x00, 0x60, 0x90, 0xF0}));

    // Four more: A, then B, then C store blank rows below, down to the cell.
    const pixelart::EncodedFont plus5 = EncodeFont(font, 27);
    ASSERT_EQ(plus5.bytes.size(), 27u);
    EXPECT_EQ(plus5.layouts[0].blankAbove, 0);
    EXPECT_EQ(plus5.layouts[0].storedRows, 5);
    EXPECT_EQ(plus5.layouts[1].storedRows, 5);
    EXPECT_EQ(plus5.layouts[2].storedRows, 2);
    EXPECT_EQ(std::vector<uint8_t>(plus5.bytes.begin() + 9, plus5.bytes.end()),
              (std::vector<uint8_t>{0x04, 4, 0x00, 0x60, 0x90, 0xF0, 0x00,  //
                                    0x04, 4, 0xC0, 0xA0, 0xC0, 0x00, 0x00,  //
                                    0x01, 2, 0x00, 0x00}));

    // Everything up to whole cells: 3 glyphs x (2 + 5 rows) + 9.
    EXPECT_EQ(EncodeFont(font, 30).layouts[2].storedRows, 5);
    EXPECT_EQ(ErrorOf([&] { EncodeFont(font, 31); }),
              "f.glyphs:1: cannot fill the table to exactly 31 bytes: 1 bytes are left over once "
              "every glyph stores its whole cell");
    EXPECT_EQ(ErrorOf([&] { EncodeFont(font, 21); }),
              "f.glyphs:1: the glyphs need 22 bytes, more than the table size 21 (draw them "
              "smaller or give a larger size)");
}

TEST(PixelArtEncoding, AHandFixedLayoutIsKeptAndNeverPadded) {
    const pixelart::FontSource font = Font(SmallFont(
        "0x42", Glyph("glyph 0x41 'A' above=0 rows=4", kA, 3) + Glyph("glyph 0x42 'B'", kB, 3)));
    const pixelart::EncodedFont encoded = EncodeFont(font, 9 + 6 + 7);
    EXPECT_EQ(encoded.layouts[0].blankAbove, 0);
    EXPECT_EQ(encoded.layouts[0].storedRows, 4);
    EXPECT_EQ(encoded.layouts[1].storedRows, 5);  // the padding went to B
    EXPECT_EQ(encoded.bytes[9], 0x03);
}

TEST(PixelArtEncoding, RefusesDarkRowsThatNeedMoreThanSixteenStoredRows) {
    std::vector<std::string> tall(20, "..");
    tall[0] = "#.";
    tall[17] = "#.";
    const std::string source =
        "font kind=proportional first=0x41 last=0x41 cell-width=2 cell-height=20 ascent=18 "
        "spacing=0 line-gap=0 class=0\n" +
        Glyph("glyph 0x41 'A'", tall, 18);
    EXPECT_EQ(ErrorOf([&] { EncodeFont(Font(source)); }),
              "f.glyphs:2: glyph 0x41: its dark rows run from row 0 to row 17, which needs 18 "
              "stored rows below 0 blank ones (at most 16 can be stored)");
    // More than 15 blank rows above: the rest are stored.
    std::vector<std::string> low(20, "..");
    low[17] = "#.";
    const pixelart::EncodedFont encoded = EncodeFont(
        Font("font kind=proportional first=0x41 last=0x41 cell-width=2 cell-height=20 ascent=18 "
             "spacing=0 line-gap=0 class=0\n" +
             Glyph("glyph 0x41 'A'", low, 18)));
    EXPECT_EQ(encoded.bytes[9], 0xF2);  // 15 above, 3 stored (two blank, then the dark one)
}

}  // namespace
