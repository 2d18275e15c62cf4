// Images and icons: raw and nibble-coded pictures, header checks, icons with
// their vertical offset, the icon lookup, and pictures at the end of memory.
#include <cstring>
#include <vector>

#include "module_fixture.h"

namespace zortest {
namespace {

using namespace lcdm;

class BitmapsTest : public ModuleTest {
protected:
    // Writes an image header and its data at address; returns the header view.
    static ByteView PutImage(uint16_t address, uint8_t compression, uint16_t dataLength,
                             uint16_t width, uint16_t height, const std::vector<uint8_t>& data) {
        const std::vector<uint8_t> header = {
            compression,    HighByte(dataLength), LowByte(dataLength), HighByte(width),
            LowByte(width), HighByte(height),     LowByte(height),     0};
        PutBytes(address, header);
        PutBytes(uint16_t(address + 8), data);
        return MemoryView(address);
    }
    static ByteView PutCoded(uint8_t compression, uint16_t width,
                             const std::vector<uint8_t>& codes) {
        return PutImage(200, compression, uint16_t(codes.size()), width, 128, codes);
    }
    static void PutBytes(uint16_t address, const std::vector<uint8_t>& bytes) {
        for (size_t i = 0; i < bytes.size(); ++i) WriteMemoryByte(bytes[i], uint16_t(address + i));
    }
    static void FillScreen() { std::memset(Graphics.FrameBuffer, 0xFF, kFrameBufferSize); }
    static void ExpectCursor(int x, int y) {
        EXPECT_EQ(Graphics.GraphicsCursor.x, x);
        EXPECT_EQ(Graphics.GraphicsCursor.y, y);
    }
};

// ------------------------------------------------------------- raw images ---

TEST_F(BitmapsTest, RawRowsIgnoreBitsPastTheWidth) {
    const ByteView header = PutImage(100, 0, 6, 10, 3, {0xFF, 0xFF, 0x81, 0x7F, 0xAA, 0xC0});
    EXPECT_EQ(DrawImageRecord(2, 5, header), 0);
    EXPECT_EQ(RowText(5, 0, 13),
              ".."
              "##########"
              "..");
    EXPECT_EQ(RowText(6, 0, 13),
              ".."
              "#......#.#"
              "..");
    EXPECT_EQ(RowText(7, 0, 13),
              ".."
              "#.#.#.#.##"
              "..");
    EXPECT_EQ(PixelsOn(), 10 + 3 + 6);
    ExpectCursor(2, 5);
    EXPECT_EQ(Images.ImageDescriptor.width, 10);
    EXPECT_EQ(Images.ImageDescriptor.height, 3);
    EXPECT_EQ(Images.ImageDescriptor.dataLength, 6);
}

TEST_F(BitmapsTest, RawImagesAreClippedAtEveryEdge) {
    const std::vector<uint8_t> rows = {0xFF, 0x0F, 0xF0, 0xFF};
    const ByteView header = PutImage(100, 0, 4, 16, 2, rows);
    EXPECT_EQ(DrawImageRecord(60, 0, header), 0);  // only the first four columns show
    EXPECT_EQ(RowText(0, 56, 63), "....####");
    EXPECT_EQ(RowText(1, 56, 63), "....####");
    EXPECT_EQ(PixelsOn(), 8);
    ExpectCursor(60, 0);

    ClearScreen();
    EXPECT_EQ(MoveTo(-8, 20), 0);  // left of the screen: columns 8..15 show
    EXPECT_EQ(DrawImageRecord(Graphics.GraphicsCursor.x, Graphics.GraphicsCursor.y, header), 0);
    EXPECT_EQ(RowText(20, 0, 8), "....####.");
    EXPECT_EQ(RowText(21, 0, 8), "########.");
    EXPECT_EQ(PixelsOn(), 12);

    ClearScreen();
    EXPECT_EQ(DrawImageRecord(0, 127, header), 0);
    EXPECT_EQ(DrawImageRecord(0, -1, header), 0);
    EXPECT_EQ(RowText(127, 0, 15), "########....####");
    EXPECT_EQ(RowText(0, 0, 15), "####....########");  // first row above the screen
    EXPECT_EQ(PixelsOn(), 24);
}

TEST_F(BitmapsTest, FullScreenRawImage) {
    std::vector<uint8_t> rows(1024);
    for (size_t i = 0; i < rows.size(); ++i) rows[i] = uint8_t(i * 37 + 5);
    const ByteView header = PutImage(1000, 0, 1024, 64, 128, rows);
    EXPECT_EQ(DrawImageRecord(0, 0, header), 0);
    EXPECT_EQ(std::memcmp(Graphics.FrameBuffer, rows.data(), 1024), 0);
}

TEST_F(BitmapsTest, BadSizesAndCompressionsDrawNothing) {
    struct Case {
        uint8_t compression;
        uint16_t width, height;
        uint8_t status;
    };
    const Case cases[] = {{0, 65, 1, 1},  {0, 0, 1, 1},     {0, 8, 0, 1},
                          {0, 8, 129, 1}, {1, 264, 1, 1},   {0, 8, 0x8001, 1},
                          {3, 8, 1, 3},   {255, 8, 1, 255}, {3, 65, 1, 1}};
    for (const Case& c : cases) {
        EXPECT_EQ(MoveTo(7, 9), 0);
        const ByteView header = PutImage(100, c.compression, 1, c.width, c.height, {0xFF});
        EXPECT_EQ(DrawImageRecord(3, 4, header), c.status) << c.width << "x" << c.height;
        ExpectCursor(7, 9);
    }
    EXPECT_EQ(PixelsOn(), 0);

    // The largest sizes are accepted.
    EXPECT_EQ(DrawImageRecord(0, 0, PutImage(100, 0, 1, 64, 128, {0xFF})), 0);
    EXPECT_EQ(DrawImageRecord(0, 0, PutImage(100, 1, 1, 1, 1, {0x6F})), 0);
}

// ----------------------------------------------------------- coded images ---

TEST_F(BitmapsTest, CodedRunThenCopyFromTheRowAbove) {
    FillScreen();
    EXPECT_EQ(DrawImageRecord(4, 10, PutCoded(1, 3, {0x5F, 0x63, 0xF8})), 0);
    EXPECT_EQ(RowText(10, 3, 7), "#####");
    for (int y = 11; y <= 14; ++y) EXPECT_EQ(RowText(y, 3, 7), "#..##") << y;
    EXPECT_EQ(RowText(15, 3, 7), "#####");  // no fifth copied row
    ExpectCursor(4, 10);
}

TEST_F(BitmapsTest, RunCounts) {
    // 32 pixels = 8 nibbles a row: a run of 7 (field 0) and one of 1 (field 6),
    // then 16 zero nibbles (0x70) for two blank rows, then 16 nibbles of 0x5.
    FillScreen();
    EXPECT_EQ(DrawImageRecord(0, 0, PutCoded(1, 32, {0x0F, 0x60, 0x70, 0x75, 0x3A})), 0);
    EXPECT_EQ(RowText(0, 0, 32), std::string(28, '#') + "....#");
    EXPECT_EQ(RowText(1, 0, 32), std::string(32, '.') + "#");
    EXPECT_EQ(RowText(2, 0, 32), std::string(32, '.') + "#");
    std::string fives;
    for (int i = 0; i < 8; ++i) fives += ".#.#";
    EXPECT_EQ(RowText(3, 0, 32), fives + "#");
    EXPECT_EQ(RowText(4, 0, 32), fives + "#");
    // Four 0xA nibbles (field 3) are half a row: not drawn.
    EXPECT_EQ(RowText(5, 0, 32), std::string(33, '#'));
}

TEST_F(BitmapsTest, CopyCounts) {
    // Width 8 = 2 nibbles a row. Row 0 is A5; a copy of one nibble (0xFE) and a
    // run give row 1 = AC; 0xFF copies 256 nibbles: 128 more rows of AC, the
    // last two below the screen.
    EXPECT_EQ(DrawImageRecord(0, 0, PutCoded(1, 8, {0x6A, 0x65, 0xFE, 0x6C, 0xFF})), 0);
    EXPECT_EQ(RowText(0, 0, 7), "#.#..#.#");
    for (int y = 1; y < 128; ++y) ASSERT_EQ(RowText(y, 0, 7), "#.#.##..") << y;
    EXPECT_EQ(PixelsOn(), 4 + 127 * 4);
}

TEST_F(BitmapsTest, HistoryOfTwoRows) {
    FillScreen();
    // Copies in the first two rows read blank rows above the picture.
    EXPECT_EQ(
        DrawImageRecord(0, 0, PutCoded(2, 8, {0xFD, 0xFD, 0x6C, 0x6C, 0x6A, 0x65, 0xFB, 0xFE})), 0);
    EXPECT_EQ(RowText(0, 0, 8), "........#");
    EXPECT_EQ(RowText(1, 0, 8), "........#");
    EXPECT_EQ(RowText(2, 0, 8), "##..##..#");
    EXPECT_EQ(RowText(3, 0, 8), "#.#..#.##");
    EXPECT_EQ(RowText(4, 0, 8), "##..##..#");  // two rows up, not one
    EXPECT_EQ(RowText(5, 0, 8), "#.#..#.##");
    EXPECT_EQ(RowText(6, 0, 8), "#########");  // one nibble only: row not drawn
}

TEST_F(BitmapsTest, EveryCodedImageStartsWithABlankHistory) {
    EXPECT_EQ(DrawImageRecord(0, 0, PutCoded(2, 64, {0x7F, 0x7F})), 0);
    FillScreen();
    EXPECT_EQ(DrawImageRecord(0, 0, PutCoded(1, 64, {0xEF})), 0);  // copies one row
    EXPECT_EQ(RowText(0), std::string(64, '.'));
    EXPECT_EQ(RowText(1), std::string(64, '#'));
}

TEST_F(BitmapsTest, HistoryRingSpansWideRows) {
    // 64 pixels, history of 2 rows = 32 nibbles, the whole ring.
    std::vector<uint8_t> codes = {0x7F, 0x70, 0xFF};  // rows: on, off, then 16 copies
    EXPECT_EQ(DrawImageRecord(0, 0, PutCoded(2, 64, codes)), 0);
    for (int y = 0; y < 18; ++y)
        ASSERT_EQ(RowText(y), std::string(64, y % 2 == 0 ? '#' : '.')) << y;
    EXPECT_EQ(PixelsOn(), 9 * 64);
}

TEST_F(BitmapsTest, HeightTakesNoPartInDecoding) {
    const ByteView header = PutImage(100, 1, 3, 8, 1, {0x5F, 0xFD, 0xFD});
    EXPECT_EQ(DrawImageRecord(0, 0, header), 0);
    for (int y = 0; y < 3; ++y) EXPECT_EQ(RowText(y, 0, 7), "########") << y;
    EXPECT_EQ(PixelsOn(), 24);
}

// ------------------------------------------------------------------ icons ---

TEST_F(BitmapsTest, IconRowsLieAboveByTheirOffset) {
    const std::vector<uint8_t> record = {0, 11, 0x12, 0x34, 5, 3, 10, 0, 0xF8, 0x88, 0xF8};
    PutBytes(300, record);
    EXPECT_EQ(DrawIcon(5, 20, MemoryView(300)), 0);
    EXPECT_EQ(RowText(9, 4, 10), ".......");
    EXPECT_EQ(RowText(10, 4, 10), ".#####.");
    EXPECT_EQ(RowText(11, 4, 10), ".#...#.");
    EXPECT_EQ(RowText(12, 4, 10), ".#####.");
    ExpectCursor(5, 10);
    EXPECT_EQ(Images.ImageDescriptor.yOffset, 10);
    EXPECT_EQ(Images.ImageDescriptor.compression, 0);

    // An image header leaves the icon's offset in the descriptor.
    LoadImageHeader(PutImage(100, 0, 1, 8, 1, {0xFF}));
    EXPECT_EQ(Images.ImageDescriptor.yOffset, 10);
}

TEST_F(BitmapsTest, IconWithBadSizeDrawsNothing) {
    PutBytes(300, {0, 9, 0, 1, 0, 1, 0, 0, 0xFF});   // width 0
    PutBytes(320, {0, 9, 0, 1, 65, 1, 0, 0, 0xFF});  // width 65
    EXPECT_EQ(DrawIcon(0, 0, MemoryView(300)), 1);
    EXPECT_EQ(DrawIcon(0, 0, MemoryView(320)), 1);
    EXPECT_EQ(PixelsOn(), 0);
}

// -------------------------------------------------- the end of the memory ---

TEST_F(BitmapsTest, HeaderCutOffByTheEndOfMemory) {
    // Only four header bytes exist: the height reads as 0.
    PutBytes(37340, {0, 0, 1, 0});
    EXPECT_EQ(DrawImageRecord(0, 0, MemoryView(37340)), 1);
    EXPECT_EQ(Images.ImageDescriptor.data.size, 0u);
}

TEST_F(BitmapsTest, RawRowsPastTheEndOfMemoryReadAsBlank) {
    FillScreen();
    // Six data bytes fit before the end; the header claims 20 rows.
    PutImage(37330, 0, 1000, 8, 20, {1, 2, 3, 4, 5, 6});
    EXPECT_EQ(DrawImageRecord(0, 0, MemoryView(37330)), 0);
    for (int y = 0; y < 6; ++y) EXPECT_EQ(ReadFrameRowByte(y, 0), y + 1);
    for (int y = 6; y < 20; ++y) EXPECT_EQ(ReadFrameRowByte(y, 0), 0) << y;
    EXPECT_EQ(ReadFrameRowByte(20, 0), 0xFF);

    // A short view of any array behaves the same way.
    const uint8_t header[] = {0, 0, 2, 0, 8, 0, 3, 0, 0x81};
    ClearScreen();
    EXPECT_EQ(DrawImageRecord(0, 0, ByteView{header, sizeof header}), 0);
    EXPECT_EQ(ReadFrameRowByte(0, 0), 0x81);
    EXPECT_EQ(PixelsOn(), 2);
}

TEST_F(BitmapsTest, LyingCodedLengthStopsAtTheScreenBottom) {
    FillScreen();
    // No coded byte lies inside memory; each missing byte reads as a run of
    // seven blank nibbles, and the picture ends where the screen does.
    PutImage(37336, 1, 0xFFFF, 64, 5, {});
    EXPECT_EQ(DrawImageRecord(0, 0, MemoryView(37336)), 0);
    EXPECT_EQ(PixelsOn(), 0);
    ExpectCursor(0, 0);
}

TEST_F(BitmapsTest, CodedStreamCutByTheEndOfMemory) {
    std::memset(&Graphics.FrameBuffer[118 * 8], 0xFF, 16);  // rows 118 and 119
    PutImage(37334, 1, 3, 16, 1, {0x7F, 0xFF});             // the third code byte is missing
    EXPECT_EQ(DrawImageRecord(8, 50, MemoryView(37334)), 0);
    // Four rows from the run and 64 copied ones (50..117), then 7 zero
    // nibbles: one blank row and three nibbles of a row that is not drawn.
    for (int y = 50; y < 118; ++y)
        ASSERT_EQ(RowText(y), std::string(8, '.') + std::string(16, '#') + std::string(40, '.'))
            << y;
    EXPECT_EQ(RowText(118), std::string(8, '#') + std::string(16, '.') + std::string(40, '#'));
    EXPECT_EQ(RowText(119), std::string(64, '#'));
    EXPECT_EQ(PixelsOn(), 68 * 16 + 48 + 64);
}

// ---------------------------------------------------------------- FindIcon ---

class FindIconTest : public BitmapsTest {
protected:
    // An icon set item at 500 holding the given records after its two fields.
    uint16_t PutIconSet(const std::vector<std::vector<uint8_t>>& records) {
        std::vector<uint8_t> body = {1, 1};
        for (const auto& r : records) body.insert(body.end(), r.begin(), r.end());
        PutBytes(500, {HighByte(uint16_t(body.size() + 4)), LowByte(uint16_t(body.size() + 4)), 1,
                       kItemIconSet});
        PutBytes(504, body);
        Vocabulary.currentIconSet = 504;
        return 506;  // the first record
    }
    static std::vector<uint8_t> Icon(uint16_t code, uint8_t fill) {
        return {0, 10, HighByte(code), LowByte(code), 8, 2, 0, 0, fill, fill};
    }
};

TEST_F(FindIconTest, FirstRecordWithTheCodeWins) {
    EXPECT_EQ(FindIcon(0), 0);  // no icon set
    const uint16_t first = PutIconSet({Icon(0x0102, 1), Icon(0x0201, 2), Icon(0x0201, 3)});
    EXPECT_EQ(FindIcon(0x0102), first);
    EXPECT_EQ(FindIcon(0x0201), first + 10);
    EXPECT_EQ(FindIcon(0x0202), 0);
    EXPECT_EQ(FindIcon(0x0002), 0);

    EXPECT_EQ(DrawIcon(0, 0, MemoryView(FindIcon(0x0201))), 0);
    EXPECT_EQ(ReadFrameRowByte(0, 0), 2);
}

TEST_F(FindIconTest, TheItemLengthBoundsTheWalk) {
    const uint16_t first = PutIconSet({Icon(7, 1)});
    PutBytes(uint16_t(first + 10), Icon(8, 1));  // right after the item
    EXPECT_EQ(FindIcon(7), first);
    EXPECT_EQ(FindIcon(8), 0);
}

TEST_F(FindIconTest, ZeroLengthRecordEndsTheWalk) {
    std::vector<uint8_t> empty = Icon(5, 0);
    empty[1] = 0;
    const uint16_t first = PutIconSet({Icon(4, 1), empty, Icon(6, 1)});
    EXPECT_EQ(FindIcon(4), first);
    EXPECT_EQ(FindIcon(6), 0);
    EXPECT_EQ(FindIcon(5), 0);
}

TEST_F(FindIconTest, ItemsRunningPastTheEndOfMemoryAreRefused) {
    // An icon set item at 37300 whose length claims 100 bytes.
    PutBytes(37300, {0, 100, 1, kItemIconSet, 1, 1});
    PutBytes(37306, Icon(9, 1));
    Vocabulary.currentIconSet = 37304;
    EXPECT_EQ(FindIcon(9), 0);
    // Exactly reaching the end is fine.
    PutBytes(37300, {0, 44, 1, kItemIconSet});
    EXPECT_EQ(FindIcon(9), 37306);
}

TEST_F(FindIconTest, LyingRecordLengthsNeverWrapBack) {
    // Record lengths that add up to 65536 would bring a 16-bit walk back to
    // the first record for ever; the walk must end instead.
    std::vector<uint8_t> huge = Icon(1, 0);
    huge[0] = 0xFF;
    huge[1] = 0xF6;  // 516 + 0xFFF6 is 506 again in 16 bits
    PutIconSet({Icon(3, 0), huge});
    EXPECT_EQ(FindIcon(2), 0);
    EXPECT_EQ(FindIcon(1), 516);

    Vocabulary.currentIconSet = 2;  // no item can start before address 0
    EXPECT_EQ(FindIcon(1), 0);
}

}  // namespace
}  // namespace zortest
