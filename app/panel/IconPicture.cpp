#include "panel/IconPicture.h"

#include <algorithm>

namespace panel {
namespace {

// Brightness below this (on 0..255) is black.
constexpr int kThreshold = 128;

bool IsDark(QRgb pixel) {
    // Lay the pixel over white: full transparency shows only the white ground.
    const int alpha = qAlpha(pixel);
    auto overWhite = [alpha](int channel) { return (channel * alpha + 255 * (255 - alpha)) / 255; };
    return qGray(overWhite(qRed(pixel)), overWhite(qGreen(pixel)), overWhite(qBlue(pixel))) <
           kThreshold;
}

}  // namespace

IconPicture::IconPicture(int width, int height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      bits_(static_cast<size_t>(RowBytes()) * height_, 0xFF) {}

void IconPicture::SetBlack(int x, int y, bool black) {
    uint8_t& byte = bits_[static_cast<size_t>(y) * RowBytes() + x / 8];
    const auto mask = static_cast<uint8_t>(0x80 >> (x % 8));
    byte = black ? static_cast<uint8_t>(byte & ~mask) : static_cast<uint8_t>(byte | mask);
}

IconPicture MakeMonochrome(const QImage& image) {
    // ARGB32 (not premultiplied) gives every format's pixels as plain colours,
    // palette entries resolved, so the decision below never sees an index.
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    IconPicture picture(argb.width(), argb.height());
    for (int y = 0; y < argb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x)
            if (IsDark(line[x])) picture.SetBlack(x, y, true);
    }
    return picture;
}

void FitIconSize(IconPicture& picture) {
    if (picture.Width() <= kIconMaxWidth && picture.Height() <= kIconMaxHeight) return;
    IconPicture fitted(kIconMaxWidth, kIconMaxHeight);
    const int width = std::min(picture.Width(), kIconMaxWidth);
    const int height = std::min(picture.Height(), kIconMaxHeight);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (picture.IsBlack(x, y)) fitted.SetBlack(x, y, true);
    picture = std::move(fitted);
}

QImage ToQImage(const IconPicture& picture) {
    if (picture.IsEmpty()) return {};
    QImage image(picture.Width(), picture.Height(), QImage::Format_Mono);
    image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    for (int y = 0; y < picture.Height(); ++y)
        std::copy_n(picture.Row(y), picture.RowBytes(), image.scanLine(y));
    return image;
}

}  // namespace panel
