#include "panel/Snapshot.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageWriter>
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

constexpr const char* kBmp = "bmp";

// The extension of the name's last part, lower case; "" when it has none.
std::string Extension(const std::string& fileName) {
    const size_t slash = fileName.find_last_of('/');
    const std::string name = slash == std::string::npos ? fileName : fileName.substr(slash + 1);
    const size_t dot = name.find_last_of('.');
    if (dot == std::string::npos || dot == 0) return "";
    std::string extension = name.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

std::string Joined(const std::vector<std::string>& formats) {
    std::string text;
    for (const std::string& format : formats) text += (text.empty() ? "" : ", ") + format;
    return text;
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

std::vector<std::string> SnapshotFormats() {
    std::vector<std::string> formats = {kBmp};
    for (const QByteArray& format : QImageWriter::supportedImageFormats()) {
        const std::string name = format.toLower().toStdString();
        if (std::find(formats.begin(), formats.end(), name) == formats.end())
            formats.push_back(name);
    }
    std::sort(formats.begin() + 1, formats.end());
    return formats;
}

std::string SnapshotFilter() {
    std::string filter;
    for (const std::string& format : SnapshotFormats())
        filter += (filter.empty() ? "" : ";;") + format + " (*." + format + ")";
    return filter;
}

std::optional<std::string> EncodeSnapshot(const LcdPicture& picture, const std::string& fileName,
                                          std::string& error) {
    const std::string extension = Extension(fileName);
    if (extension.empty() || extension == kBmp) {
        const std::vector<uint8_t> bmp = EncodeBmp(picture);
        return std::string(bmp.begin(), bmp.end());
    }
    const std::vector<std::string> formats = SnapshotFormats();
    if (std::find(formats.begin(), formats.end(), extension) == formats.end()) {
        error = "cannot write " + fileName + ": no image writer for ." + extension +
                " (the formats there are: " + Joined(formats) + ")";
        return std::nullopt;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, QByteArray::fromStdString(extension));
    if (!writer.write(ToQImage(picture))) {
        error = "cannot write " + fileName + ": the " + extension +
                " writer failed: " + writer.errorString().toStdString();
        return std::nullopt;
    }
    return bytes.toStdString();
}

std::optional<std::string> EncodeSnapshot(const LcdPicture& picture, const std::string& fileName) {
    std::string error;
    return EncodeSnapshot(picture, fileName, error);
}

bool SaveSnapshot(const LcdPicture& picture, const std::string& fileName, std::string& error) {
    const std::optional<std::string> bytes = EncodeSnapshot(picture, fileName, error);
    return bytes && files::WriteFile(fileName, *bytes, error);
}

}  // namespace panel
