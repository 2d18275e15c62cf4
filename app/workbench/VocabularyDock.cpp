#include "VocabularyDock.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSplitter>
#include <QStackedWidget>
#include <QTableView>
#include <QVBoxLayout>

#include "Lcdm.h"
#include "VocabularyItems.h"

namespace zorsim {
namespace {

// Pictures are shown twice their size, as the LCD picture shows the screen.
constexpr int kPictureScale = 2;

// A string item's characters up to its 0 byte, as the string tag draws them;
// bytes outside printable ASCII as \xNN.
QString StringText(const services::ChainItem& item) {
    QString text = "\"";
    const uint32_t end = uint32_t{item.address} + item.length;
    for (uint32_t at = item.address + lcdm::kItemHeaderSize; at < end; ++at) {
        const uint8_t c = lcdm::ReadMemoryByte(static_cast<uint16_t>(at));
        if (c == 0) break;
        text += c >= 0x20 && c < 0x7F ? QString(QChar(c)) : QString::asprintf("\\x%02X", c);
    }
    return text + "\"";
}

QString ItemName(const services::ChainItem& item) {
    if (item.type == lcdm::kItemString) return StringText(item);
    return DefaultItemName(item);
}

// A text font's header in words.
QString FontCaption(const services::ChainItem& item) {
    auto byte = [&](int offset) {
        return lcdm::ReadMemoryByte(static_cast<uint16_t>(item.address + 4 + offset));
    };
    return QString("%1 font, codes %2..%3, cell %4 x %5, ascent %6, class %7")
        .arg(byte(lcdm::kFontKind) == lcdm::kProportionalFont ? "proportional" : "fixed")
        .arg(QString::asprintf("0x%02X", byte(lcdm::kFontFirst)))
        .arg(QString::asprintf("0x%02X", byte(lcdm::kFontLast)))
        .arg(byte(lcdm::kFontCellWidth))
        .arg(byte(lcdm::kFontCellHeight))
        .arg(byte(lcdm::kFontAscent))
        .arg(byte(lcdm::kFontClassOffset));
}

std::vector<uint8_t> ItemBytes(const services::ChainItem& item) {
    const uint32_t end =
        std::min<uint32_t>(uint32_t{item.address} + item.length, lcdm::kModuleMemorySize);
    return {lcdm::Memory.ModuleMemory + item.address, lcdm::Memory.ModuleMemory + end};
}

}  // namespace

// ------------------------------------------------------------------ model ---

void VocabularyModel::Refresh() {
    std::vector<services::ChainItem> items = services::WalkChain(lcdm::Vocabulary.vocabularyStart);
    const bool same = items.size() == items_.size() &&
                      std::equal(items.begin(), items.end(), items_.begin(),
                                 [](const services::ChainItem& a, const services::ChainItem& b) {
                                     return a.address == b.address && a.length == b.length &&
                                            a.number == b.number && a.type == b.type;
                                 });
    if (!same) {
        beginResetModel();
        items_ = std::move(items);
        endResetModel();
    } else if (!items_.empty()) {
        // A string's text may have changed under the same header.
        emit dataChanged(index(0, kName), index(rowCount() - 1, kName));
    }
}

int VocabularyModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(items_.size());
}

int VocabularyModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QVariant VocabularyModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const services::ChainItem& item = items_[static_cast<size_t>(index.row())];
    if (role == Qt::TextAlignmentRole)
        return index.column() == kType || index.column() == kName
                   ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                   : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    switch (index.column()) {
        case kAddress: return item.address;
        case kLength: return item.length;
        case kNumber: return item.number;
        case kType: return TypeName(item.type);
        case kName: return ItemName(item);
        default: return {};
    }
}

QVariant VocabularyModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
    static const char* const kTitles[kColumns] = {"Address", "Length", "Number", "Type", "Name"};
    return section >= 0 && section < kColumns ? QString(kTitles[section]) : QString();
}

// ----------------------------------------------------------------- filter ---

