// Lines, boxes, pattern fills and cursor moves.
#include <cstring>
#include <set>
#include <utility>

#include "module_fixture.h"

namespace zortest {
namespace {

using namespace lcdm;
using Pixels = std::set<std::pair<int, int>>;

class ShapesTest : public ModuleTest {
protected:
    // Every pixel that is on, as (x, y).
    static Pixels LitPixels() {
        Pixels lit;
        for (int y = 0; y < 128; ++y)
            for (int x = 0; x < 64; ++x)
                if (PixelOn(x, y)) lit.insert({x, y});
        return lit;
    }
    static Pixels Line(int x0, int y0, int x1, int y1) {
        ClearScreen();
        EXPECT_EQ(DrawLine(x0, y0, x1, y1), 0);
        return LitPixels();
    }
    static void ExpectCursor(int x, int y) {
        EXPECT_EQ(Graphics.GraphicsCursor.x, x);
        EXPECT_EQ(Graphics.GraphicsCursor.y, y);
    }
};

TEST_F(ShapesTest, SlopedLinesRoundTowardTheEnd) {
    EXPECT_EQ(Line(0, 0, 3, 1), (Pixels{{0, 0}, {1, 0}, {2, 1}, {3, 1}}));
    EXPECT_EQ(Line(0, 0, 2, 1), (Pixels{{0, 0}, {1, 1}, {2, 1}}));
    EXPECT_EQ(Line(2, 1, 0, 0), (Pixels{{0, 0}, {1, 1}, {2, 1}}));
    EXPECT_EQ(Line(0, 1, 2, 0), (Pixels{{0, 1}, {1, 0}, {2, 0}}));
    // Steep lines step along y from the upper end.
    EXPECT_EQ(Line(0, 0, 1, 2), (Pixels{{0, 0}, {1, 1}, {1, 2}}));
    EXPECT_EQ(Line(1, 2, 0, 0), (Pixels{{0, 0}, {1, 1}, {1, 2}}));
    EXPECT_EQ(Line(1, 0, 0, 2), (Pixels{{1, 0}, {0, 1}, {0, 2}}));
    EXPECT_EQ(Line(3, 3, 6, 6), (Pixels{{3, 3}, {4, 4}, {5, 5}, {6, 6}}));
    EXPECT_EQ(Line(0, 5, 0, 8), (Pixels{{0, 5}, {0, 6}, {0, 7}, {0, 8}}));
}

TEST_F(ShapesTest, SinglePrecisionSlopeDecidesTheHalfwaySteps) {
    // 1/3 in single precision is a little above 1/3, so 3 * s + 0.5 stays
    // below 2 and the last step of a 1-in-3 line lands on row 1.
    const Pixels line = Line(0, 0, 9, 3);
    EXPECT_EQ(line.size(), 10u);
    EXPECT_TRUE(line.count({9, 3}));
    EXPECT_TRUE(line.count({2, 1}));
    EXPECT_TRUE(line.count({1, 0}));
    // A long shallow line ends exactly on its end point.
    const Pixels longLine = Line(0, 0, 63, 7);
    EXPECT_EQ(longLine.size(), 64u);
    EXPECT_TRUE(longLine.count({63, 7}));
}

TEST_F(ShapesTest, HorizontalLinesAndSinglePoints) {
    EXPECT_EQ(Line(5, 9, 2, 9), (Pixels{{2, 9}, {3, 9}, {4, 9}, {5, 9}}));
    EXPECT_EQ(Line(4, 4, 4, 4), (Pixels{{4, 4}}));
    // Longer than the span buffer and reaching past both screen edges.
    Line(-100, 20, 200, 20);
    EXPECT_EQ(RowText(20), std::string(64, '#'));
    EXPECT_EQ(PixelsOn(), 64);
}

TEST_F(ShapesTest, LinesAreClippedToTheScreen) {
    const Pixels line = Line(-2, -2, 2, 2);
    EXPECT_EQ(line, (Pixels{{0, 0}, {1, 1}, {2, 2}}));
    EXPECT_EQ(Line(60, 126, 66, 132), (Pixels{{60, 126}, {61, 127}}));
    EXPECT_EQ(Line(-10, 200, 100, 200), Pixels{});
    EXPECT_EQ(Line(-10, 5, -3, 5), Pixels{});  // rows wholly left or right of the screen
    EXPECT_EQ(Line(70, 5, 90, 5), Pixels{});
}

TEST_F(ShapesTest, MoveAndLineToAcceptOnlyTargetsLeftOrAboveTheScreen) {
    EXPECT_EQ(MoveTo(64, 0), 15);
    EXPECT_EQ(MoveTo(0, 128), 15);
    ExpectCursor(0, 0);
    EXPECT_EQ(MoveTo(-8, 20), 0);
    ExpectCursor(-8, 20);

    EXPECT_EQ(MoveTo(1, 1), 0);
    EXPECT_EQ(LineTo(64, 0), 15);
    EXPECT_EQ(PixelsOn(), 0);
    ExpectCursor(1, 1);
    EXPECT_EQ(LineTo(3, 1), 0);
    ExpectCursor(3, 1);
    EXPECT_EQ(LitPixels(), (Pixels{{1, 1}, {2, 1}, {3, 1}}));
    EXPECT_EQ(LineTo(-3, -5), 0);
    ExpectCursor(-3, -5);
    EXPECT_TRUE(PixelOn(3, 1));
    EXPECT_TRUE(PixelOn(2, 0));
}

TEST_F(ShapesTest, BoxIsAnOpaqueFrame) {
    std::memset(Graphics.FrameBuffer, 0xFF, sizeof Graphics.FrameBuffer);
    EXPECT_EQ(DrawBox(0, 0, 10, 4), 0);
    for (int y : {0, 4})
        EXPECT_EQ(RowText(y, 0, 10),
                  "##########"
                  "#")
            << y;
    for (int y : {1, 2, 3}) EXPECT_EQ(RowText(y, 0, 10), "#........##") << y;
    EXPECT_EQ(RowText(5, 0, 10), "###########");
    ExpectCursor(0, 0);

    ClearScreen();
    EXPECT_EQ(DrawBox(2, 3, 40, 6), 0);  // wide rows take the byte-wise span
    EXPECT_EQ(RowText(3, 1, 40), "." + std::string(38, '#') + ".");
    EXPECT_EQ(RowText(4, 1, 40), ".#" + std::string(36, '.') + "#.");
    EXPECT_EQ(RowText(6, 1, 40), "." + std::string(38, '#') + ".");
    EXPECT_EQ(PixelsOn(), 38 * 2 + 2 * 2);
    ExpectCursor(2, 3);
}

TEST_F(ShapesTest, BoxCornerCases) {
    EXPECT_EQ(DrawBox(0, 0, 64, 4), 15);
    EXPECT_EQ(DrawBox(-1, 0, 4, 4), 15);
    EXPECT_EQ(DrawBox(0, 0, 4, 128), 15);
    EXPECT_EQ(DrawBox(0, -1, 4, 4), 15);
    EXPECT_EQ(PixelsOn(), 0);
    ExpectCursor(0, 0);

    EXPECT_EQ(DrawBox(5, 5, 5, 9), 0);  // x1 <= x0: nothing, cursor still moves
    EXPECT_EQ(PixelsOn(), 0);
    ExpectCursor(5, 5);

    EXPECT_EQ(DrawBox(1, 10, 4, 7), 0);  // bottom above top: both rows, no middle
    EXPECT_EQ(RowText(10, 0, 4), ".###.");
    EXPECT_EQ(RowText(7, 0, 4), ".###.");
    EXPECT_EQ(PixelsOn(), 6);

    ClearScreen();
    EXPECT_EQ(DrawBox(7, 0, 8, 3), 0);  // one column: the sides coincide
    EXPECT_EQ(LitPixels(), (Pixels{{7, 0}, {7, 1}, {7, 2}, {7, 3}}));
}

TEST_F(ShapesTest, PatternFillUsesReversedBitsAndTwoRows) {
    std::memset(Graphics.FrameBuffer, 0xFF, sizeof Graphics.FrameBuffer);
    FillPattern(0, 0, 7, 1, 0x0201);
    EXPECT_EQ(RowText(0, 0, 8), "#.......#");
    EXPECT_EQ(RowText(1, 0, 8), ".#......#");
    ExpectCursor(0, 0);

    ClearScreen();
    FillPattern(6, 3, 17, 4, 0x8001);  // odd row 3 takes the high byte
    EXPECT_EQ(RowText(3, 5, 18), "..#.......#...");
    EXPECT_EQ(RowText(4, 5, 18), "...#.......#..");
    ExpectCursor(6, 3);
}

TEST_F(ShapesTest, PatternFillClipsAndKeepsTheCursorAsGiven) {
    FillPattern(0, 0, 64, 128, 0xFFFF);
    EXPECT_EQ(PixelsOn(), 64 * 128);
    ExpectCursor(0, 0);

    ClearScreen();
    FillPattern(-3, -1, 1, 0, 0xFFFF);
    EXPECT_EQ(LitPixels(), (Pixels{{0, 0}, {1, 0}}));
    ExpectCursor(-3, -1);
}

// Pattern fills are written a row word at a time: every pixel inside the
// rectangle, clipped, takes its pattern bit, and no pixel outside changes.
TEST_F(ShapesTest, PatternFillMatchesThePixelModel) {
    uint32_t seed = 99;
    const auto next = [&] { return seed = seed * 1103515245u + 12345u, int(seed >> 16); };
    for (int i = 0; i < 300; ++i) {
        for (uint8_t& b : Graphics.FrameBuffer) b = uint8_t(next());
        uint8_t before[kFrameBufferSize];
        std::memcpy(before, Graphics.FrameBuffer, sizeof before);
        const int x0 = next() % 80 - 8, y0 = next() % 140 - 6;
        const int x1 = x0 + next() % 70 - 4, y1 = y0 + next() % 40 - 4;
        const uint16_t pattern = uint16_t(next());
        FillPattern(x0, y0, x1, y1, pattern);
        for (int y = 0; y < 128; ++y)
            for (int x = 0; x < 64; ++x) {
                const bool inside = x >= x0 && x <= x1 && y >= y0 && y <= y1;
                const uint8_t bits = (y & 1) != 0 ? HighByte(pattern) : LowByte(pattern);
                const bool was = (before[y * 8 + x / 8] & (0x80 >> (x % 8))) != 0;
                ASSERT_EQ(inside ? ((bits >> (x & 7)) & 1) != 0 : was, PixelOn(x, y))
                    << x << "," << y << " in " << x0 << "," << y0 << " - " << x1 << "," << y1;
            }
    }
}

}  // namespace
}  // namespace zortest
