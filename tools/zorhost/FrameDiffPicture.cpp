#include "FrameDiffPicture.h"

#include <QBuffer>
#include <QImage>

namespace zorhost {
namespace {

// Palette indices of the picture, one per kind of pixel.
enum Shade : uint8_t { kClear, kBoth, kOnlyActual, kOnlyExpected, kUnknownClear };

const QList<QRgb> kShades = {
    qRgb(255, 255, 255),  // clear in both
    qRgb(150, 150, 150),  // lit in both: the expected frame in grey
    qRgb(220, 0, 0),      // lit only in the actual frame
    qRgb(0, 80, 255),     // lit only in the expected frame
    qRgb(225, 225, 225),  // not compared, clear in the actual frame
};

Shade ShadeAt(const Frame& expected, const Frame& actual, int x, int y) {
    const bool now = actual.At(x, y);
    if (y >= expected.knownRows) return now ? kBoth : kUnknownClear;
    const bool was = expected.At(x, y);
    if (now && was) return kBoth;
    if (now) return kOnlyActual;
    return was ? kOnlyExpected : kClear;
}

}  // namespace

std::string FrameDiffPng(const Frame& expected, const Frame& actual) {
    QImage image(kFrameWidth * kDiffScale, kFrameHeight * kDiffScale, QImage::Format_Indexed8);
    image.setColorTable(kShades);
    for (int y = 0; y < image.height(); ++y) {
        uchar* row = image.scanLine(y);
        for (int x = 0; x < image.width(); ++x)
            row[x] = ShadeAt(expected, actual, x / kDiffScale, y / kDiffScale);
    }
    image.setText("Software", "zorhost " ZOR_VERSION);
    image.setText("Description",
                  "expect frame: grey lit in both, red lit only in the actual frame, blue lit "
                  "only in the expected frame");
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return {bytes.constData(), static_cast<size_t>(bytes.size())};
}

}  // namespace zorhost