void VocabularyFilter::SetWords(const QString& text) {
    words_.clear();
    for (const QString& word : text.simplified().toLower().split(' ', Qt::SkipEmptyParts)) {
        bool isNumber = false;
        const uint value = word.toUInt(&isNumber, 0);
        // A number is also a word of a name ("keys 1-4"), but not a part of
        // one: "5" does not find "p = 255".
        words_.push_back(
            {word, isNumber ? std::optional<uint>(value) : std::nullopt,
             QRegularExpression("(^|\\W)" + QRegularExpression::escape(word) + "($|\\W)")});
    }
    invalidateFilter();
}

bool VocabularyFilter::filterAcceptsRow(int row, const QModelIndex& parent) const {
    const QAbstractItemModel& model = *sourceModel();
    auto cell = [&](int column) {
        return model.data(model.index(row, column, parent), Qt::DisplayRole);
    };
    const QString type = cell(VocabularyModel::kType).toString().toLower();
    const QString name = cell(VocabularyModel::kName).toString().toLower();
    for (const Word& word : words_) {
        const bool matches = word.number
                                 ? cell(VocabularyModel::kNumber).toUInt() == *word.number ||
                                       cell(VocabularyModel::kAddress).toUInt() == *word.number ||
                                       name.contains(word.whole)
                                 : type.contains(word.text) || name.contains(word.text);
        if (!matches) return false;
    }
    return true;
}

// ------------------------------------------------------------------- dock ---

VocabularyDock::VocabularyDock(Workbench&, QWidget* parent) : ToolDock("Vocabulary", parent) {
    setObjectName("VocabularyDock");
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);

    auto* filter = new QHBoxLayout;
    FilterEdit = new QLineEdit(body);
    FilterEdit->setObjectName("VocabularyFilter");
    FilterEdit->setPlaceholderText("script 5, bitmap, keys, 18335 ...");
    FilterEdit->setClearButtonEnabled(true);
    filter->addWidget(new QLabel("Filter:", body));
    filter->addWidget(FilterEdit, 1);
    layout->addLayout(filter);

    Model = new VocabularyModel(this);
    Filtered = new VocabularyFilter(this);
    Filtered->setSourceModel(Model);
    Table = new QTableView(body);
    Table->setObjectName("VocabularyTable");
    Table->setModel(Filtered);
    Table->setSelectionBehavior(QAbstractItemView::SelectRows);
    Table->setSelectionMode(QAbstractItemView::SingleSelection);
    Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table->verticalHeader()->hide();
    Table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Table->verticalHeader()->setDefaultSectionSize(QFontMetrics(Table->font()).height() + 4);
    Table->horizontalHeader()->setStretchLastSection(true);
    for (int column :
         {VocabularyModel::kAddress, VocabularyModel::kLength, VocabularyModel::kNumber})
        Table->setColumnWidth(column,
                              QFontMetrics(Table->font()).horizontalAdvance("Address") + 16);

    Caption = new QLabel(body);
    Caption->setWordWrap(true);
    Caption->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Text = new QPlainTextEdit(body);
    Text->setObjectName("VocabularyText");
    Text->setReadOnly(true);
    Text->setFont(fixed);
    PictureList = new QListWidget(body);
    PictureList->setObjectName("VocabularyPictures");
    PictureList->setViewMode(QListView::IconMode);
    PictureList->setResizeMode(QListView::Adjust);
    PictureList->setMovement(QListView::Static);
    PictureList->setWordWrap(true);
    PictureList->setSpacing(4);
    Detail = new QStackedWidget(body);
    Detail->addWidget(Text);
    Detail->addWidget(PictureList);
    auto* detail = new QWidget(body);
    auto* detailLayout = new QVBoxLayout(detail);
    detailLayout->setContentsMargins(0, 0, 0, 0);
    detailLayout->addWidget(Caption);
    detailLayout->addWidget(Detail, 1);

    auto* split = new QSplitter(Qt::Vertical, body);
    split->addWidget(Table);
    split->addWidget(detail);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 1);
    layout->addWidget(split, 1);
    setWidget(body);

    connect(FilterEdit, &QLineEdit::textChanged, Filtered, &VocabularyFilter::SetWords);
    connect(Table->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &VocabularyDock::ShowCurrent);
}

