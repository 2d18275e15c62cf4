#include "MemoryDock.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

#include "HostRecording.h"
#include "Lcdm.h"
#include "LinkMenu.h"
#include "Main.h"
#include "VocabularyItems.h"
#include "Workbench.h"
#include "panel/Encoders.h"

namespace zorsim {
namespace {

// Module memory divides into whole rows: no cell lies past its last byte.
static_assert(lcdm::kModuleMemorySize % MemoryModel::kBytesPerRow == 0);

// Neighbouring items take turns between two shades, so that each is seen
// as one block; the address pointer stands out from both.
const QColor kItemShades[2] = {QColor(226, 236, 255), QColor(255, 240, 214)};
const QColor kPointerShade(255, 140, 140);

const QRegularExpression& HexByte() {
    static const QRegularExpression hex("^[0-9A-Fa-f]{1,2}$");
    return hex;
}

// The editor of a byte takes hex digits only, at most two.
class ByteDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            line->setValidator(new QRegularExpressionValidator(HexByte(), line));
            line->setMaxLength(2);
        }
        return editor;
    }
};

}  // namespace

// ------------------------------------------------------------------ model ---

MemoryModel::MemoryModel(Workbench& bench, QObject* parent)
    : QAbstractTableModel(parent), bench_(bench) {}

void MemoryModel::Refresh() {
    items_ = services::WalkChain(lcdm::Vocabulary.vocabularyStart);
    emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

uint16_t MemoryModel::AddressOf(const QModelIndex& index) {
    return static_cast<uint16_t>(index.row() * kBytesPerRow +
                                 std::min(index.column(), kBytesPerRow - 1));
}

QModelIndex MemoryModel::IndexOf(uint16_t address) const {
    return index(address / kBytesPerRow, address % kBytesPerRow);
}

int MemoryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : lcdm::kModuleMemorySize / kBytesPerRow;
}

int MemoryModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kItemColumn + 1;
}

QVariant MemoryModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    if (index.column() == kItemColumn) return ItemData(index.row(), role);
    if (index.column() == kAsciiColumn) {
        if (role != Qt::DisplayRole) return {};
        QString text;
        for (int i = 0; i < kBytesPerRow; ++i) {
            const uint8_t byte =
                lcdm::ReadMemoryByte(static_cast<uint16_t>(index.row() * kBytesPerRow + i));
            text += byte >= 0x20 && byte < 0x7F ? QChar(byte) : QChar('.');
        }
        return text;
    }
    const uint16_t address = AddressOf(index);
    const bool pointer = address == lcdm::Link.AddressPointer;
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole: return QString::asprintf("%02X", lcdm::ReadMemoryByte(address));
        case Qt::TextAlignmentRole: return Qt::AlignCenter;
        case Qt::BackgroundRole: {
            if (pointer) return kPointerShade;
            const services::ChainItem* item = ItemAt(items_, address);
            if (item == nullptr) return {};
            return kItemShades[(item - items_.data()) % 2];
        }
        case Qt::FontRole: {
            if (!pointer) return {};
            QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
            font.setBold(true);
            return font;
        }
        case Qt::ToolTipRole: {
            QString tip = QString::number(address);
            if (const services::ChainItem* item = ItemAt(items_, address)) {
                tip += " = " + ItemPlace(item->type, item->number) + " + " +
                       QString::number(address - item->address);
                if (const QString name = DefaultItemName(*item); !name.isEmpty())
                    tip += " (" + name + ")";
            } else {
                tip += " (outside the vocabulary)";
            }
            if (pointer) tip += "\nThe host's address pointer";
            return tip;
        }
        default: return {};
    }
}

// The items that start in the row, named as Go to takes them.
QVariant MemoryModel::ItemData(int row, int role) const {
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    const uint32_t from = static_cast<uint32_t>(row) * kBytesPerRow;
    QStringList names;
    for (auto item = std::lower_bound(
             items_.begin(), items_.end(), from,
             [](const services::ChainItem&i, uint32_t a) { return i.address < a; });
         item != items_.end() && item->address < from + kBytesPerRow; ++item) {
        QString name = ItemPlace(item->type, item->number);
        if (role == Qt::ToolTipRole) {
            name += QString(" at %1, %2 bytes").arg(item->address).arg(item->length);
            if (const QString known = DefaultItemName(*item); !known.isEmpty())
                name += ": " + known;
        }
        names << name;
    }
    return names.isEmpty() ? QVariant()
                           : QVariant(names.join(role == Qt::ToolTipRole ? "\n" : ", "));
}

QVariant MemoryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return QString::number(section * kBytesPerRow);
    if (section < kBytesPerRow) return QString::number(section);
    return section == kAsciiColumn ? QString("characters") : QString("item");
}

Qt::ItemFlags MemoryModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() < kBytesPerRow) flags |= Qt::ItemIsEditable;
    return flags;
}

bool MemoryModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || index.column() >= kBytesPerRow) return false;
    const QString text = value.toString().trimmed();
    if (!HexByte().match(text).hasMatch()) return false;
    const uint16_t address = AddressOf(index);
    const auto byte = static_cast<uint8_t>(text.toUInt(nullptr, 16));
    // The routine a host's memory write ends in, so that whatever the module
    // keeps built from memory is built again.
    if (lcdm::WriteMemoryByte(byte, address) != lcdm::kStatusOk) return false;
    TForm1& form = bench_.Form();
    form.Recording->Note(QString("Memory view: %1 := 0x%2, written into module memory directly")
                             .arg(address)
                             .arg(text.toUpper()));
    // The page is drawn again as the window's controls draw it, unless a host
    // program is connected: its commands and ours would interleave, and the
    // page is its to draw.
    if (!form.Link->Server().ClientConnected()) {
        panel::SendRunScript(bench_.Port(), 10, 255);
        form.RenderLcd();
    }
    Refresh();
    return true;
}

