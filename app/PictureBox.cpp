#include "PictureBox.h"

#include <QMouseEvent>
#include <QPainter>

namespace zorsim {

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {}

void PictureBox::SetPicture(const QImage& picture) {
    picture_ = picture;
    update();
}

void PictureBox::SetStretch(bool stretch, bool smooth) {
    stretch_ = stretch;
    smooth_ = smooth;
    update();
}

void PictureBox::paintEvent(QPaintEvent*) {
    if (picture_.isNull()) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, smooth_);
    if (stretch_)
        painter.drawImage(rect(), picture_);
    else
        painter.drawImage(0, 0, picture_);
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click) emit Clicked();
}

}  // namespace zorsim