void VocabularyDock::Refresh() {
    Model->Refresh();
    ShowCurrent();
}

bool VocabularyDock::SelectItem(uint16_t address) {
    const auto& items = Model->Items();
    const auto item = std::find_if(items.begin(), items.end(), [&](const services::ChainItem& i) {
        return i.address == address;
    });
    if (item == items.end()) return false;
    QModelIndex index =
        Filtered->mapFromSource(Model->index(static_cast<int>(item - items.begin()), 0));
    if (!index.isValid()) {
        FilterEdit->clear();
        index = Filtered->mapFromSource(Model->index(static_cast<int>(item - items.begin()), 0));
    }
    Table->setCurrentIndex(index);
    Table->scrollTo(index);
    ShowCurrent();
    return true;
}

void VocabularyDock::ShowCurrent() {
    const QModelIndex current = Filtered->mapToSource(Table->currentIndex());
    if (!current.isValid() || current.row() >= Model->rowCount()) {
        shown_.clear();
        Pictures.clear();
        PictureList->clear();
        Text->clear();
        Caption->setText(
            "Choose an item: procedures, scripts and strings are disassembled, "
            "bitmaps, icon sets and fonts drawn.");
        Detail->setCurrentWidget(Text);
        return;
    }
    Show(Model->Items()[static_cast<size_t>(current.row())]);
}

// Drawn or disassembled again only when the item's bytes changed.
void VocabularyDock::Show(const services::ChainItem& item) {
    std::vector<uint8_t> bytes = ItemBytes(item);
    if (bytes == shown_ && shownAddress_ == item.address) return;
    shown_ = std::move(bytes);
    shownAddress_ = item.address;

    QString caption = QString("%1 at %2, %3 bytes")
                          .arg(ItemPlace(item.type, item.number))
                          .arg(item.address)
                          .arg(item.length);
    if (const QString name = DefaultItemName(item); !name.isEmpty()) caption += ": " + name;
    Pictures.clear();
    PictureList->clear();
    switch (item.type) {
        case lcdm::kItemBitmap: Pictures.push_back(BitmapPicture(item.address)); break;
        case lcdm::kItemIconSet: {
            Pictures = IconSetPictures(item.address);
            const std::vector<QString> names = DefaultIconNames(item);
            for (size_t i = 0; i < Pictures.size() && i < names.size(); ++i)
                if (!names[i].isEmpty())
                    Pictures[i].caption.insert(Pictures[i].caption.indexOf(':'),
                                               " '" + names[i] + "'");
            caption += QString("; language %1, %2 icons")
                           .arg(lcdm::ReadMemoryByte(
                               static_cast<uint16_t>(item.address + lcdm::kIconSetLanguageByte)))
                           .arg(Pictures.size());
            break;
        }
        case lcdm::kItemTextFont:
            Pictures = FontPictures(item.address);
            caption += "; " + FontCaption(item);
            break;
        default: break;
    }
    if (item.type == lcdm::kItemBitmap) {
        caption += "; " + Pictures.front().caption;
        Pictures.front().caption.clear();
    }
    Caption->setText(caption);
    if (item.type != lcdm::kItemBitmap && item.type != lcdm::kItemIconSet &&
        item.type != lcdm::kItemTextFont) {
        Text->setPlainText(Disassembly(item));
        Detail->setCurrentWidget(Text);
        return;
    }
    QSize largest(1, 1);
    for (const ModulePicture& picture : Pictures) {
        const QImage shown = Enlarged(picture.image, kPictureScale);
        largest = largest.expandedTo(shown.size());
        // Under each picture what names it ("icon 1 'Kitchen'"), the rest of
        // its caption (its size, why it was not drawn) in its tooltip.
        auto* entry = new QListWidgetItem(QIcon(QPixmap::fromImage(shown)),
                                          picture.caption.section(':', 0, 0), PictureList);
        entry->setToolTip(picture.caption);
    }
    PictureList->setIconSize(largest);
    Detail->setCurrentWidget(PictureList);
}

}  // namespace zorsim
