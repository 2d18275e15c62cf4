#include "Artwork.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <stdexcept>

namespace zorsim {
namespace {

// Draws the resource over `ground` at exactly `size`. A missing or broken
// resource is a fault of the build, not of the user's data.
QImage RenderSvg(const QString& resource, QSize size, QColor ground) {
    QSvgRenderer renderer(resource);
    if (!renderer.isValid())
        throw std::runtime_error("the artwork " + resource.toStdString() + " cannot be drawn");
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(ground);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

}  // namespace

QImage TalvarPlate() {
    return RenderSvg(":/assets/plate_talvar.svg", {356, 600}, Qt::white)
        .convertToFormat(QImage::Format_RGB888);
}

QImage KaiPlate() {
    return RenderSvg(":/assets/plate_kai.svg", {277, 445}, Qt::white)
        .convertToFormat(QImage::Format_RGB888);
}

QImage Logo() {
    return RenderSvg(":/assets/logo.svg", {318, 81}, Qt::white)
        .convertToFormat(QImage::Format_Indexed8);
}

panel::IconPicture DefaultIcon() {
    return panel::MakeMonochrome(RenderSvg(
        ":/assets/default_icon.svg", {panel::kIconMaxWidth, panel::kIconMaxHeight}, Qt::white));
}

QIcon WindowIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(QPixmap::fromImage(
            RenderSvg(":/assets/window_icon.svg", {size, size}, Qt::transparent)));
    return icon;
}

}  // namespace zorsim
