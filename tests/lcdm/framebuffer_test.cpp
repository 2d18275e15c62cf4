// The frame buffer's pixel and span primitives: bit layout, clipping, and the
// agreement of the pixel-wise and byte-wise span paths.
#include <cstring>
#include <random>

#include "module_fixture.h"

namespace zortest {
namespace {

using namespace lcdm;

class FrameBufferTest : public ModuleTest {
protected:
    void FillSpan(std::initializer_list<uint8_t> bytes) {
        std::memset(Graphics.SpanBuffer, 0, sizeof Graphics.SpanBuffer);
        int i = 0;
        for (uint8_t b : bytes) Graphics.SpanBuffer[i++] = b;
    }
    void FillRow(int y, uint8_t value) { std::memset(&Graphics.FrameBuffer[y * 8], value, 8); }
    uint8_t Byte(int y, int b) { return Graphics.FrameBuffer[y * 8 + b]; }
};

TEST_F(FrameBufferTest, PixelLayoutAndRefusals) {
    EXPECT_EQ(DrawPixel(63, 127, true), 0);
    EXPECT_EQ(Graphics.FrameBuffer[1023], 0x01);
    EXPECT_EQ(DrawPixel(0, 0, true), 0);
    EXPECT_EQ(DrawPixel(9, 2, true), 0);
    EXPECT_EQ(Graphics.FrameBuffer[0], 0x80);
    EXPECT_EQ(Graphics.FrameBuffer[17], 0x40);
    EXPECT_EQ(DrawPixel(9, 2, false), 0);
    EXPECT_EQ(Graphics.FrameBuffer[17], 0x00);

    EXPECT_EQ(DrawPixel(64, 0, true), 15);
    EXPECT_EQ(DrawPixel(-1, 5, true), 15);
    EXPECT_EQ(DrawPixel(5, -1, true), 15);
    EXPECT_EQ(DrawPixel(5, 128, true), 15);
    EXPECT_EQ(PixelsOn(), 2);
}

TEST_F(FrameBufferTest, ReadersReturnZeroOutsideTheBuffer) {
    Graphics.FrameBuffer[0] = 0x11;
    Graphics.FrameBuffer[1023] = 0x22;
    Graphics.FrameBuffer[8 * 5 + 3] = 0x33;
    EXPECT_EQ(ReadFrameByte(0), 0x11);
    EXPECT_EQ(ReadFrameByte(1023), 0x22);
    EXPECT_EQ(ReadFrameByte(1024), 0);
    EXPECT_EQ(ReadFrameByte(-1), 0);
    EXPECT_EQ(ReadFrameRowByte(5, 3), 0x33);
    EXPECT_EQ(ReadFrameRowByte(127, 7), 0x22);
    EXPECT_EQ(ReadFrameRowByte(4, 11), 0);  // would be byte 43 of row 5
    EXPECT_EQ(ReadFrameRowByte(5, -1), 0);
    EXPECT_EQ(ReadFrameRowByte(128, 0), 0);
    EXPECT_EQ(ReadFrameRowByte(-1, 7), 0);
}

TEST_F(FrameBufferTest, ClearScreenEmptiesAndHomesTheCursor) {
    std::memset(Graphics.FrameBuffer, 0xFF, sizeof Graphics.FrameBuffer);
    Graphics.GraphicsCursor = Point{7, 9};
    ClearScreen();
    EXPECT_EQ(PixelsOn(), 0);
    EXPECT_EQ(Graphics.GraphicsCursor.x, 0);
    EXPECT_EQ(Graphics.GraphicsCursor.y, 0);
}

TEST_F(FrameBufferTest, FullWidthSpanReplacesTheWholeRow) {
    FillRow(3, 0xFF);
    FillSpan({0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x01});
    EXPECT_EQ(DrawSpan(0, 3, 64), 0);
    const uint8_t expected[8] = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x01};
    EXPECT_EQ(std::memcmp(&Graphics.FrameBuffer[24], expected, 8), 0);
    EXPECT_EQ(Byte(2, 7), 0);  // neighbours untouched
    EXPECT_EQ(Byte(4, 0), 0);
}

TEST_F(FrameBufferTest, WideSpanKeepsPixelsOutsideIt) {
    FillRow(1, 0xFF);
    FillSpan({0x00, 0x00});
    DrawSpan(8, 1, 16);
    EXPECT_EQ(Byte(1, 0), 0xFF);
    EXPECT_EQ(Byte(1, 1), 0x00);
    EXPECT_EQ(Byte(1, 2), 0x00);
    EXPECT_EQ(Byte(1, 3), 0xFF);

    FillRow(2, 0xFF);
    FillSpan({0x00, 0x00});
    DrawSpan(4, 2, 10);
    EXPECT_EQ(Byte(2, 0), 0xF0);  // left 4 pixels kept
    EXPECT_EQ(Byte(2, 1), 0x03);  // right 2 pixels kept
    EXPECT_EQ(Byte(2, 2), 0xFF);
}

TEST_F(FrameBufferTest, WideSpanIsClippedAtBothEdges) {
    FillSpan({0xFF, 0xFF, 0xF0});
    DrawSpan(56, 0, 20);
    EXPECT_EQ(RowText(0), std::string(56, '.') + "########");
    EXPECT_EQ(Byte(1, 0), 0);  // nothing spills into the next row

    // At x = -4 span pixels 4..19 land on columns 0..15.
    FillSpan({0x0F, 0xAA, 0x5F});
    FillRow(6, 0x00);
    FillRow(5, 0xFF);
    DrawSpan(-4, 6, 20);
    EXPECT_EQ(RowText(6, 0, 19), "#####.#.#.#..#.#....");
    EXPECT_EQ(Byte(5, 7), 0xFF);  // nothing spills into the row above
}

TEST_F(FrameBufferTest, SpanRowsOffTheScreen) {
    FillSpan({0xFF, 0xFF, 0xFF});
    EXPECT_EQ(DrawSpan(0, 128, 20), 11);
    EXPECT_EQ(DrawSpan(0, -1, 20), 0);
    EXPECT_EQ(DrawSpan(0, 128, 8), 0);  // the pixel path ignores its refusals
    EXPECT_EQ(DrawSpan(64, 0, 20), 0);
    EXPECT_EQ(DrawSpan(-30, 0, 20), 0);
    EXPECT_EQ(DrawSpan(0, 0, 0), 0);
    EXPECT_EQ(DrawSpan(0, 0, -5), 0);
    EXPECT_EQ(PixelsOn(), 0);
}

TEST_F(FrameBufferTest, OverwideSpanDrawsOnlyTheBuffersPixels) {
    // Bytes 8 and 9 are shift room, never pixels: a width above 64 draws 64.
    std::memset(Graphics.SpanBuffer, 0xFF, sizeof Graphics.SpanBuffer);
    DrawSpan(8, 0, 80);
    EXPECT_EQ(RowText(0), std::string(8, '.') + std::string(56, '#'));
    EXPECT_EQ(Byte(1, 0), 0);
}

// Pixel-wise expectation of any span: pixels x..x+width-1 of the row take the
// span's bits, everything else (other rows included) keeps its value.
void ExpectSpanResult(const uint8_t* before, const uint8_t* span, int x, int y, int width) {
    uint8_t expected[kFrameBufferSize];
    std::memcpy(expected, before, sizeof expected);
    for (int i = 0; i < width; ++i) {
        const int col = x + i;
        if (col < 0 || col > 63 || y < 0 || y > 127) continue;
        const uint8_t mask = uint8_t(0x80 >> (col % 8));
        const bool on = (span[i / 8] & (0x80 >> (i % 8))) != 0;
        uint8_t& cell = expected[y * 8 + col / 8];
        cell = on ? uint8_t(cell | mask) : uint8_t(cell & ~mask);
    }
    ASSERT_EQ(std::memcmp(expected, Graphics.FrameBuffer, sizeof expected), 0)
        << "x=" << x << " y=" << y << " width=" << width;
}

TEST_F(FrameBufferTest, BothSpanPathsMatchThePixelModel) {
    std::mt19937 random(12345);
    for (int width = 1; width <= 64; ++width) {
        for (int x = -72; x <= 72; ++x) {
            for (uint8_t& b : Graphics.FrameBuffer) b = uint8_t(random());
            uint8_t span[kSpanBufferSize];
            for (uint8_t& b : span) b = uint8_t(random());
            std::memcpy(Graphics.SpanBuffer, span, sizeof span);
            uint8_t before[kFrameBufferSize];
            std::memcpy(before, Graphics.FrameBuffer, sizeof before);

            const int y = int(random() % 3) == 0 ? 0 : (int(random() % 3) == 0 ? 127 : 40);
            DrawSpan(x, y, width);
            ExpectSpanResult(before, span, x, y, width);
        }
    }
}

}  // namespace
}  // namespace zortest
