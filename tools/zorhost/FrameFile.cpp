#include "FrameFile.h"

#include <QByteArray>
#include <QImage>
#include <algorithm>
#include <cctype>

#include "Lcdm.h"
#include "ScriptError.h"
#include "panel/PictureDecoding.h"

namespace zorhost {
namespace {

// Reads a PBM as the format defines it: the magic number, then the width and
// the height as decimal numbers, each after whitespace, with comments from
// '#' to the end of a line allowed wherever whitespace is.
class PbmReader {
public:
    PbmReader(const std::string& bytes, const std::string& name) : bytes_(bytes), name_(name) {}

    bool AtSpace() const {
        return pos_ < bytes_.size() && std::isspace(static_cast<unsigned char>(bytes_[pos_]));
    }
    bool AtDigit() const {
        return pos_ < bytes_.size() && std::isdigit(static_cast<unsigned char>(bytes_[pos_]));
    }

    // Whitespace and comments; false when there were none.
    bool SkipSpaceAndComments() {
        const size_t start = pos_;
        while (pos_ < bytes_.size()) {
            if (bytes_[pos_] == '#')
                while (pos_ < bytes_.size() && bytes_[pos_] != '\n' && bytes_[pos_] != '\r') ++pos_;
            else if (AtSpace())
                ++pos_;
            else
                break;
        }
        return pos_ > start;
    }

    // One header number after its whitespace. Numbers too large to be a
    // size are reported as written, never cut.
    long Number(const char* what) {
        if (!SkipSpaceAndComments() || !AtDigit())
            Fail(std::string("a malformed PBM header (expected whitespace, then the ") + what +
                 " as a decimal number)");
        const size_t start = pos_;
        while (AtDigit()) ++pos_;
        const std::string digits = bytes_.substr(start, pos_ - start);
        if (pos_ < bytes_.size() && !AtSpace() && bytes_[pos_] != '#')
            Fail(std::string("a malformed PBM header (the ") + what + " " + Cut(digits) +
                 " runs into '" + bytes_[pos_] + "')");
        if (digits.size() - std::min(digits.find_first_not_of('0'), digits.size()) > 9)
            Fail("a frame must be 64 x 128 pixels, got a " + std::string(what) + " of " +
                 Cut(digits) + " pixels");
        return std::stol(digits);
    }

    // The text digits of P1: '0' or '1', whitespace or comments between.
    Frame TextPixels() {
        Frame frame;
        for (int i = 0; i < kFrameWidth * kFrameHeight; ++i) {
            SkipSpaceAndComments();
            if (pos_ >= bytes_.size())
                Fail("pixel data that end after " + std::to_string(i) + " of " +
                     std::to_string(kFrameWidth * kFrameHeight) + " pixels");
            const char c = bytes_[pos_++];
            if (c != '0' && c != '1')
                Fail(std::string("'") + c + "' among the pixels (expected 0 or 1)");
            frame.on[i] = c == '1';
        }
        SkipSpaceAndComments();
        RefuseTrailingBytes();
        return frame;
    }

    // The packed rows of P4, after the single whitespace byte that ends the header.
    Frame BinaryPixels() {
        constexpr size_t kRowBytes = kFrameWidth / 8;
        if (!AtSpace()) Fail("a malformed PBM header (expected one whitespace before the pixels)");
        ++pos_;
        if (bytes_.size() < pos_ + kRowBytes * kFrameHeight)
            Fail("pixel data cut short: " + std::to_string(bytes_.size() - pos_) + " of " +
                 std::to_string(kRowBytes * kFrameHeight) + " bytes");
        Frame frame;
        for (int y = 0; y < kFrameHeight; ++y)
            for (int x = 0; x < kFrameWidth; ++x) {
                const auto byte = static_cast<uint8_t>(bytes_[pos_ + y * kRowBytes + x / 8]);
                frame.Set(x, y, (byte & (0x80 >> (x % 8))) != 0);
            }
        pos_ += kRowBytes * kFrameHeight;
        RefuseTrailingBytes();
        return frame;
    }

    [[noreturn]] void Fail(const std::string& what) const {
        throw ScriptError(name_ + ": " + what);
    }
    void Skip(size_t count) { pos_ += count; }

private:
    // A golden frame is one frame: anything after it is a mistake to report.
    void RefuseTrailingBytes() const {
        if (pos_ < bytes_.size())
            Fail(std::to_string(bytes_.size() - pos_) +
                 " bytes after the 64 x 128 pixels (expected the file to end there)");
    }

