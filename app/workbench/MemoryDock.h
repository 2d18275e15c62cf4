// Module memory as a hex view, 16 bytes a row: the vocabulary's items
// outlined (each its own shade, named on its first row), the host's address
// pointer marked, Go to an address or an item, the chosen item's
// disassembly below. A byte typed over is written as a host's memory write
// writes it, and the page is drawn again.
#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "ToolDock.h"
#include "services/ChainWalk.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTableView;

namespace zorsim {

class Workbench;

// The bytes, read from module memory as the view asks for them: a refresh
// costs one walk of the chain, however large memory is.
class MemoryModel : public QAbstractTableModel {
    Q_OBJECT

public:
    static constexpr int kBytesPerRow = 16;
    static constexpr int kAsciiColumn = kBytesPerRow;     // the row's bytes as characters
    static constexpr int kItemColumn = kBytesPerRow + 1;  // "script 5" where an item starts

    explicit MemoryModel(Workbench& bench, QObject* parent);

    // The module may have changed: the chain is walked again and the whole
    // view asks for its bytes anew.
    void Refresh();
    const std::vector<services::ChainItem>& Items() const { return items_; }
    static uint16_t AddressOf(const QModelIndex& index);
    QModelIndex IndexOf(uint16_t address) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // A byte's new value in hex ("7F", "a"); anything else is refused.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

private:
    QVariant ItemData(int row, int role) const;

    Workbench& bench_;
    std::vector<services::ChainItem> items_;
};

class MemoryDock : public ToolDock {
    Q_OBJECT

public:
    MemoryDock(Workbench& bench, QWidget* parent);
    void Refresh() override;

    // Shows `address` and the item that holds it.
    void GoTo(uint16_t address);

    MemoryModel* Model;
    QTableView* Table;
    QLineEdit* GoToEdit;
    QLabel* Status;   // why Go to found nothing
    QLabel* Pointer;  // where the host's address pointer stands
    QPlainTextEdit* Disassembly;

private:
    void GoToClick();
    void ShowItemAt(uint16_t address);

    Workbench& bench_;
    std::vector<uint8_t> shown_;  // the bytes of the item disassembled below
    uint16_t shownAddress_ = 0;
};

}  // namespace zorsim
