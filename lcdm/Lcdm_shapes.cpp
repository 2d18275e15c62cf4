// Lines, boxes, pattern fills and the cursor moves: geometry built on the
// pixel and span primitives.
#include <cstring>

#include "Lcdm_memory.h"
#include "Lcdm_status.h"

namespace lcdm {

namespace {

// Move and line targets may lie left of or above the screen (drawing from
// there is clipped), but never right of or below it.
bool BeyondScreen(int x, int y) {
    return x >= kScreenWidth || y >= kScreenHeight;
}

bool OffScreen(int x, int y) {
    return x < 0 || y < 0 || BeyondScreen(x, y);
}

int Abs(int v) {
    return v < 0 ? -v : v;
}

// The rounding of a line's minor axis: half away from the start, toward the
// end's side, then truncated toward zero.
int MinorStep(int i, float slope, bool towardsLarger) {
    const double exact = static_cast<double>(i) * static_cast<double>(slope);
    return static_cast<int>(towardsLarger ? exact + 0.5 : exact - 0.5);
}

// A horizontal line as one all-ones span, clipped to the screen first so that
// a long line is never cut to the span buffer's 64 pixels.
void DrawRowRun(int xa, int xb, int y) {
    int from = xa < xb ? xa : xb;
    int to = xa < xb ? xb : xa;
    from = from < 0 ? 0 : from;
    to = to >= kScreenWidth ? kScreenWidth - 1 : to;
    if (from > to) {
        return;
    }
    std::memset(Graphics.SpanBuffer, 0xFF, sizeof Graphics.SpanBuffer);
    DrawSpan(from, y, to - from + 1);
}

// Shallow lines step along x; the start is the end with the smaller x.
void DrawShallowLine(int x0, int y0, int x1, int y1) {
    if (x0 > x1) {
        DrawShallowLine(x1, y1, x0, y0);
        return;
    }
    const int dx = x1 - x0;
    const float slope = static_cast<float>(y1 - y0) / static_cast<float>(dx);
    DrawPixel(x0, y0, true);
    for (int i = 1; i <= dx; ++i) {
        DrawPixel(x0 + i, y0 + MinorStep(i, slope, y0 < y1), true);
    }
}

// Steep lines step along y; the start is the end with the smaller y.
void DrawSteepLine(int x0, int y0, int x1, int y1) {
    if (y0 > y1) {
        DrawSteepLine(x1, y1, x0, y0);
        return;
    }
    const int dy = y1 - y0;
    const float slope = static_cast<float>(x1 - x0) / static_cast<float>(dy);
    DrawPixel(x0, y0, true);
    for (int i = 1; i <= dy; ++i) {
        DrawPixel(x0 + MinorStep(i, slope, x0 < x1), y0 + i, true);
    }
}

// Fills the span buffer for one box row: all on, or only the two side columns.
void FillBoxRow(int width, bool middle) {
    std::memset(Graphics.SpanBuffer, middle ? 0x00 : 0xFF, sizeof Graphics.SpanBuffer);
    if (middle) {
        Graphics.SpanBuffer[0] = 0x80;
        Graphics.SpanBuffer[(width - 1) / 8] |= static_cast<uint8_t>(0x80u >> ((width - 1) & 7));
    }
}

}  // namespace

uint8_t MoveTo(int x, int y) {
    if (BeyondScreen(x, y)) {
        return kStatusOffScreen;
    }
    Graphics.GraphicsCursor = Point{x, y};
    return kStatusOk;
}

uint8_t DrawLine(int x0, int y0, int x1, int y1) {
    const int dx = x1 - x0;
    const int dy = y1 - y0;
    if (dy == 0) {
        DrawRowRun(x0, x1, y0);
    } else if (Abs(dx) >= Abs(dy)) {
        DrawShallowLine(x0, y0, x1, y1);
    } else {
        DrawSteepLine(x0, y0, x1, y1);
    }
    return kStatusOk;
}

uint8_t LineTo(int x, int y) {
    if (BeyondScreen(x, y)) {
        return kStatusOffScreen;
    }
    DrawLine(Graphics.GraphicsCursor.x, Graphics.GraphicsCursor.y, x, y);
    Graphics.GraphicsCursor = Point{x, y};
    return kStatusOk;
}

uint8_t DrawBox(int x0, int y0, int x1, int y1) {
    if (OffScreen(x0, y0) || OffScreen(x1, y1)) {
        return kStatusOffScreen;
    }
    // The right edge is column x1 - 1; the bottom edge is row y1 itself.
    const int width = x1 - x0;
    if (width > 0) {
        FillBoxRow(width, false);
        DrawSpan(x0, y0, width);
        for (int y = y0 + 1; y < y1; ++y) {
            FillBoxRow(width, true);
            DrawSpan(x0, y, width);
        }
        FillBoxRow(width, false);
        DrawSpan(x0, y1, width);
    }
    Graphics.GraphicsCursor = Point{x0, y0};
    return kStatusOk;
}

void FillPattern(int x0, int y0, int x1, int y1, uint16_t pattern) {
    // Only the on-screen part is visited; DrawPixel would drop the rest.
    const int fromX = x0 < 0 ? 0 : x0;
    const int toX = x1 >= kScreenWidth ? kScreenWidth - 1 : x1;
    const int fromY = y0 < 0 ? 0 : y0;
    const int toY = y1 >= kScreenHeight ? kScreenHeight - 1 : y1;
    for (int y = fromY; y <= toY; ++y)
        FillRowPattern(fromX, toX, y, (y & 1) != 0 ? HighByte(pattern) : LowByte(pattern));
    Graphics.GraphicsCursor = Point{x0, y0};
}

}  // namespace lcdm
