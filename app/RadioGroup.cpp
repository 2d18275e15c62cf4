#include "RadioGroup.h"

#include <QButtonGroup>
#include <QRadioButton>

namespace zorsim {
namespace {

// The caption's band at the top and the margin inside the frame.
constexpr int kCaptionBand = 16;
constexpr int kMargin = 8;

}  // namespace

RadioGroup::RadioGroup(const QString& caption, const QStringList& items, int columns,
                       QWidget* parent)
    : QGroupBox(caption, parent), group_(new QButtonGroup(this)), columns_(columns) {
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], this);
        group_->addButton(button, i);
        buttons_.push_back(button);
    }
    connect(group_, &QButtonGroup::idClicked, this, [this] { emit Clicked(); });
    PlaceItems();
}

int RadioGroup::ItemIndex() const {
    return group_->checkedId();
}

void RadioGroup::SetItemIndex(int index) {
    if (index >= 0 && index < static_cast<int>(buttons_.size())) {
        buttons_[static_cast<size_t>(index)]->setChecked(true);
        return;
    }
    // No item chosen: the group must let go of its exclusive choice for that.
    group_->setExclusive(false);
    for (QRadioButton* button : buttons_) button->setChecked(false);
    group_->setExclusive(true);
}

void RadioGroup::resizeEvent(QResizeEvent* event) {
    QGroupBox::resizeEvent(event);
    PlaceItems();
}

// Items fill the columns top to bottom, each cell an equal share of the space
// inside the frame, as a radio group lays them out.
void RadioGroup::PlaceItems() {
    if (buttons_.empty()) return;
    const int count = static_cast<int>(buttons_.size());
    const int rows = (count + columns_ - 1) / columns_;
    const int cellWidth = (width() - 2 * kMargin) / columns_;
    const int cellHeight = (height() - kCaptionBand - kMargin / 2) / rows;
    for (int i = 0; i < count; ++i) {
        const int column = i / rows;
        const int row = i % rows;
        QRadioButton* button = buttons_[static_cast<size_t>(i)];
        const int buttonHeight = button->sizeHint().height();
        button->setGeometry(kMargin + column * cellWidth,
                            kCaptionBand + row * cellHeight + (cellHeight - buttonHeight) / 2,
                            cellWidth - 4, buttonHeight);
    }
}

}  // namespace zorsim
