// The frame buffer and its two writing primitives: the single pixel and the
// span, through which images and characters reach the screen.
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

// Short spans go pixel by pixel; every pixel is clipped by DrawPixel.
void DrawSpanByPixels(int x, int y, int width) {
    for (int i = 0; i < width; ++i) {
        const bool on = (Graphics.SpanBuffer[i / 8] & PixelMask(i)) != 0;
        DrawPixel(x + i, y, on);
    }
}

// Shifts span bytes 0..last right by shift bits as one bit string.
void ShiftSpanRight(int last, int shift) {
    if (shift == 0) {
        return;
    }
    for (int k = last; k > 0; --k) {
        const unsigned pair = (Graphics.SpanBuffer[k - 1] << 8) | Graphics.SpanBuffer[k];
        Graphics.SpanBuffer[k] = static_cast<uint8_t>(pair >> shift);
    }
    Graphics.SpanBuffer[0] = static_cast<uint8_t>(Graphics.SpanBuffer[0] >> shift);
}

// Span byte k takes the destination's bits where keep has ones.
void KeepDestinationBits(int k, int y, int byteInRow, uint8_t keep) {
    const uint8_t old = ReadFrameRowByte(y, byteInRow);
    Graphics.SpanBuffer[k] = static_cast<uint8_t>((Graphics.SpanBuffer[k] & ~keep) | (old & keep));
}

// Wide spans are merged a byte at a time: shift the span to the destination's
// bit position, take the pixels outside the span from the destination bytes at
// both edges, then copy whole bytes.
void DrawSpanByBytes(int x, int y, int width) {
    const int shift = x & 7;       // x mod 8, also for negative x
    const int firstByte = x >> 3;  // floor(x / 8), also for negative x
    const int last = width / 8 + 1 < 8 ? width / 8 + 1 : 8;
    const int end = x + width < kScreenWidth ? x + width : kScreenWidth;
    ShiftSpanRight(last, shift);

    if (shift != 0) {
        KeepDestinationBits(0, y, firstByte, static_cast<uint8_t>(0xFF00u >> shift));
    }
    if ((end & 7) != 0) {
        const int endByte = end >> 3;
        KeepDestinationBits(endByte - firstByte, y, endByte,
                            static_cast<uint8_t>(0xFFu >> (end & 7)));
    }
    // Bytes wholly left of column 0 are skipped; nothing after the byte that
    // holds the last drawn column is written.
    const int lastByte = (end - 1) >> 3;
    for (int c = firstByte < 0 ? 0 : firstByte; c <= lastByte; ++c) {
        Graphics.FrameBuffer[y * kFrameBytesPerRow + c] = Graphics.SpanBuffer[c - firstByte];
    }
}

}  // namespace

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
    // Spans that start right of the screen draw nothing on either path (and
    // x + width can then never overflow).
    if (x >= kScreenWidth) {
        return kStatusOk;
    }
    if (width < 9) {
        DrawSpanByPixels(x, y, width);
        return kStatusOk;
    }
    // A span that ends left of column 0 leaves nothing to draw.
    if (y < 0 || x + width <= 0) {
        return kStatusOk;
    }
    DrawSpanByBytes(x, y, width);
    return kStatusOk;
}

void ClearScreen() {
    std::memset(Graphics.FrameBuffer, 0, sizeof Graphics.FrameBuffer);
    Graphics.GraphicsCursor = Point{0, 0};
}

}  // namespace lcdm
