// A picture control: shows a bitmap at its own size or stretched over the
// control, and reports clicks. With no picture it draws nothing, so what lies
// beneath shows through (the page key's click area over the plate).
#pragma once

#include <QImage>
#include <QWidget>

namespace zorsim {

class PictureBox : public QWidget {
    Q_OBJECT

public:
    explicit PictureBox(QWidget* parent = nullptr);

    const QImage& Picture() const { return picture_; }
    void SetPicture(const QImage& picture);
    // Stretched: the picture fills the control. Smooth: stretched with
    // filtering (artwork) rather than by repeating pixels (one-bit pictures).
    void SetStretch(bool stretch, bool smooth = false);
    bool Stretch() const { return stretch_; }

signals:
    // A press and release of the left button inside the control.
    void Clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage picture_;
    bool stretch_ = false;
    bool smooth_ = false;
    bool pressed_ = false;
};

}  // namespace zorsim
