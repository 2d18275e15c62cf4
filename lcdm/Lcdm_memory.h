// Module memory and the frame buffer with its drawing primitives.
//
// Module memory is the flat 37344-byte space that holds the vocabulary; the
// host reads and writes it byte by byte. The frame buffer is the 64 x 128
// one-bit picture every drawing routine ends in.
#pragma once

#include <cstdint>

#include "Lcdm_common.h"
#include "Lcdm_config.h"

namespace lcdm {

// ---------------------------------------------------------------- memory ---

struct MemoryState {
    uint8_t ModuleMemory[kModuleMemorySize];
    uint8_t ZerosPastTheEnd[kZerosPastTheEnd];  // never written
};
extern MemoryState Memory;

// The default memory image: the default vocabulary, then zeros. Generated at
// build time from the readable sources in lcdm/image.
extern const uint8_t DefaultImage[kModuleMemorySize];

// Restores module memory to its program-start contents (the default image).
void ResetMemory();

uint8_t ReadMemoryByte(uint16_t address);    // 0 past the end
uint16_t ReadMemoryWord(uint16_t address);   // big-endian; 0 past the end
uint8_t WriteMemoryByte(uint8_t value, uint16_t address);   // 0, or 9
uint8_t WriteMemoryWord(uint16_t value, uint16_t address);  // 0, or 9
uint8_t CheckMemoryAddress(uint16_t address);               // 0, or 9

// Every change to module memory ends here: the lookup caches built from it
// are stale from now on. The writes above call it; code that writes
// Memory.ModuleMemory directly (a test, a benchmark) must call it as well.
void MemoryWritten();

// A byte of a text font: of the built-in table when fromBuiltIn, else of
// module memory. Offsets past the built-in table read as 0.
uint8_t ReadFontByte(uint16_t offset, bool fromBuiltIn);

// Read-only view of module memory from address to its end (empty past it).
ByteView MemoryView(uint16_t address);

// The window calls these when it opens and closes; the module keeps nothing
// outside its arrays, so both do nothing.
void MemoryOpenHook();
void MemoryCloseHook();

// ----------------------------------------------------------- frame buffer ---

struct Point {
    int x;
    int y;
};

struct GraphicsState {
    uint8_t FrameBuffer[kFrameBufferSize];  // pixel (x, y): bit 0x80 >> (x % 8) of byte y*8 + x/8
    uint8_t SpanBuffer[kSpanBufferSize];    // one row segment, first pixel in bit 7 of byte 0
    Point GraphicsCursor;
};
extern GraphicsState Graphics;

void ResetGraphics();

uint8_t ReadFrameByte(int index);                  // 0 outside 0..1023
uint8_t ReadFrameRowByte(int row, int byteInRow);  // 0 outside the screen

// Status results: 0 done, 11 span row below the screen, 15 off the screen.
uint8_t DrawPixel(int x, int y, bool on);
uint8_t DrawSpan(int x, int y, int width);
// Pixels x .. x + width - 1 of row y, as far as they are on the screen, take
// the bits of `pixels` (pixel x in its top bit; pixels past the 64th clear).
void PutRowPixels(int x, int y, int width, uint64_t pixels);
// Columns fromX .. toX of row y (on the screen) take bit (x mod 8) of pattern.
void FillRowPattern(int fromX, int toX, int y, uint8_t pattern);
void ClearScreen();
uint8_t MoveTo(int x, int y);
uint8_t DrawLine(int x0, int y0, int x1, int y1);
uint8_t LineTo(int x, int y);
uint8_t DrawBox(int x0, int y0, int x1, int y1);
void FillPattern(int x0, int y0, int x1, int y1, uint16_t pattern);

}  // namespace lcdm
