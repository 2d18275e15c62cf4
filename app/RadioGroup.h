// A radio group: a captioned box of exclusive choices laid out in columns,
// with the index of the chosen item (-1 = none) and a click event.
#pragma once

#include <QGroupBox>
#include <QStringList>
#include <vector>

class QButtonGroup;
class QRadioButton;

namespace zorsim {

class RadioGroup : public QGroupBox {
    Q_OBJECT

public:
    RadioGroup(const QString& caption, const QStringList& items, int columns,
               QWidget* parent = nullptr);

    int ItemIndex() const;
    void SetItemIndex(int index);
    QRadioButton* Item(int index) const { return buttons_.at(static_cast<size_t>(index)); }

signals:
    // The user chose an item (also the one already chosen).
    void Clicked();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void PlaceItems();

    QButtonGroup* group_;
    std::vector<QRadioButton*> buttons_;
    int columns_;
};

}  // namespace zorsim
