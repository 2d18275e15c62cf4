// Raw rows, the image header of bitmap items and the icon record.
#include "pixelart/image.h"

namespace pixelart {

namespace {

void PutWord(std::vector<uint8_t>& out, size_t value) {
    out.push_back(static_cast<uint8_t>(value >> 8));
    out.push_back(static_cast<uint8_t>(value & 0xFF));
}

}  // namespace

std::vector<uint8_t> RawRows(const Picture& picture) {
    const int rowBytes = RowBytes(picture.width);
    std::vector<uint8_t> bytes(static_cast<size_t>(rowBytes * picture.height()), 0);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width; ++x)
            if (picture.At(x, y))
                bytes[static_cast<size_t>(y * rowBytes + x / 8)] |=
                    static_cast<uint8_t>(0x80 >> (x % 8));
    return bytes;
}

std::vector<uint8_t> ImageHeader(int compression, size_t dataLength, const Picture& picture) {
    std::vector<uint8_t> header;
    header.push_back(static_cast<uint8_t>(compression));
    PutWord(header, dataLength);
    PutWord(header, static_cast<size_t>(picture.width));
    PutWord(header, static_cast<size_t>(picture.height()));
    header.push_back(0);  // reserved
    return header;
}

std::vector<uint8_t> EncodeIcon(const IconSource& icon) {
    const std::vector<uint8_t> rows = RawRows(icon.picture);
    std::vector<uint8_t> record;
    PutWord(record, kIconHeaderSize + rows.size());
    PutWord(record, static_cast<size_t>(icon.code));
    record.push_back(static_cast<uint8_t>(icon.picture.width));
    record.push_back(static_cast<uint8_t>(icon.picture.height()));
    record.push_back(static_cast<uint8_t>(icon.yOffset));
    record.push_back(0);  // reserved
    record.insert(record.end(), rows.begin(), rows.end());
    return record;
}

}  // namespace pixelart