// ------------------------------------------------------------------- dock ---

MemoryDock::MemoryDock(Workbench& bench, QWidget* parent)
    : ToolDock("Memory", parent), bench_(bench) {
    setObjectName("MemoryDock");
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);

    auto* goTo = new QHBoxLayout;
    GoToEdit = new QLineEdit(body);
    GoToEdit->setObjectName("MemoryGoTo");
    GoToEdit->setPlaceholderText("18838, 0x4996, script 5 or script 5 + 8");
    auto* go = new QPushButton("Go", body);
    goTo->addWidget(new QLabel("Go to:", body));
    goTo->addWidget(GoToEdit, 1);
    goTo->addWidget(go);
    layout->addLayout(goTo);
    Status = new QLabel(body);
    Status->setWordWrap(true);
    Status->hide();
    layout->addWidget(Status);
    Pointer = new QLabel(body);
    layout->addWidget(Pointer);

    Model = new MemoryModel(bench, this);
    Table = new QTableView(body);
    Table->setObjectName("MemoryTable");
    Table->setModel(Model);
    Table->setFont(fixed);
    Table->setItemDelegate(new ByteDelegate(Table));
    Table->setSelectionMode(QAbstractItemView::SingleSelection);
    Table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed);
    Table->setWordWrap(false);
    // Fixed sizes: the view never measures 2334 rows to size itself.
    const QFontMetrics metrics(fixed);
    Table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Table->verticalHeader()->setDefaultSectionSize(metrics.height() + 4);
    Table->verticalHeader()->setFont(fixed);
    Table->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Table->horizontalHeader()->setFont(fixed);
    Table->horizontalHeader()->setMinimumSectionSize(4);
    for (int column = 0; column < MemoryModel::kBytesPerRow; ++column)
        Table->setColumnWidth(column, metrics.horizontalAdvance("00") + 8);
    Table->setColumnWidth(MemoryModel::kAsciiColumn,
                          metrics.horizontalAdvance(QString(MemoryModel::kBytesPerRow, 'W')) + 10);
    Table->horizontalHeader()->setStretchLastSection(true);

    Disassembly = new QPlainTextEdit(body);
    Disassembly->setObjectName("MemoryDisassembly");
    Disassembly->setReadOnly(true);
    Disassembly->setFont(fixed);
    Disassembly->setPlaceholderText("Choose a byte: the item that holds it is disassembled here.");
    auto* split = new QSplitter(Qt::Vertical, body);
    split->addWidget(Table);
    split->addWidget(Disassembly);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);
    layout->addWidget(split, 1);
    setWidget(body);

    connect(go, &QPushButton::clicked, this, &MemoryDock::GoToClick);
    connect(GoToEdit, &QLineEdit::returnPressed, this, &MemoryDock::GoToClick);
    connect(Table->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid()) ShowItemAt(MemoryModel::AddressOf(current));
            });
}

void MemoryDock::Refresh() {
    Model->Refresh();
    Pointer->setText(QString("Address pointer: %1 (marked)").arg(lcdm::Link.AddressPointer));
    if (!shown_.empty()) ShowItemAt(shownAddress_);
}

void MemoryDock::GoTo(uint16_t address) {
    const QModelIndex index = Model->IndexOf(address);
    Table->setCurrentIndex(index);
    Table->scrollTo(index, QAbstractItemView::PositionAtCenter);
    ShowItemAt(address);
}

void MemoryDock::GoToClick() {
    const QString text = GoToEdit->text();
    const std::optional<uint16_t> address = ResolveAddress(text);
    if (!address) {
        Status->setText(QString("Nothing to go to at \"%1\": write an address below %2 (18838 or "
                                "0x4996), an item of the vocabulary (script 5) or a place in "
                                "one (script 5 + 8).")
                            .arg(text.trimmed())
                            .arg(lcdm::kModuleMemorySize));
        Status->show();
        GoToEdit->selectAll();
        return;
    }
    Status->hide();
    Model->Refresh();  // the item may be new since the last refresh
    GoTo(*address);
}

// The item holding `address`, disassembled; done again only when its bytes
// changed.
void MemoryDock::ShowItemAt(uint16_t address) {
    const services::ChainItem* item = ItemAt(Model->Items(), address);
    if (item == nullptr) {
        shown_.clear();
        Disassembly->setPlainText(QString("%1 lies outside the vocabulary.").arg(address));
        return;
    }
    const uint32_t end =
        std::min<uint32_t>(uint32_t{item->address} + item->length, lcdm::kModuleMemorySize);
    std::vector<uint8_t> bytes(lcdm::Memory.ModuleMemory + item->address,
                               lcdm::Memory.ModuleMemory + end);
    if (bytes == shown_ && shownAddress_ == item->address) return;
    shown_ = std::move(bytes);
    shownAddress_ = item->address;
    QString text = "; " + ItemPlace(item->type, item->number);
    if (const QString name = DefaultItemName(*item); !name.isEmpty()) text += ": " + name;
    Disassembly->setPlainText(text + "\n" + zorsim::Disassembly(*item));
}

}  // namespace zorsim
