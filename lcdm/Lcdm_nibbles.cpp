// The nibble decoder: coded images expand one nibble at a time into a row,
// and each row is drawn the moment it is complete.
//
// A code byte is either a run (one nibble repeated) or a copy (nibbles taken
// from the history ring, which holds the last one or two rows, so a copy
// repeats the picture of the row above or the one above that).
#include <cstring>

#include "Lcdm_bitmaps.h"
#include "Lcdm_memory.h"
#include "Lcdm_nibbles.h"

namespace lcdm {

namespace {

struct Decoder {
    int x;
    int y;
    int width;
    int row;           // rows completed so far
    int rowNibbles;    // nibbles per row: two per byte of the row
    int rowPosition;   // next nibble of the row in the span buffer
    int ringNibbles;   // history ring size: rowNibbles per row of history
    int ringPosition;  // the same column, one or two rows up
    uint64_t rowBits;  // the row so far, its first nibble in the top four bits
};

uint8_t HistoryNibble(int position) {
    const uint8_t byte = Images.history[position / 2];
    return static_cast<uint8_t>((position & 1) != 0 ? byte & 0x0F : byte >> 4);
}

void StoreHistoryNibble(int position, uint8_t nibble) {
    uint8_t& byte = Images.history[position / 2];
    byte = (position & 1) != 0 ? static_cast<uint8_t>((byte & 0xF0) | nibble)
                               : static_cast<uint8_t>((byte & 0x0F) | (nibble << 4));
}

void AdvanceRing(Decoder& d) {
    if (++d.ringPosition == d.ringNibbles) {
        d.ringPosition = 0;
    }
}

// Puts one nibble into the row and draws the row once it is full. A row is
// at most 16 nibbles (64 pixels), and each row starts afresh.
void EmitNibble(Decoder& d, uint8_t nibble) {
    d.rowBits |= uint64_t{nibble} << (60 - 4 * d.rowPosition);
    if (++d.rowPosition == d.rowNibbles) {
        PutRowPixels(d.x, d.y + d.row, d.width, d.rowBits);
        ++d.row;
        d.rowPosition = 0;
        d.rowBits = 0;
    }
}

// Rows below the screen can never be drawn, so decoding may stop there.
bool BelowScreen(const Decoder& d) {
    return d.y + d.row >= kScreenHeight;
}

void ExpandRun(Decoder& d, uint8_t code) {
    const uint8_t field = static_cast<uint8_t>((code >> 4) & 7);
    const int count = field == 7 ? 16 : 7 - field;
    const uint8_t nibble = static_cast<uint8_t>(code & 0x0F);
    for (int i = 0; i < count && !BelowScreen(d); ++i) {
        StoreHistoryNibble(d.ringPosition, nibble);
        AdvanceRing(d);
        EmitNibble(d, nibble);
    }
}

// A copy leaves the history as it is: the nibble it reads is already there.
void ExpandCopy(Decoder& d, uint8_t code) {
    const int count = code == 0xFF ? 256 : 127 - (code & 0x7F);
    for (int i = 0; i < count && !BelowScreen(d); ++i) {
        const uint8_t nibble = HistoryNibble(d.ringPosition);
        AdvanceRing(d);
        EmitNibble(d, nibble);
    }
}

}  // namespace

void DrawCodedRows(int x, int y) {
    const ImageDescription& image = Images.ImageDescriptor;
    const int rowBytes = (image.width + 7) / 8;
    Decoder d{x, y, image.width, 0, rowBytes * 2, 0, image.compression * rowBytes * 2, 0, 0};
    // Rows above the first read as blank.
    std::memset(Images.history, 0, sizeof Images.history);

    // The height takes no part: every completed row is drawn and a final
    // incomplete row is not. Code bytes past the data's view read as 0.
    for (uint32_t i = 0; i < image.dataLength && !BelowScreen(d); ++i) {
        const uint8_t code = image.data.At(i);
        if (code < 0x80) {
            ExpandRun(d, code);
        } else {
            ExpandCopy(d, code);
        }
    }
}

}  // namespace lcdm
