// Bitmap and icon pictures, and the nibble coder that fits a coded bitmap to
// an exact length: every coding it makes must decode to the picture.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "pixelart/document.h"
#include "pixelart/error.h"
#include "pixelart/image.h"
#include "pixelart/nibbles.h"

namespace {

using pixelart::DecodeNibbles;
using pixelart::NibbleCoder;
using pixelart::Picture;

template <typename Body>
std::string ErrorOf(Body body) {
    try {
        body();
    } catch (const pixelart::Error& error) {
        return error.what();
    }
    return "";
}

pixelart::PictureSet Pictures(const std::string& text) {
    return pixelart::ParsePictures(pixelart::ParseDocument(text, "p.art"));
}

std::string PicturesError(const std::string& text) {
    return ErrorOf([&] { Pictures(text); });
}

Picture Drawn(const std::vector<std::string>& rows) {
    std::string text = "bitmap 0\n";
    for (const std::string& row : rows) text += row + "\n";
    return Pictures(text).bitmaps.at(0).picture;
}

Picture Random(std::mt19937& random, int width, int height, int density) {
    Picture picture;
    picture.width = width;
    for (int y = 0; y < height; ++y) {
        std::vector<bool> row;
        // Rows often repeat the one above, as drawings do, so copies get used.
        if (y > 0 && random() % 3 == 0) {
            picture.rows.push_back(picture.rows.back());
            continue;
        }
        for (int x = 0; x < width; ++x) row.push_back(static_cast<int>(random() % 100) < density);
        picture.rows.push_back(row);
    }
    return picture;
}

// Decodes a coding and checks it against the picture: every nibble of the
// picture's rows, and less than one row more.
void ExpectDecodesTo(const std::vector<uint8_t>& codes, const Picture& picture, int compression) {
    const int rowNibbles = pixelart::RowBytes(picture.width) * 2;
    const std::vector<uint8_t> expected = pixelart::PictureNibbles(picture);
    const std::vector<uint8_t> decoded = DecodeNibbles(codes, rowNibbles, compression);
    ASSERT_GE(decoded.size(), expected.size());
    EXPECT_LT(decoded.size(), expected.size() + static_cast<size_t>(rowNibbles));
    EXPECT_EQ(std::vector<uint8_t>(decoded.begin(), decoded.begin() + expected.size()), expected);
}

// ----------------------------------------------------------- the pictures ---

TEST(Pictures, ReadBitmapsAndIconsWithTheirFields) {
    const pixelart::PictureSet set = Pictures(
        "// two bitmaps and an icon\n"
        "bitmap 20 'keys 1..4' compression=1\n"
        "#..#\n"
        ".##.\n"
        "\n"
        "icon 0x1234 'Kitchen' y-offset=1\n"
        "###\n"
        "\n"
        "icon 7 'with a baseline'\n"
        "#.\n"
        "--\n"
        ".#\n"
        "\n"
        "bitmap 3\n"
        "#########\n");
    ASSERT_EQ(set.bitmaps.size(), 2u);
    EXPECT_EQ(set.bitmaps[0].number, 20);
    EXPECT_EQ(set.bitmaps[0].label, "keys 1..4");
    EXPECT_EQ(set.bitmaps[0].compression, 1);
    EXPECT_EQ(set.bitmaps[0].line, 2);
    EXPECT_EQ(set.bitmaps[1].compression, 0);  // raw unless told otherwise
    EXPECT_EQ(set.FindBitmap(3), &set.bitmaps[1]);
    EXPECT_EQ(set.FindBitmap(4), nullptr);
    ASSERT_EQ(set.icons.size(), 2u);
    EXPECT_EQ(set.icons[0].code, 0x1234);
    EXPECT_EQ(set.icons[0].yOffset, 1);
    EXPECT_EQ(set.icons[1].yOffset, 1);  // from the baseline
}

TEST(Pictures, RejectWhatTheImageFormatsCannotHold) {
    EXPECT_EQ(PicturesError("bitmap 1\n"),
              "p.art:1: bitmap 1 draws no rows (expected 1 to 128 rows of '#' and '.')");
    EXPECT_EQ(PicturesError("bitmap 1\n" + std::string(65, '#') + "\n"),
              "p.art:1: bitmap 1 is 65 pixels wide, expected 1 to 64");
    std::string tall = "icon 2\n";
    for (int i = 0; i < 129; ++i) tall += "#\n";
    EXPECT_EQ(PicturesError(tall), "p.art:1: icon 2 is 129 rows high, expected 1 to 128");
    EXPECT_EQ(PicturesError("bitmap 1 compression=3\n#\n"),
              "p.art:1: compression=3 is out of range (expected 0 to 2)");
    EXPECT_EQ(PicturesError("bitmap 256\n#\n"),
              "p.art:1: bitmap 256 is not a number from 0 to 255");
    EXPECT_EQ(PicturesError("icon 70000\n#\n"),
              "p.art:1: icon 70000 is not a number from 0 to 65535");
    EXPECT_EQ(PicturesError("bitmap 1\n#\n\nbitmap 1\n#\n"),
              "p.art:4: bitmap 1 is drawn twice (first on line 1)");
    EXPECT_EQ(PicturesError("glyph 0x41 'A'\n#\n"),
              "p.art:1: unexpected 'glyph' (expected 'bitmap NUMBER' or 'icon CODE')");
    EXPECT_EQ(PicturesError("icon 1 size=3\n#\n"),
              "p.art:1: unknown field size= on 'icon' (expected y-offset=)");
    EXPECT_EQ(PicturesError("icon 1 y-offset=2\n#\n-\n#\n"),
              "p.art:1: icon 1: y-offset=2 but the baseline is drawn after 1 rows");
}

TEST(Pictures, EncodeRawRowsIconRecordsAndImageHeaders) {
    const Picture wide = Drawn({"#.......#.", "........##"});
    EXPECT_EQ(pixelart::RawRows(wide), (std::vector<uint8_t>{0x80, 0x80, 0x00, 0xC0}));
    EXPECT_EQ(pixelart::ImageHeader(2, 300, wide),
              (std::vector<uint8_t>{2, 0x01, 0x2C, 0, 10, 0, 2, 0}));
    const pixelart::IconSource icon = Pictures("icon 258 y-offset=9\n###\n#..\n").icons.at(0);
    EXPECT_EQ(pixelart::EncodeIcon(icon),
              (std::vector<uint8_t>{0, 10, 1, 2, 3, 2, 9, 0, 0xE0, 0x80}));
}

// --------------------------------------------------------- the nibble coder ---

TEST(NibbleDecoder, ExpandsRunsAndCopiesAsTheImageFormatDefines) {
    // Width 3: two nibbles a row. Two 0xF, one 0x3, then seven from the row above.
    EXPECT_EQ(DecodeNibbles({0x5F, 0x63, 0xF8}, 2, 1),
              (std::vector<uint8_t>{0xF, 0xF, 0x3, 0xF, 0x3, 0xF, 0x3, 0xF, 0x3, 0xF}));
    EXPECT_EQ(DecodeNibbles({0x70}, 2, 1), std::vector<uint8_t>(16, 0));
    EXPECT_EQ(DecodeNibbles({0x0A}, 2, 1), std::vector<uint8_t>(7, 0xA));
    EXPECT_EQ(DecodeNibbles({0xFF}, 2, 1).size(), 256u);
    EXPECT_EQ(DecodeNibbles({0xFE}, 2, 1).size(), 1u);
    EXPECT_EQ(DecodeNibbles({0x80}, 2, 1).size(), 127u);
    // Two rows of history: the second row copies the blank row above the
    // first (0), the third row repeats the first.
    EXPECT_EQ(DecodeNibbles({0x45, 0xFC}, 2, 2), (std::vector<uint8_t>{5, 5, 5, 0, 5, 5}));
}

TEST(NibbleCoder, ShortestCodingUsesLongRunsAndCopies) {
    // 64 wide, 4 rows: one row of 16 nibbles 0xF, then three identical rows.
    const Picture full = Drawn(std::vector<std::string>(4, std::string(64, '#')));
    const NibbleCoder coder(pixelart::PictureNibbles(full), 16, 1);
    EXPECT_EQ(coder.Shortest(), 2u);  // a run of 16, one copy of 48
    EXPECT_EQ(coder.Code(2), (std::vector<uint8_t>{0x7F, 0x80 | (127 - 48)}));
    EXPECT_EQ(coder.Longest(), 64u + 15u);  // one code a nibble, and spare codes in the last row
}

TEST(NibbleCoder, HitsEveryReachableLengthWithACodingOfThePicture) {
    std::mt19937 random(7);
    for (int round = 0; round < 40; ++round) {
        const int width = 1 + static_cast<int>(random() % 64);
        const int height = 1 + static_cast<int>(random() % 20);
        const int compression = 1 + static_cast<int>(random() % 2);
        const Picture picture = Random(random, width, height, static_cast<int>(random() % 100));
        const NibbleCoder coder(pixelart::PictureNibbles(picture), pixelart::RowBytes(width) * 2,
                                compression);
        SCOPED_TRACE("width " + std::to_string(width) + " height " + std::to_string(height));
        ASSERT_LE(coder.Shortest(), coder.Longest());
        for (size_t length = coder.Shortest(); length <= coder.Longest(); ++length) {
            if (!coder.Reachable(length)) continue;
            const std::vector<uint8_t> codes = coder.Code(length);
            ASSERT_EQ(codes.size(), length);
            ExpectDecodesTo(codes, picture, compression);
        }
        EXPECT_FALSE(coder.Reachable(coder.Shortest() - 1));
        EXPECT_FALSE(coder.Reachable(coder.Longest() + 1));
    }
}

TEST(NibbleCoder, ATrailingRunMaySpillIntoAnIncompleteRow) {
    // One dark row of 40 pixels is ten 0xF nibbles: a run of 16 covers it and
    // spills six nibbles into a row that is never completed, so never drawn.
    const Picture dark = Drawn({std::string(40, '#')});
    const NibbleCoder coder(pixelart::PictureNibbles(dark), 10, 1);
    EXPECT_EQ(coder.Shortest(), 1u);
    EXPECT_EQ(coder.Code(1), std::vector<uint8_t>{0x7F});
    ExpectDecodesTo(coder.Code(1), dark, 1);
    // Where a run fits exactly it is preferred to one that spills.
    const NibbleCoder exact(pixelart::PictureNibbles(Drawn({std::string(64, '.')})), 16, 1);
    EXPECT_EQ(exact.Code(1), std::vector<uint8_t>{0x70});
    // A blank picture is one copy of the blank history, and every length up
    // to one code a nibble is reachable.
    const Picture blank = Drawn(std::vector<std::string>(10, std::string(24, '.')));
    const NibbleCoder blankCoder(pixelart::PictureNibbles(blank), 6, 2);
    EXPECT_EQ(blankCoder.Code(1), std::vector<uint8_t>{0x80 | (127 - 60)});
    for (size_t length = 1; length <= blankCoder.Longest(); ++length)
        EXPECT_TRUE(blankCoder.Reachable(length)) << length;
}

TEST(NibbleCoder, ReportsLengthsThatNoCodingTakes) {
    // Width 8, one row "#.#.#.#." = nibbles A A: one run of two, or two runs
    // of one (or spare codes in the incomplete row after it).
    const NibbleCoder coder(pixelart::PictureNibbles(Drawn({"#.#.#.#."})), 2, 1);
    EXPECT_EQ(coder.Shortest(), 1u);
    EXPECT_EQ(coder.Longest(), 3u);
    EXPECT_FALSE(coder.Reachable(0));
    EXPECT_FALSE(coder.Reachable(4));
    EXPECT_THROW(coder.Code(4), std::invalid_argument);
    EXPECT_THROW(NibbleCoder({1, 2, 3}, 2, 1), std::invalid_argument);  // not whole rows
}

}  // namespace
