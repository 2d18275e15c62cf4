// The frame buffer and its writing primitives: the single pixel, and the row
// of pixels through which spans, characters and pattern fills reach the
// screen a whole row word at a time.
#include <cstring>

#include "Lcdm_memory.h"
#include "Lcdm_status.h"

namespace lcdm {

namespace {

bool OnScreen(int x, int y) {
    return x >= 0 && x < kScreenWidth && y >= 0 && y < kScreenHeight;
}

// Bit of pixel i in a row of bytes whose first pixel is bit 7 of byte 0.
uint8_t PixelMask(int i) {
    return static_cast<uint8_t>(0x80u >> (i & 7));
}

// Eight bytes as one word, the first in the top byte (written out in full,
// which compilers turn into a single load or store).
static_assert(kFrameBytesPerRow == 8, "a frame row is one 64-bit word");
uint64_t LoadWord(const uint8_t* b) {
    return uint64_t{b[0]} << 56 | uint64_t{b[1]} << 48 | uint64_t{b[2]} << 40 |
           uint64_t{b[3]} << 32 | uint64_t{b[4]} << 24 | uint64_t{b[5]} << 16 |
           uint64_t{b[6]} << 8 | uint64_t{b[7]};
}

void StoreWord(uint8_t* b, uint64_t word) {
    b[0] = static_cast<uint8_t>(word >> 56);
    b[1] = static_cast<uint8_t>(word >> 48);
    b[2] = static_cast<uint8_t>(word >> 40);
    b[3] = static_cast<uint8_t>(word >> 32);
    b[4] = static_cast<uint8_t>(word >> 24);
    b[5] = static_cast<uint8_t>(word >> 16);
    b[6] = static_cast<uint8_t>(word >> 8);
    b[7] = static_cast<uint8_t>(word);
}

// A row of the frame buffer as one word, column 0 in the top bit.
uint64_t LoadRow(int y) {
    return LoadWord(Graphics.FrameBuffer + y * kFrameBytesPerRow);
}
void StoreRow(int y, uint64_t row) {
    StoreWord(Graphics.FrameBuffer + y * kFrameBytesPerRow, row);
}

// Ones in columns from .. to - 1 (0 <= from < to <= 64).
uint64_t ColumnMask(int from, int to) {
    const uint64_t fromOn = ~uint64_t{0} >> from;
    return to == kScreenWidth ? fromOn : fromOn & ~(~uint64_t{0} >> to);
}

// The span buffer's 64 pixels as one word, its first pixel in the top bit.
uint64_t SpanPixels() {
    return LoadWord(Graphics.SpanBuffer);
}

}  // namespace

void PutRowPixels(int x, int y, int width, uint64_t pixels) {
    if (y < 0 || y >= kScreenHeight || width <= 0 || x >= kScreenWidth) return;
    const long end = static_cast<long>(x) + width;
    if (end <= 0) return;
    const int from = x < 0 ? 0 : x;
    const int to = end > kScreenWidth ? kScreenWidth : static_cast<int>(end);
    // Pixel i of the span lands on column x + i; pixels past its 64th are clear.
    const uint64_t placed = x >= 0 ? pixels >> x : (-x >= kScreenWidth ? 0 : pixels << -x);
    const uint64_t mask = ColumnMask(from, to);
    StoreRow(y, (LoadRow(y) & ~mask) | (placed & mask));
}

void FillRowPattern(int fromX, int toX, int y, uint8_t pattern) {
    if (y < 0 || y >= kScreenHeight || fromX > toX) return;
    // Pattern bit 0 is the leftmost column of each group of eight, which is
    // bit 7 of a frame byte: the byte is the pattern reversed.
    uint8_t reversed = 0;
    for (int bit = 0; bit < 8; ++bit)
        reversed = static_cast<uint8_t>(reversed << 1 | ((pattern >> bit) & 1));
    const uint64_t row = reversed * 0x0101010101010101ull;
    const uint64_t mask = ColumnMask(fromX, toX + 1);
    StoreRow(y, (LoadRow(y) & ~mask) | (row & mask));
}

uint8_t ReadFrameByte(int index) {
    if (index < 0 || index >= static_cast<int>(kFrameBufferSize)) {
        return 0;
    }
    return Graphics.FrameBuffer[index];
}

uint8_t ReadFrameRowByte(int row, int byteInRow) {
    if (row < 0 || row >= kScreenHeight || byteInRow < 0 || byteInRow >= kFrameBytesPerRow) {
        return 0;
    }
    return Graphics.FrameBuffer[row * kFrameBytesPerRow + byteInRow];
}

uint8_t DrawPixel(int x, int y, bool on) {
    if (!OnScreen(x, y)) {
        return kStatusOffScreen;
    }
    uint8_t& cell = Graphics.FrameBuffer[y * kFrameBytesPerRow + x / 8];
    const uint8_t mask = PixelMask(x);
    cell = static_cast<uint8_t>(on ? (cell | mask) : (cell & ~mask));
    return kStatusOk;
}

// Every pixel of the span is written as DrawPixel would write it, clipped to
// the screen: a narrow span and a wide one differ only in the status of a
// row below the screen, which only a wide one reports.
uint8_t DrawSpan(int x, int y, int width) {
    // The span buffer holds 64 pixels; a wider span would draw the two bytes
    // of shift room as pixels, so it is cut to the buffer's 64.
    if (width > kScreenWidth) {
        width = kScreenWidth;
    }
    if (width <= 0) {
        return kStatusOk;
    }
    if (width >= 9 && y >= kScreenHeight) {
        return kStatusIndexRange;
    }
    PutRowPixels(x, y, width, SpanPixels());
    return kStatusOk;
}

void ClearScreen() {
    std::memset(Graphics.FrameBuffer, 0, sizeof Graphics.FrameBuffer);
    Graphics.GraphicsCursor = Point{0, 0};
}

}  // namespace lcdm