    static std::string Cut(const std::string& digits) {
        return digits.size() > 20
                   ? digits.substr(0, 20) + "... (" + std::to_string(digits.size()) + " digits)"
                   : digits;
    }

    const std::string& bytes_;
    const std::string& name_;
    size_t pos_ = 0;
};

Frame ReadPbm(const std::string& bytes, const std::string& name) {
    PbmReader reader(bytes, name);
    reader.Skip(2);
    const long width = reader.Number("width");
    const long height = reader.Number("height");
    if (width != kFrameWidth || height != kFrameHeight)
        reader.Fail("a frame must be 64 x 128 pixels, got " + std::to_string(width) + " x " +
                    std::to_string(height));
    return bytes[1] == '1' ? reader.TextPixels() : reader.BinaryPixels();
}

// A snapshot shows each LCD pixel as a 2 x 2 block; a block whose four
// pixels disagree cannot have come from the LCD. Pixels are told apart by
// their colour, never by palette index.
Frame ReadSnapshot(const std::string& bytes, const std::string& name) {
    const panel::DecodedPicture decoded =
        panel::DecodePicture(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    const QImage& image = decoded.image;
    if (image.isNull())
        throw ScriptError(name + ": not a PBM frame or a readable picture (" + decoded.error + ")");
    if (decoded.rowsMissing > 0)
        throw ScriptError(name + ": the picture is cut short or damaged (" +
                          std::to_string(decoded.rowsMissing) + " of its " +
                          std::to_string(image.height()) + " rows have pixels missing)");
    if (image.width() != 2 * kFrameWidth || image.height() != 2 * kFrameHeight)
        throw ScriptError(name + ": a snapshot must be 128 x 256 pixels, got " +
                          std::to_string(image.width()) + " x " + std::to_string(image.height()));
    Frame frame;
    frame.knownRows = kFrameHeight - 1;
    auto dark = [&](int px, int py) { return qGray(image.pixel(px, py)) < 128; };
    for (int y = 0; y < frame.knownRows; ++y)
        for (int x = 0; x < kFrameWidth; ++x) {
            const bool on = dark(2 * x, 2 * y);
            if (dark(2 * x + 1, 2 * y) != on || dark(2 * x, 2 * y + 1) != on ||
                dark(2 * x + 1, 2 * y + 1) != on)
                throw ScriptError(name + ": the 2 x 2 picture pixels of LCD pixel (" +
                                  std::to_string(x) + ", " + std::to_string(y) +
                                  ") differ, so this is not an LCD snapshot");
            frame.Set(x, y, on);
        }
    return frame;
}

}  // namespace

Frame CurrentFrame() {
    Frame frame;
    for (int y = 0; y < kFrameHeight; ++y)
        for (int x = 0; x < kFrameWidth; ++x)
            frame.Set(x, y, (lcdm::ReadFrameRowByte(y, x / 8) & (0x80 >> (x % 8))) != 0);
    return frame;
}

Frame ParseFrame(const std::string& bytes, const std::string& shownName) {
    if (bytes.size() >= 2 && bytes[0] == 'P' && (bytes[1] == '1' || bytes[1] == '4'))
        return ReadPbm(bytes, shownName);
    return ReadSnapshot(bytes, shownName);
}

std::string FormatPbm(const Frame& frame) {
    std::string text = "P1\n64 128\n";
    text.reserve(text.size() + (kFrameWidth + 1) * kFrameHeight);
    for (int y = 0; y < kFrameHeight; ++y) {
        for (int x = 0; x < kFrameWidth; ++x) text.push_back(frame.At(x, y) ? '1' : '0');
        text.push_back('\n');
    }
    return text;
}

FrameDifference Compare(const Frame& expected, const Frame& actual) {
    FrameDifference diff;
    diff.left = kFrameWidth;
    diff.top = kFrameHeight;
    for (int y = 0; y < expected.knownRows; ++y)
        for (int x = 0; x < kFrameWidth; ++x) {
            if (expected.At(x, y) == actual.At(x, y)) continue;
            ++diff.pixels;
            diff.left = std::min(diff.left, x);
            diff.right = std::max(diff.right, x);
            diff.top = std::min(diff.top, y);
            diff.bottom = std::max(diff.bottom, y);
        }
    if (diff.pixels == 0) diff.left = diff.top = 0;
    return diff;
}

}  // namespace zorhost
