#include "LabelStoreDock.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "Lcdm.h"

namespace zorsim {
namespace {

// Pictures are shown twice their size, as the LCD picture shows the screen.
constexpr int kPictureScale = 2;
constexpr int kRawBytesPerLine = 16;
constexpr int kSlotsPerRow = 4;

// Offsets inside an icon directory entry, as the module keeps them.
enum IconEntryByte : uint8_t {
    kSizeHigh = 0,
    kIdHigh = 2,
    kWidth = 4,
    kHeight = 5,
    kYOffset = 6,
    kLanguage = 7,
};

uint8_t Store(uint32_t address) {
    return lcdm::ReadStoreByte(static_cast<uint16_t>(address));
}
uint16_t StoreWord(uint32_t address) {
    return lcdm::MakeWord(Store(address), Store(address + 1));
}
uint16_t EntryAddress(uint8_t slot) {
    return static_cast<uint16_t>(lcdm::kIconDirectory + slot * lcdm::kIconDirectoryEntrySize);
}

// The slot a key label's icon is drawn from: the first in use with its
// language and id, as the module's lookup finds it; -1 when there is none.
int SlotOf(uint8_t language, uint16_t id) {
    if (language == lcdm::kFreeLanguage) return -1;
    for (uint8_t slot = 0; slot < lcdm::kIconSlots; ++slot) {
        const uint16_t entry = EntryAddress(slot);
        if (Store(entry + kLanguage) == language && StoreWord(entry + kIdHigh) == id) return slot;
    }
    return -1;
}

QString ListText(const uint8_t* entries, uint8_t count, uint8_t capacity) {
    QStringList list;
    for (uint8_t i = 0; i < count && i < capacity; ++i) list << QString::number(entries[i]);
    return list.isEmpty() ? QString("none") : list.join(", ");
}

// A label's characters up to its first 0 byte, in Latin-1 as the window
// sends them.
QString LabelText(uint32_t address, uint8_t length) {
    QString text;
    for (uint8_t i = 0; i < length; ++i) {
        const uint8_t c = Store(address + i);
        if (c == 0) break;
        text += c >= 0x20 && c != 0x7F ? QString(QChar(c)) : QString::asprintf("\\x%02X", c);
    }
    return "\"" + text + "\"";
}

QPixmap Shown(const ModulePicture& picture) {
    return QPixmap::fromImage(Enlarged(picture.image, kPictureScale));
}

}  // namespace

LabelStoreDock::LabelStoreDock(Workbench&, QWidget* parent) : ToolDock("Label Store", parent) {
    setObjectName("LabelStoreDock");
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    auto* body = new QWidget;
    auto* layout = new QVBoxLayout(body);

    Settings = new QLabel(body);
    Settings->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(Settings);

    Keys = new QTreeWidget(body);
    Keys->setObjectName("LabelStoreKeys");
    Keys->setColumnCount(kKeyColumns);
    Keys->setHeaderLabels({"Key", "Language", "Kind", "Length", "Label"});
    Keys->setIconSize(QSize(62 * kPictureScale, 16 * kPictureScale));
    Keys->setMinimumHeight(260);
    Keys->header()->setStretchLastSection(true);
    layout->addWidget(Keys, 1);

    auto* icons = new QGroupBox("Dynamic icons", body);
    auto* iconGrid = new QGridLayout(icons);
    for (uint8_t slot = 0; slot < lcdm::kIconSlots; ++slot) {
        auto* text = new QLabel(icons);
        auto* image = new QLabel(icons);
        text->setTextInteractionFlags(Qt::TextSelectableByMouse);
        text->setWordWrap(true);
        text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        // Four slots a row, each its words above its picture.
        const int row = 2 * (slot / kSlotsPerRow), column = slot % kSlotsPerRow;
        iconGrid->addWidget(text, row, column);
        iconGrid->addWidget(image, row + 1, column);
        SlotTexts.push_back(text);
        SlotImages.push_back(image);
    }
    for (int column = 0; column < kSlotsPerRow; ++column) iconGrid->setColumnStretch(column, 1);
    SlotPictures.resize(lcdm::kIconSlots);
    layout->addWidget(icons);

    auto* logos = new QGroupBox("Logos", body);
    auto* logoGrid = new QGridLayout(logos);
    for (int n = 0; n < 2; ++n) {
        LogoTexts[n] = new QLabel(logos);
        LogoImages[n] = new QLabel(logos);
        logoGrid->addWidget(LogoImages[n], n, 0);
        logoGrid->addWidget(LogoTexts[n], n, 1);
    }
    logoGrid->setColumnStretch(1, 1);
    layout->addWidget(logos);

    Languages = new QLabel(body);
    Languages->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(Languages);

    RawToggle = new QCheckBox("Raw bytes", body);
    layout->addWidget(RawToggle);
    Raw = new QPlainTextEdit(body);
    Raw->setObjectName("LabelStoreRaw");
    Raw->setReadOnly(true);
    Raw->setFont(fixed);
    Raw->setMinimumHeight(300);
    Raw->hide();
    layout->addWidget(Raw);

    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setWidget(body);
    setWidget(scroll);
    connect(RawToggle, &QCheckBox::toggled, this, [this](bool on) {
        Raw->setVisible(on);
        if (on) ShowRaw();
    });
}

void LabelStoreDock::Refresh() {
    // The store, the lists and the language decide all that is shown.
    std::vector<uint8_t> now(lcdm::Labels.LabelStore,
                             lcdm::Labels.LabelStore + lcdm::kLabelStoreSize);
    const lcdm::VocabularyState& v = lcdm::Vocabulary;
    for (const auto* list : {&v.availableLanguages, &v.usedLanguages}) {
        now.insert(now.end(), std::begin(list->entries), std::end(list->entries));
        now.push_back(list->count);
    }
    now.insert(now.end(), std::begin(v.fontClasses.entries), std::end(v.fontClasses.entries));
    now.push_back(v.fontClasses.count);
    now.push_back(lcdm::Language.currentLanguage);
    now.push_back(lcdm::Language.currentFontClass);
    if (now == shown_) return;
    shown_ = std::move(now);

    Settings->setText(QString("Settings record: vocabulary start %1, language %2")
                          .arg(StoreWord(lcdm::kSettingsVocabularyStart))
                          .arg(Store(lcdm::kSettingsLanguage)));
    ShowKeys();
    ShowIcons();
    ShowLogos();
    ShowLanguages();
    if (RawToggle->isChecked()) ShowRaw();
}

// Each key's labels as the module's drawing walks its directory: entries up
// to the first whose length byte is 0 or 255, each entry's data after those
// of the entries before it.
void LabelStoreDock::ShowKeys() {
    // Built anew, at the place the reader had scrolled to.
    const int scrolled = Keys->verticalScrollBar()->value();
    Keys->clear();
    for (uint8_t key = 1; key <= lcdm::kKeyCount; ++key) {
        const uint16_t record = lcdm::RecordAddress(key);
        auto* row = new QTreeWidgetItem(Keys);
        row->setText(kKeyEntry, QString("Key %1").arg(key));
        uint32_t offset = lcdm::kLabelDirectorySize;
        for (uint8_t i = 0; i < lcdm::kLabelEntries; ++i) {
            const uint8_t lengthByte = Store(record + 2u * i);
            if (lengthByte == 0 || lengthByte == lcdm::kFreeEntry) break;
            const uint8_t language = Store(record + 2u * i + 1);
            const uint8_t length = lengthByte & lcdm::kEntryLengthMask;
            auto* entry = new QTreeWidgetItem(row);
            entry->setText(kKeyEntry, QString("entry %1%2").arg(i).arg(i == 0 ? " (default)" : ""));
            entry->setText(kKeyLanguage, QString::number(language));
            entry->setText(kKeyLength, QString::number(length));
            QString label;
            if ((lengthByte & lcdm::kIconEntryFlag) != 0) {
                entry->setText(kKeyKind, "icon");
                const uint16_t id = StoreWord(record + offset);
                label = QString("icon %1").arg(id);
                const int slot = SlotOf(language, id);
                if (slot >= 0) {
                    label += QString(" (dynamic icon, slot %1)").arg(slot);
                    const uint16_t at = EntryAddress(static_cast<uint8_t>(slot));
                    const ModulePicture picture = StorePicture(
                        static_cast<uint16_t>(lcdm::kIconBitmaps + slot * lcdm::kIconSlotSize),
                        StoreWord(at + kSizeHigh), Store(at + kWidth), Store(at + kHeight));
                    if (!picture.image.isNull()) entry->setIcon(kKeyLabel, Shown(picture));
                }
            } else {
                entry->setText(kKeyKind, "text");
                label = LabelText(record + offset, length);
            }
            // The module reads such data from the next record on.
            if (offset + length > lcdm::kRecordSize)
                label += QString(" (runs %1 bytes past the record)")
                             .arg(offset + length - lcdm::kRecordSize);
            entry->setText(kKeyLabel, label);
            offset += length;
        }
        const int labels = row->childCount();
        row->setText(kKeyLabel, labels == 0   ? QString("no labels")
                                : labels == 1 ? QString("1 label")
                                              : QString("%1 labels").arg(labels));
    }
    Keys->expandAll();
    for (int column = 0; column < kKeyLabel; ++column) Keys->resizeColumnToContents(column);
    Keys->verticalScrollBar()->setValue(scrolled);
}

void LabelStoreDock::ShowIcons() {
    for (uint8_t slot = 0; slot < lcdm::kIconSlots; ++slot) {
        const uint16_t entry = EntryAddress(slot);
        const uint8_t language = Store(entry + kLanguage);
        if (language == lcdm::kFreeLanguage) {
            SlotPictures[slot] = {};
            SlotTexts[slot]->setText(QString("Slot %1: free").arg(slot));
            SlotImages[slot]->clear();
            continue;
        }
        SlotPictures[slot] = StorePicture(
            static_cast<uint16_t>(lcdm::kIconBitmaps + slot * lcdm::kIconSlotSize),
            StoreWord(entry + kSizeHigh), Store(entry + kWidth), Store(entry + kHeight));
        SlotTexts[slot]->setText(QString("Slot %1: icon %2, language %3\ny-offset %4, %5")
                                     .arg(slot)
                                     .arg(StoreWord(entry + kIdHigh))
                                     .arg(language)
                                     .arg(Store(entry + kYOffset))
                                     .arg(SlotPictures[slot].caption));
        SlotImages[slot]->setPixmap(Shown(SlotPictures[slot]));
    }
}

void LabelStoreDock::ShowLogos() {
    const uint16_t enable[2] = {lcdm::kLogoEnable0, lcdm::kLogoEnable1};
    const uint16_t bitmap[2] = {lcdm::kLogoBitmap0, lcdm::kLogoBitmap1};
    for (int n = 0; n < 2; ++n) {
        LogoPictures[n] =
            StorePicture(bitmap[n], lcdm::kLogoSize, lcdm::kLogoWidth, lcdm::kLogoHeight);
        const uint8_t on = Store(enable[n]);
        LogoTexts[n]->setText(
            QString("Logo %1: %2")
                .arg(n)
                .arg(on == 0
                         ? QString("enabled")
                         : QString("disabled (enable byte %1; DRAW_LOGO draws nothing)").arg(on)));
        LogoImages[n]->setPixmap(Shown(LogoPictures[n]));
    }
}

void LabelStoreDock::ShowLanguages() {
    const lcdm::VocabularyState& v = lcdm::Vocabulary;
    Languages->setText(
        QString("Used languages: %1\nAvailable languages: %2\nFont classes: %3\n"
                "Current language %4, font class %5")
            .arg(ListText(v.usedLanguages.entries, v.usedLanguages.count, lcdm::kLanguageListSize))
            .arg(ListText(v.availableLanguages.entries, v.availableLanguages.count,
                          lcdm::kLanguageListSize))
            .arg(ListText(v.fontClasses.entries, v.fontClasses.count, lcdm::kFontClassListSize))
            .arg(lcdm::Language.currentLanguage)
            .arg(lcdm::Language.currentFontClass));
}

void LabelStoreDock::ShowRaw() {
    QString text;
    text.reserve(lcdm::kLabelStoreSize / kRawBytesPerLine * 60);
    for (uint32_t line = 0; line < lcdm::kLabelStoreSize; line += kRawBytesPerLine) {
        text += QString::number(line).rightJustified(4) + ":";
        for (uint32_t i = line; i < line + kRawBytesPerLine; ++i)
            text += QString::asprintf(" %02X", Store(i));
        text += '\n';
    }
    const int scroll = Raw->verticalScrollBar()->value();
    Raw->setPlainText(text);
    Raw->verticalScrollBar()->setValue(scroll);
}

}  // namespace zorsim
