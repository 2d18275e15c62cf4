// A panel: a raised rectangle of one colour with its caption in the middle,
// which the controls placed on it may cover.
#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

namespace zorsim {

class ColorPanel : public QWidget {
public:
    ColorPanel(const QString& caption, QWidget* parent = nullptr);

    QColor Color() const { return color_; }
    void SetColor(const QColor& color);
    QString Caption() const { return caption_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString caption_;
    QColor color_ = Qt::lightGray;
};

}  // namespace zorsim
