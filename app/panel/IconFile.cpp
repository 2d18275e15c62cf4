#include "panel/IconFile.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <cstring>

namespace panel {
namespace {

QString SupportedFormats() {
    QStringList names;
    for (const QByteArray& format : QImageReader::supportedImageFormats())
        names << QString::fromLatin1(format);
    return names.join(", ");
}

// Reads the picture again into `image`, whose size and format the first read
// gave and whose bytes are all `fill`. False when the reader would not decode
// into that memory (it then allocated its own), so that nothing can be said.
bool ReadInto(const QString& fileName, QImage& image, int fill) {
    std::memset(image.bits(), fill, static_cast<size_t>(image.sizeInBytes()));
    const uchar* memory = image.constBits();
    QImageReader reader(fileName);
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

// Some decoders give a picture for a damaged file and leave the pixels the
// file lacks as whatever the memory held: a bitmap cut short loads with its
// last rows uninitialised. Decoding twice into memory filled differently
// shows such pixels, since only they differ. Returns the rows holding any.
int RowsNotDecoded(const QString& fileName, const QImage& decoded) {
    QImage zeros(decoded.size(), decoded.format());
    QImage ones(decoded.size(), decoded.format());
    zeros.setColorTable(decoded.colorTable());
    ones.setColorTable(decoded.colorTable());
    if (!ReadInto(fileName, zeros, 0x00) || !ReadInto(fileName, ones, 0xFF)) return 0;
    if (zeros.size() != decoded.size() || ones.size() != decoded.size()) return 0;
    int rows = 0;
    for (int y = 0; y < decoded.height(); ++y)
        if (!SamePixels(zeros, ones, y)) ++rows;
    return rows;
}

}  // namespace

IconFileResult LoadIconFile(const std::string& fileName, IconPicture& picture, std::string& error) {
    const QString name = QString::fromStdString(fileName);
    QFile file(name);
    if (QFileInfo(name).isDir() || !file.open(QIODevice::ReadOnly)) {
        error = "cannot read " + fileName + ": " +
                (QFileInfo(name).isDir() ? std::string("Is a directory")
                                         : file.errorString().toStdString());
        return IconFileResult::kCannotOpen;
    }
    file.close();

    QImageReader reader(name);
    const QImage image = reader.read();
    if (image.isNull()) {
        error = "cannot load " + fileName + " as a picture: " + reader.errorString().toStdString() +
                " (expected a picture file of a known " +
                "format: " + SupportedFormats().toStdString() + ")";
        return IconFileResult::kNotAPicture;
    }
    if (const int rows = RowsNotDecoded(name, image); rows > 0) {
        error = "cannot load " + fileName + " as a picture: the file is damaged (" +
                std::to_string(rows) + " of its " + std::to_string(image.height()) +
                " rows have pixels missing)";
        return IconFileResult::kNotAPicture;
    }
    picture = MakeMonochrome(image);
    return IconFileResult::kLoaded;
}

}  // namespace panel
