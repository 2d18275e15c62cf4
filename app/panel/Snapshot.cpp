#include "panel/Snapshot.h"

#include <QBuffer>
#include <QByteArray>
#include <algorithm>
#include <cctype>

#include "files/Files.h"

namespace panel {
namespace {

// 96 pixels per inch, the window's resolution, in pixels per metre.
constexpr uint32_t kPixelsPerMetre = 3780;
constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kWhite = 0xFFFFFFFF;

void PutLittleEndian(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void PutHeaders(std::vector<uint8_t>& out) {
    const uint32_t pixelBytes = kPictureRowBytes * kPictureHeight;
    out.push_back('B');
    out.push_back('M');
    PutLittleEndian(out, kBmpFileBytes, 4);
    PutLittleEndian(out, 0, 4);  // reserved
    PutLittleEndian(out, kBmpHeaderBytes, 4);
    PutLittleEndian(out, 40, 4);  // info header size
    PutLittleEndian(out, kPictureWidth, 4);
    PutLittleEndian(out, kPictureHeight, 4);  // positive: rows from the bottom up
    PutLittleEndian(out, 1, 2);               // planes
    PutLittleEndian(out, 1, 2);               // bits per pixel
    PutLittleEndian(out, 0, 4);               // no compression
    PutLittleEndian(out, pixelBytes, 4);
    PutLittleEndian(out, kPixelsPerMetre, 4);
    PutLittleEndian(out, kPixelsPerMetre, 4);
    PutLittleEndian(out, 2, 4);  // colours used
    PutLittleEndian(out, 0, 4);  // all colours important
    // Palette entries are blue, green, red, reserved: index 0 black, 1 white.
    PutLittleEndian(out, 0x00000000, 4);
    PutLittleEndian(out, 0x00FFFFFF, 4);
}

bool EndsWithPng(const std::string& fileName) {
    if (fileName.size() < 4) return false;
    std::string tail = fileName.substr(fileName.size() - 4);
    std::transform(tail.begin(), tail.end(), tail.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return tail == ".png";
}

}  // namespace

std::vector<uint8_t> EncodeBmp(const LcdPicture& picture) {
    std::vector<uint8_t> out;
    out.reserve(kBmpFileBytes);
    PutHeaders(out);
    for (int row = kPictureHeight - 1; row >= 0; --row)
        out.insert(out.end(), picture.Row(row), picture.Row(row) + kPictureRowBytes);
    return out;
}

QImage ToQImage(const LcdPicture& picture) {
    QImage image(kPictureWidth, kPictureHeight, QImage::Format_Mono);
    image.setColorTable({kBlack, kWhite});
    for (int row = 0; row < kPictureHeight; ++row)
        std::copy_n(picture.Row(row), kPictureRowBytes, image.scanLine(row));
    return image;
}

std::optional<std::string> EncodeSnapshot(const LcdPicture& picture, const std::string& fileName) {
    if (!EndsWithPng(fileName)) {
        const std::vector<uint8_t> bmp = EncodeBmp(picture);
        return std::string(bmp.begin(), bmp.end());
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!ToQImage(picture).save(&buffer, "PNG")) return std::nullopt;
    return png.toStdString();
}

bool SaveSnapshot(const LcdPicture& picture, const std::string& fileName, std::string& error) {
    const std::optional<std::string> bytes = EncodeSnapshot(picture, fileName);
    if (!bytes) {
        error = "cannot write " + fileName + ": the picture could not be encoded as PNG";
        return false;
    }
    return files::WriteFile(fileName, *bytes, error);
}

}  // namespace panel
