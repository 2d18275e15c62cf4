// Picture files for the icon import suites, written byte by byte where the
// case is about the file's layout (palette order, bit depth, damage) and
// through the image writers otherwise.
#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace zortest {

// A folder of its own under the system's temporary folder, removed at the end.
class TempFolder {
public:
    explicit TempFolder(const std::string& name)
        : path_(std::filesystem::temp_directory_path() / ("zor_" + name + "_" + Unique())) {
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    std::string File(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& Path() const { return path_; }

private:
    static std::string Unique() {
        static int counter = 0;
        return std::to_string(::getpid()) + "_" + std::to_string(counter++);
    }
    std::filesystem::path path_;
};

inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void PutLE(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>(value >> (8 * i)));
}

// A Windows bitmap with a 40-byte info header. `rows` are the pixel rows from
// the top, each already packed at `bitsPerPixel` (palette indices, or blue,
// green, red[, alpha] bytes); they are padded to four bytes and stored from
// the bottom up. `compression` 1 is RLE8, whose `rle` stream then replaces
// the rows.
inline std::string BmpFile(int width, int height, int bitsPerPixel,
                           const std::vector<QRgb>& palette,
                           const std::vector<std::vector<uint8_t>>& rows, uint32_t compression = 0,
                           const std::string& rle = {}) {
    std::string pixels = rle;
    if (compression == 0) {
        for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
            std::string line(row->begin(), row->end());
            while (line.size() % 4 != 0) line.push_back('\0');
            pixels += line;
        }
    }
    const uint32_t offset = 14 + 40 + 4 * static_cast<uint32_t>(palette.size());
    std::string out = "BM";
    PutLE(out, offset + static_cast<uint32_t>(pixels.size()), 4);
    PutLE(out, 0, 4);
    PutLE(out, offset, 4);
    PutLE(out, 40, 4);
    PutLE(out, static_cast<uint32_t>(width), 4);
    PutLE(out, static_cast<uint32_t>(height), 4);
    PutLE(out, 1, 2);
    PutLE(out, static_cast<uint32_t>(bitsPerPixel), 2);
    PutLE(out, compression, 4);
    PutLE(out, static_cast<uint32_t>(pixels.size()), 4);
    PutLE(out, 3780, 4);
    PutLE(out, 3780, 4);
    PutLE(out, static_cast<uint32_t>(palette.size()), 4);
    PutLE(out, 0, 4);
    for (QRgb colour : palette) PutLE(out, colour & 0x00FFFFFF, 4);  // blue, green, red, 0
    return out + pixels;
}

// One-bit rows from text: '#' is palette index `dark`, anything else the other.
inline std::vector<std::vector<uint8_t>> OneBitRows(const std::vector<std::string>& text,
                                                    int dark = 1) {
    std::vector<std::vector<uint8_t>> rows;
    for (const std::string& line : text) {
        std::vector<uint8_t> row((line.size() + 7) / 8, 0);
        for (size_t x = 0; x < line.size(); ++x) {
            const int index = line[x] == '#' ? dark : 1 - dark;
            if (index) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        }
        rows.push_back(row);
    }
    return rows;
}

// The file the image writer makes of `image` in `format` ("PNG", "ICO", ...).
inline std::string Encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, format)) return {};
    return bytes.toStdString();
}

}  // namespace zortest
