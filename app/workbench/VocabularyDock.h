// The vocabulary's items as a table (address, length, number, type, and the
// name the default image's sources give an item), a filter, and the chosen
// item shown: procedures, scripts and strings disassembled, bitmaps, icon
// sets and text fonts drawn by the module's own routines.
#pragma once

#include <QAbstractTableModel>
#include <QRegularExpression>
#include <QSortFilterProxyModel>
#include <optional>
#include <vector>

#include "ModulePictures.h"
#include "ToolDock.h"
#include "services/ChainWalk.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QStackedWidget;
class QTableView;

namespace zorsim {

class Workbench;

class VocabularyModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { kAddress, kLength, kNumber, kType, kName, kColumns };

    using QAbstractTableModel::QAbstractTableModel;
    // The chain is walked again; the table changes only where it changed.
    void Refresh();
    const std::vector<services::ChainItem>& Items() const { return items_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<services::ChainItem> items_;
};

// Rows whose every word of the filter matches: a number the item's number or
// address, a word its type or name ("script 5", "bitmap", "keys").
class VocabularyFilter : public QSortFilterProxyModel {
    Q_OBJECT

public:
    using QSortFilterProxyModel::QSortFilterProxyModel;
    void SetWords(const QString& text);

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override;

private:
    struct Word {
        QString text;
        std::optional<uint> number;
        QRegularExpression whole;  // the number as a word of a name
    };
    std::vector<Word> words_;
};

class VocabularyDock : public ToolDock {
    Q_OBJECT

public:
    VocabularyDock(Workbench& bench, QWidget* parent);
    void Refresh() override;

    // Chooses the item at `address` (its first byte) in the table, clearing
    // a filter that hides it; false when no item starts there.
    bool SelectItem(uint16_t address);

    VocabularyModel* Model;
    VocabularyFilter* Filtered;
    QLineEdit* FilterEdit;
    QTableView* Table;
    QLabel* Caption;         // what the chosen item is
    QStackedWidget* Detail;  // its disassembly or its pictures
    QPlainTextEdit* Text;
    QListWidget* PictureList;
    std::vector<ModulePicture> Pictures;  // the chosen item's, one pixel per module pixel

private:
    void Show(const services::ChainItem& item);
    void ShowCurrent();

    std::vector<uint8_t> shown_;  // the chosen item's bytes as last shown
    uint16_t shownAddress_ = 0;
};

}  // namespace zorsim
