// Bitmaps and icons: loading their headers into the image descriptor, the one
// routine that draws every picture, and the lookup of an icon by its code.
#include "Lcdm_bitmaps.h"

#include "Lcdm_memory.h"
#include "Lcdm_nibbles.h"
#include "Lcdm_status.h"
#include "Lcdm_voc.h"

namespace lcdm {

namespace {

// Image header fields.
constexpr uint32_t kHeaderCompression = 0;
constexpr uint32_t kHeaderDataLength = 1;
constexpr uint32_t kHeaderWidth = 3;
constexpr uint32_t kHeaderHeight = 5;
constexpr uint32_t kHeaderSize = 8;

// Icon record fields.
constexpr uint32_t kIconLength = 0;
constexpr uint32_t kIconCode = 2;
constexpr uint32_t kIconWidth = 4;
constexpr uint32_t kIconHeight = 5;
constexpr uint32_t kIconYOffset = 6;
constexpr uint32_t kIconRecordHeaderSize = 8;

// The two bytes at the start of an icon set's body are the set's own fields.
constexpr uint32_t kIconSetFieldsSize = 2;

// Raw rows: each row's bytes, as one word, straight to the screen.
void DrawRawRows(int x, int y) {
    const ImageDescription& image = Images.ImageDescriptor;
    const int rowBytes = (image.width + 7) / 8;
    uint32_t offset = 0;
    // Rows below the screen are never drawn, so the walk stops at its bottom.
    for (int k = 0; k < image.height && y + k < kScreenHeight; ++k) {
        uint64_t pixels = 0;
        for (int b = 0; b < rowBytes; ++b)
            pixels |= uint64_t{image.data.At(offset + static_cast<uint32_t>(b))} << (56 - 8 * b);
        offset += static_cast<uint32_t>(rowBytes);
        PutRowPixels(x, y + k, image.width, pixels);
    }
}

}  // namespace

void LoadImageHeader(ByteView header) {
    ImageDescription& image = Images.ImageDescriptor;
    image.compression = header.At(kHeaderCompression);
    image.dataLength = header.WordAt(kHeaderDataLength);
    image.width = header.WordAt(kHeaderWidth);
    image.height = header.WordAt(kHeaderHeight);
    image.data = header.From(kHeaderSize);
}

void LoadIconHeader(ByteView record) {
    ImageDescription& image = Images.ImageDescriptor;
    image.compression = 0;
    image.width = record.At(kIconWidth);
    image.height = record.At(kIconHeight);
    image.yOffset = record.At(kIconYOffset);
    image.data = record.From(kIconRecordHeaderSize);
}

uint8_t DrawImage(int x, int y) {
    const ImageDescription& image = Images.ImageDescriptor;
    if (image.width <= 0 || image.height <= 0 || image.width > kScreenWidth ||
        image.height > kScreenHeight) {
        return kStatusBadImageSize;
    }
    if (image.compression > 2) {
        return image.compression;
    }
    if (image.compression == 0) {
        DrawRawRows(x, y);
    } else {
        DrawCodedRows(x, y);
    }
    Graphics.GraphicsCursor = Point{x, y};
    return kStatusOk;
}

uint8_t DrawImageRecord(int x, int y, ByteView header) {
    LoadImageHeader(header);
    return DrawImage(x, y);
}

uint8_t DrawIcon(int x, int y, ByteView record) {
    LoadIconHeader(record);
    // yOffset rows of the icon lie above the drawing position.
    return DrawImage(x, y - Images.ImageDescriptor.yOffset);
}

uint16_t FindIcon(uint16_t code) {
    const uint32_t body = Vocabulary.currentIconSet;
    // A body address below the item header cannot belong to an item.
    if (body < kItemHeaderSize) {
        return 0;
    }
    const uint32_t item = body - kItemHeaderSize;
    const uint32_t end = item + ReadMemoryWord(static_cast<uint16_t>(item));
    if (end > kModuleMemorySize) {
        return 0;
    }
    // Walked in 32 bits: record lengths only ever move forward, so a lying
    // length ends the walk instead of wrapping round to an earlier record.
    for (uint32_t p = body + kIconSetFieldsSize; p < end;) {
        const uint16_t length = ReadMemoryWord(static_cast<uint16_t>(p + kIconLength));
        if (length == 0) {
            return 0;
        }
        if (ReadMemoryWord(static_cast<uint16_t>(p + kIconCode)) == code) {
            return static_cast<uint16_t>(p);
        }
        p += length;
    }
    return 0;
}

}  // namespace lcdm
