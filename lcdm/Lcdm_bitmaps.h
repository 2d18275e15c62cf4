// Bitmaps and icons: the image header, the icon record, the nibble coding
// and the one drawing routine they share.
#pragma once

#include <cstdint>

#include "Lcdm_common.h"

namespace lcdm {

// The picture about to be drawn. Header loaders fill it; the label store's
// dynamic icons and logos fill it directly and then call DrawImage.
struct ImageDescription {
    uint8_t compression = 0;  // 0 raw, 1 or 2 nibble-coded with that many rows of history
    uint16_t dataLength = 0;  // coded bytes (the nibble decoder's only length)
    int width = 0;            // 1..64
    int height = 0;           // 1..128
    uint8_t yOffset = 0;      // icons: rows drawn above the drawing position
    ByteView data;            // rows or coded bytes; reads past the view give 0
};

// Scratch of the decoder: the history ring holds the nibbles of the last one
// or two rows (at most 2 x 8 bytes).
struct ImageState {
    ImageDescription ImageDescriptor;
    uint8_t history[16];
};
extern ImageState Images;

void ResetImages();

// Fill the descriptor from an 8-byte image header (yOffset unchanged) or an
// icon record (compression 0).
void LoadImageHeader(ByteView header);
void LoadIconHeader(ByteView record);

// 0 drawn; 1 bad size; the compression value itself when it is above 2.
uint8_t DrawImage(int x, int y);
uint8_t DrawImageRecord(int x, int y, ByteView header);
uint8_t DrawIcon(int x, int y, ByteView record);

// Module memory address of the icon record with that code in the current
// icon set, or 0.
uint16_t FindIcon(uint16_t code);

}  // namespace lcdm
