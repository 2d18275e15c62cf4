#include "ColorPanel.h"

#include <QPainter>

namespace zorsim {

ColorPanel::ColorPanel(const QString& caption, QWidget* parent)
    : QWidget(parent), caption_(caption) {}

void ColorPanel::SetColor(const QColor& color) {
    color_ = color;
    update();
}

void ColorPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), color_);
    // A one-pixel raised bevel: light on the top and left, dark below and right.
    const QRect edge = rect().adjusted(0, 0, -1, -1);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(edge.topLeft(), edge.topRight());
    painter.drawLine(edge.topLeft(), edge.bottomLeft());
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(edge.bottomLeft(), edge.bottomRight());
    painter.drawLine(edge.topRight(), edge.bottomRight());
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(rect(), Qt::AlignCenter, caption_);
}

}  // namespace zorsim
