#include "panel/PictureDecoding.h"

#include <sys/mman.h>
#include <unistd.h>
#include <QBuffer>
#include <QImageReader>
#include <cstdio>
#include <cstring>

namespace panel {
namespace {

// Some decoders print their complaint straight to standard error ("libpng
// error: Read Error") before the reader reports failure. Holding what they
// print while decoding lets it become part of one clean message instead of a
// stray line before it.
class StandardErrorCapture {
public:
    StandardErrorCapture() {
        std::fflush(stderr);
        capture_ = ::memfd_create("decoder-messages", MFD_CLOEXEC);
        saved_ = capture_ >= 0 ? ::dup(STDERR_FILENO) : -1;
        if (saved_ >= 0) ::dup2(capture_, STDERR_FILENO);
    }
    StandardErrorCapture(const StandardErrorCapture&) = delete;
    StandardErrorCapture& operator=(const StandardErrorCapture&) = delete;

    // What was printed, its lines joined by "; ".
    std::string Text() {
        Restore();
        std::string text;
        if (capture_ < 0) return text;
        char buffer[512];
        for (off_t at = 0;;) {
            const ssize_t got = ::pread(capture_, buffer, sizeof buffer, at);
            if (got <= 0 || text.size() > 4096) break;
            text.append(buffer, static_cast<size_t>(got));
            at += got;
        }
        for (char& c : text)
            if (c == '\n') c = ';';
        while (!text.empty() && (text.back() == ';' || text.back() == ' ')) text.pop_back();
        return text;
    }

    ~StandardErrorCapture() {
        Restore();
        if (capture_ >= 0) ::close(capture_);
    }

private:
    void Restore() {
        if (saved_ < 0) return;
        std::fflush(stderr);
        ::dup2(saved_, STDERR_FILENO);
        ::close(saved_);
        saved_ = -1;
    }

    int capture_ = -1;
    int saved_ = -1;
};

// Decodes `bytes` again into `image`, whose size and format the first
// decoding gave and whose bytes are all `fill`. False when the reader would
// not decode into that memory (it then allocated its own), so that nothing
// can be said.
bool ReadInto(const QByteArray& bytes, QImage& image, int fill) {
    std::memset(image.bits(), fill, static_cast<size_t>(image.sizeInBytes()));
    const uchar* memory = image.constBits();
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    QImageReader reader(&buffer);
    return reader.read(&image) && image.constBits() == memory;
}

bool SamePixels(const QImage& a, const QImage& b, int y) {
    const int fullBytes = a.width() * a.depth() / 8;
    if (std::memcmp(a.constScanLine(y), b.constScanLine(y), static_cast<size_t>(fullBytes)) != 0)
        return false;
    for (int x = fullBytes * 8 / a.depth(); x < a.width(); ++x)
        if (a.pixel(x, y) != b.pixel(x, y)) return false;
    return true;
}

// Decoding twice into memory filled differently shows the pixels the file
// lacks, since only they differ. Returns the rows holding any.
int RowsNotDecoded(const QByteArray& bytes, const QImage& decoded) {
    QImage zeros(decoded.size(), decoded.format());
    QImage ones(decoded.size(), decoded.format());
    zeros.setColorTable(decoded.colorTable());
    ones.setColorTable(decoded.colorTable());
    if (!ReadInto(bytes, zeros, 0x00) || !ReadInto(bytes, ones, 0xFF)) return 0;
    if (zeros.size() != decoded.size() || ones.size() != decoded.size()) return 0;
    int rows = 0;
    for (int y = 0; y < decoded.height(); ++y)
        if (!SamePixels(zeros, ones, y)) ++rows;
    return rows;
}

}  // namespace

DecodedPicture DecodePicture(const QByteArray& bytes) {
    DecodedPicture result;
    StandardErrorCapture printed;
    {
        QByteArray copy = bytes;
        QBuffer buffer(&copy);
        QImageReader reader(&buffer);
        result.image = reader.read();
        if (result.image.isNull()) result.error = reader.errorString().toStdString();
    }
    if (!result.image.isNull()) result.rowsMissing = RowsNotDecoded(bytes, result.image);
    const std::string decoderSaid = printed.Text();
    if (result.image.isNull() && !decoderSaid.empty()) result.error += "; " + decoderSaid;
    return result;
}

}  // namespace panel
