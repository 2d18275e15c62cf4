// The module tools' views through the real widgets, on the default image:
// the memory view shows module memory and names the item at each place, and
// a byte typed over reaches memory and the page; the label store view
// decodes a text label and draws a dynamic icon as the window sent them; the
// vocabulary view lists the default image's items, narrows them with its
// filter, and draws every bitmap and icon as its picture file draws it.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTreeWidget>

#include "DefaultImage.h"
#include "LabelStoreDock.h"
#include "MemoryDock.h"
#include "VocabularyDock.h"
#include "VocabularyItems.h"
#include "Workbench.h"
#include "panel/Encoders.h"
#include "pixelart/image.h"
#include "window_fixture.h"

namespace {

using zortest::Rows;

bool Pixel(int x, int y) {
    return (lcdm::Graphics.FrameBuffer[y * 8 + x / 8] & (0x80 >> (x % 8))) != 0;
}

std::vector<std::string> Rows(const pixelart::Picture& picture) {
    std::vector<std::string> rows;
    for (const auto& line : picture.rows) {
        std::string row;
        for (bool dark : line) row += dark ? '#' : '.';
        rows.push_back(row);
    }
    return rows;
}

// The default image's pictures as their source files draw them.
pixelart::PictureSet DefaultPictures(const std::string& file) {
    std::string why;
    const auto text = zorasm::EmbeddedImageFiles().Read("lcdm/image/" + file, why);
    return pixelart::ParsePictures(pixelart::ParseDocument(text.value_or(""), file));
}

QString Cell(QAbstractItemModel* model, int row, int column, int role = Qt::DisplayRole) {
    return model->data(model->index(row, column), role).toString();
}

}  // namespace

class ViewsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<zortest::FormOnFreshModule> f;
    zortest::FakeDesktop desktop;

    zorsim::TForm1& form() { return f->form; }
    // A dock of the tools, brought to the front and up to date, as its tab
    // being chosen does.
    template <typename Dock>
    Dock& Shown(const char* name) {
        auto* dock = form().findChild<Dock*>(name);
        dock->raise();
        dock->Refresh();
        return *dock;
    }

private slots:
    // Page 0 of the default image, the tools shown.
    void init() {
        f = std::make_unique<zortest::FormOnFreshModule>();
        form().Bench->ShowTools(true);
        panel::SendRunScript(f->port, 10, 0);
        form().RenderLcd();
    }
    void cleanup() { f.reset(); }

    void theMemoryViewShowsTheBytesAndNamesTheItemThere_data() {
        QTest::addColumn<QString>("place");
        QTest::addColumn<int>("address");
        QTest::addColumn<QString>("bytes");      // from the address on
        QTest::addColumn<QString>("itemLabel");  // beside the item's first row
        QTest::addColumn<QString>("tip");        // the first byte's tooltip
        QTest::addColumn<QString>("disassembly");
        QTest::newRow("the header") << "0" << 0 << "00 04 21 00"
                                    << "header 33, procedure 0"
                                    << "0 = header 33 + 0"
                                    << ".header 33";
        QTest::newRow("a script") << "script 10" << 18737 << "00 1B 0A 05"
                                  << "script 10"
                                  << "18737 = script 10 + 0 (refresh: p = 255"
                                  << ".script 10";
        QTest::newRow("inside a procedure, by hex address")
            << "0x41BE" << 16830 << "03 00 6D 03"
            << "procedure 30"
            << "16830 = procedure 30 + 4 (bottom line)"
            << "PUSH16 109";
        QTest::newRow("a string") << "string 0 + 4" << 4346 << "4C 6F 63 61"
                                  << "string 0"
                                  << "4346 = string 0 + 4"
                                  << "\"Locate\"";
    }
    void theMemoryViewShowsTheBytesAndNamesTheItemThere() {
        QFETCH(QString, place);
        QFETCH(int, address);
        QFETCH(QString, bytes);
        QFETCH(QString, itemLabel);
        QFETCH(QString, tip);
        QFETCH(QString, disassembly);
        auto& memory = Shown<zorsim::MemoryDock>("MemoryDock");
        memory.GoToEdit->setText(place);
        QTest::keyClick(memory.GoToEdit, Qt::Key_Return);

        const QModelIndex current = memory.Table->currentIndex();
        QCOMPARE(zorsim::MemoryModel::AddressOf(current), address);
        QStringList shown;
        for (int i = 0; i < 4; ++i)
            shown << memory.Model->data(memory.Model->IndexOf(address + i), Qt::DisplayRole)
                         .toString();
        QCOMPARE(shown.join(' '), bytes);
        QVERIFY2(memory.Model->data(current, Qt::ToolTipRole).toString().startsWith(tip),
                 qPrintable(memory.Model->data(current, Qt::ToolTipRole).toString()));
        const services::ChainItem* item = zorsim::ItemAt(memory.Model->Items(), address);
        QVERIFY(item != nullptr);
        QCOMPARE(Cell(memory.Model, item->address / 16, zorsim::MemoryModel::kItemColumn),
                 itemLabel);
        QVERIFY2(memory.Disassembly->toPlainText().contains(disassembly),
                 qPrintable(memory.Disassembly->toPlainText()));
        QVERIFY(memory.Status->isHidden());

        // A place that is not there moves nothing and says what Go to takes.
        memory.GoToEdit->setText("script 99");
        QTest::keyClick(memory.GoToEdit, Qt::Key_Return);
        QCOMPARE(memory.Table->currentIndex(), current);
        QVERIFY(!memory.Status->isHidden());
        QVERIFY(memory.Status->text().contains("\"script 99\""));
    }

    // A host's "pointer := 20000, memory mode" (82 4E 20 0A) moves the mark.
    void theHostsAddressPointerIsMarked() {
        auto& memory = Shown<zorsim::MemoryDock>("MemoryDock");
        for (uint8_t byte : {0x82, 0x4E, 0x20, 0x0A}) f->port.Send(byte);
        QCOMPARE(lcdm::Link.AddressPointer, 20000);
        memory.Refresh();
        QCOMPARE(memory.Pointer->text(), QString("Address pointer: 20000 (marked)"));
        for (int address : {19999, 20000, 20001}) {
            const QModelIndex index = memory.Model->IndexOf(static_cast<uint16_t>(address));
            const bool marked = address == 20000;
            QCOMPARE(index.data(Qt::FontRole).value<QFont>().bold(), marked);
            QCOMPARE(index.data(Qt::ToolTipRole).toString().contains("address pointer"), marked);
            QCOMPARE(index.data(Qt::BackgroundRole).isValid(), marked);  // past the vocabulary
        }
    }

    // Bitmap 0, the toggle knob, is drawn at the left end of each key's
    // slider, at (6, 20 + 26 k); its first row's first byte (0x7F: columns
    // 7 to 13) is byte 30 of memory. Typed over with 00 through the cell's
    // editor, whose validator drops what is not hex, the knobs lose that row.
    void aByteTypedOverReachesMemoryAndThePage() {
        auto& memory = Shown<zorsim::MemoryDock>("MemoryDock");
        const std::vector<int> rows = {20, 46, 72, 98};
        for (int y : rows)
            for (int x = 7; x <= 13; ++x) QVERIFY(Pixel(x, y));
        const QModelIndex byte30 = memory.Model->IndexOf(30);
        QCOMPARE(byte30.data().toString(), QString("7F"));

        memory.Table->setCurrentIndex(byte30);
        memory.Table->edit(byte30);
        auto* editor = memory.Table->findChild<QLineEdit*>();
        QVERIFY(editor != nullptr);
        editor->clear();
        QTest::keyClicks(editor, "zz0g0");
        QCOMPARE(editor->text(), QString("00"));
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();  // the delegate commits on a queued call

        QCOMPARE(lcdm::ReadMemoryByte(30), 0);
        QCOMPARE(byte30.data().toString(), QString("00"));
        for (int y : rows) {
            for (int x = 6; x <= 13; ++x)
                QVERIFY2(!Pixel(x, y), qPrintable(QString("(%1, %2)").arg(x).arg(y)));
            QVERIFY(Pixel(6, y + 1));  // the knob's other rows stay
        }
        QCOMPARE(zortest::PictureMismatch(form().LCDimage->Picture()), QString());

        // Values that are no byte in hex are refused and change nothing.
        for (const char* refused : {"G1", "100", "", "-1"})
            QVERIFY2(!memory.Model->setData(byte30, refused, Qt::EditRole), refused);
        QCOMPARE(lcdm::ReadMemoryByte(30), 0);
    }

    // What the window's "Text Label" and "Dynamic Icon" send, decoded: key 2
    // gets the text "Hi" in language 1 (2 characters and the 0 byte), key 3
    // the icon of slot 0, drawn as the group shows the picture.
    void theLabelStoreViewDecodesWhatTheWindowSent() {
        form().TextComboBox->setCurrentIndex(1);
        form().TextLabel->setText("Hi");
        QTest::mouseClick(form().TextLabelButton, Qt::LeftButton);
        form().DIComboBox->setCurrentIndex(2);
        QTest::mouseClick(form().SendDIButton, Qt::LeftButton);
        QVERIFY(desktop.boxes.empty());

        auto& store = Shown<zorsim::LabelStoreDock>("LabelStoreDock");
        using D = zorsim::LabelStoreDock;
        auto entries = [&](int key) {
            QStringList list;
            const QTreeWidgetItem* row = store.Keys->topLevelItem(key - 1);
            for (int i = 0; i < row->childCount(); ++i) {
                const QTreeWidgetItem* entry = row->child(i);
                QStringList cells;
                for (int c = D::kKeyLanguage; c <= D::kKeyLabel; ++c) cells << entry->text(c);
                list << cells.join(" | ");
            }
            return list;
        };
        QCOMPARE(store.Keys->topLevelItemCount(), 28);
        QCOMPARE(entries(1), QStringList());
        QCOMPARE(entries(2), QStringList({"1 | text | 3 | \"Hi\""}));
        QCOMPARE(entries(3), QStringList({"1 | icon | 2 | icon 3 (dynamic icon, slot 0)"}));

        const QImage sent = form().DIImage->Picture();
        const zorsim::ModulePicture& slot0 = store.SlotPictures[0];
        QCOMPARE(Rows(slot0.image), Rows(sent));
        QCOMPARE(store.SlotImages[0]->pixmap().size(), QSize(124, 32));
        QVERIFY(store.SlotTexts[0]->text().startsWith("Slot 0: icon 3, language 1"));
        QVERIFY(store.SlotPictures[1].image.isNull());
        QCOMPARE(store.SlotTexts[1]->text(), QString("Slot 1: free"));
        QVERIFY(store.Languages->text().contains("Used languages: 1\n"));

        QVERIFY(store.Raw->isHidden());
        store.RawToggle->setChecked(true);
        QVERIFY(!store.Raw->isHidden());
        const QStringList raw = store.Raw->toPlainText().split('\n', Qt::SkipEmptyParts);
        QCOMPARE(raw.size(), 512);
        // Key 2's record starts at 256: entry 0 is 3 bytes of language 1.
        QVERIFY2(raw[16].startsWith(" 256: 03 01 FF FF"), qPrintable(raw[16]));
    }

    // Slots and logos written into the store directly, as raw host writes
    // can: each is drawn as the module would draw it, or not, saying why.
    void theLabelStoreViewDrawsWhatTheModuleWouldDraw_data() {
        QTest::addColumn<int>("slot");  // -1: logo 0
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<QString>("text");  // what the slot's or logo's words contain
        QTest::newRow("8 x 16 in slot 3") << 3 << 16 << 8 << 16 << "8 x 16, 16 bytes";
        QTest::newRow("a size past the scratch area")
            << 3 << 300 << 8 << 16 << "not drawn: 300 bytes, more than the module's scratch";
        QTest::newRow("too wide") << 3 << 16 << 70 << 2 << "not drawn: 70 x 2 is outside";
        QTest::newRow("slot 15 full: its block read reaches the store's end")
            << 15 << 256 << 64 << 32
            << "not drawn: 256 bytes from 7936 reach the label store's end";
        QTest::newRow("slot 15 one byte short") << 15 << 255 << 8 << 16 << "8 x 16, 255 bytes";
        QTest::newRow("logo 0") << -1 << 96 << 44 << 16 << "Logo 0: enabled";
    }
    void theLabelStoreViewDrawsWhatTheModuleWouldDraw() {
        QFETCH(int, slot);
        QFETCH(int, size);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(QString, text);
        // A diagonal (row y has pixel y), the rest blank.
        const uint16_t bitmap =
            slot < 0 ? lcdm::kLogoBitmap0 : static_cast<uint16_t>(lcdm::kIconBitmaps + 256 * slot);
        const int rowBytes = (width + 7) / 8;
        for (int i = 0; i < std::min(size, 256); ++i)
            lcdm::WriteStoreByte(static_cast<uint16_t>(bitmap + i), 0);
        for (int y = 0; y < std::min(height, size / std::max(rowBytes, 1)); ++y)
            lcdm::WriteStoreByte(static_cast<uint16_t>(bitmap + y * rowBytes + (y % width) / 8),
                                 static_cast<uint8_t>(0x80 >> (y % width) % 8));
        if (slot < 0) {
            lcdm::WriteStoreByte(lcdm::kLogoEnable0, 0);
        } else {
            const uint8_t entry[8] = {uint8_t(size >> 8), uint8_t(size),   0, 9,
                                      uint8_t(width),     uint8_t(height), 0, 1};
            lcdm::WriteStoreBlock(static_cast<uint16_t>(lcdm::kIconDirectory + 8 * slot), entry, 8);
        }
        auto& store = Shown<zorsim::LabelStoreDock>("LabelStoreDock");
        const QString words = slot < 0 ? store.LogoTexts[0]->text() : store.SlotTexts[slot]->text();
        QVERIFY2(words.contains(text), qPrintable(words));
        const zorsim::ModulePicture& picture =
            slot < 0 ? store.LogoPictures[0] : store.SlotPictures[slot];
        if (text.contains("not drawn")) {
            QVERIFY(picture.image.isNull());
            return;
        }
        QCOMPARE(picture.image.size(), QSize(width, height));
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                QCOMPARE(qGray(picture.image.pixel(x, y)) < 128, x == y % width);
    }

    void theVocabularyViewListsAndFiltersTheDefaultItems_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("first");  // the first row shown: address, type, number, name
        QTest::newRow("none") << "" << 168 << "0 header 33 ";
        QTest::newRow("a type") << "script" << 13 << "18335 script 0 start-up screen";
        QTest::newRow("an item") << "script 10" << 1
                                 << "18737 script 10 refresh: p = 255 "
                                    "redraws the current page, any other p "
                                    "becomes the page";
        QTest::newRow("an address") << "16826" << 1 << "16826 procedure 30 bottom line";
        QTest::newRow("a name") << "keys 1" << 3 << "920 bitmap 20 keys 1-4";
        QTest::newRow("a name and a string's text")
            << "locate" << 2 << "1583 bitmap 28 locate icon";
        QTest::newRow("nothing") << "script 99" << 0 << "";
    }
    void theVocabularyViewListsAndFiltersTheDefaultItems() {
        QFETCH(QString, filter);
        QFETCH(int, rows);
        QFETCH(QString, first);
        auto& vocabulary = Shown<zorsim::VocabularyDock>("VocabularyDock");
        QCOMPARE(vocabulary.Model->rowCount(), 168);
        QTest::keyClicks(vocabulary.FilterEdit, filter);
        QCOMPARE(vocabulary.Filtered->rowCount(), rows);
        if (rows == 0) return;
        using M = zorsim::VocabularyModel;
        QAbstractItemModel* shown = vocabulary.Filtered;
        QCOMPARE(QString("%1 %2 %3 %4")
                     .arg(Cell(shown, 0, M::kAddress), Cell(shown, 0, M::kType),
                          Cell(shown, 0, M::kNumber), Cell(shown, 0, M::kName)),
                 first);
    }

    // Each bitmap and icon of the default image, drawn by the module's own
    // decoder (raw and nibble-coded alike), is the picture its source file
    // draws, as wide and as high as the item says.
    void theVocabularyViewDrawsEveryPictureAsItsSourceDrawsIt() {
        auto& vocabulary = Shown<zorsim::VocabularyDock>("VocabularyDock");
        // What a run waiting in DELAY would find again: the page, the cursor
        // and the fonts it had chosen.
        const std::vector<uint8_t> page(lcdm::Graphics.FrameBuffer,
                                        lcdm::Graphics.FrameBuffer + lcdm::kFrameBufferSize);
        lcdm::Graphics.GraphicsCursor = {17, 93};
        const lcdm::FontState fonts = lcdm::Fonts;
        const pixelart::PictureSet bitmaps = DefaultPictures("bitmaps.art");
        QCOMPARE(bitmaps.bitmaps.size(), size_t{60});
        for (const pixelart::BitmapSource& bitmap : bitmaps.bitmaps) {
            const uint16_t item =
                lcdm::FindVocabularyItem(static_cast<uint8_t>(bitmap.number), lcdm::kItemBitmap);
            QVERIFY(vocabulary.SelectItem(item));
            QCOMPARE(vocabulary.Pictures.size(), size_t{1});
            const QImage& image = vocabulary.Pictures[0].image;
            const QString which = QString("bitmap %1").arg(bitmap.number);
            QVERIFY2(image.size() ==
                         QSize(lcdm::ReadMemoryWord(item + 7), lcdm::ReadMemoryWord(item + 9)),
                     qPrintable(which));
            QVERIFY2(Rows(image) == Rows(bitmap.picture), qPrintable(which));
        }

        const pixelart::PictureSet icons = DefaultPictures("icons.art");
        QVERIFY(vocabulary.SelectItem(8060));
        QCOMPARE(vocabulary.Pictures.size(), icons.icons.size());
        for (size_t i = 0; i < icons.icons.size(); ++i) {
            QVERIFY(Rows(vocabulary.Pictures[i].image) == Rows(icons.icons[i].picture));
            QVERIFY(
                vocabulary.Pictures[i].caption.startsWith(QString("icon %1 '%2':")
                                                              .arg(icons.icons[i].code)
                                                              .arg(icons.icons[i].label.c_str())));
        }

        // A text font: a glyph for each code from 0x21 to 0x7E, each the
        // font's cell height; 'l' is narrower than 'W'.
        QVERIFY(vocabulary.SelectItem(4979));
        QCOMPARE(vocabulary.Pictures.size(), size_t{0x7E - 0x21 + 1});
        const zorsim::ModulePicture& l = vocabulary.Pictures['l' - 0x21];
        const zorsim::ModulePicture& w = vocabulary.Pictures['W' - 0x21];
        QCOMPARE(l.caption, QString("0x6C 'l'"));
        QCOMPARE(l.image.height(), 15);
        QVERIFY(l.image.width() < w.image.width());
        QCOMPARE(zortest::BlackPixels(l.image) > 0, true);

        QVERIFY(std::equal(page.begin(), page.end(), lcdm::Graphics.FrameBuffer));
        QCOMPARE(lcdm::Graphics.GraphicsCursor.x, 17);
        QCOMPARE(lcdm::Graphics.GraphicsCursor.y, 93);
        QCOMPARE(lcdm::Fonts.primaryFont, fonts.primaryFont);
        QCOMPARE(lcdm::Fonts.cellHeight, fonts.cellHeight);
        QCOMPARE(lcdm::Fonts.selectedFontClass, fonts.selectedFontClass);
    }

    // Another vocabulary is listed as it is, without the default image's names.
    void aLoadedVocabularyIsListedWithoutTheDefaultNames() {
        auto& vocabulary = Shown<zorsim::VocabularyDock>("VocabularyDock");
        zortest::LoadScripts(18838, {{10, {0x54}}, {0, {0x54, 0x54}}});
        vocabulary.Refresh();
        QAbstractItemModel* shown = vocabulary.Filtered;
        QCOMPARE(shown->rowCount(), 3);
        using M = zorsim::VocabularyModel;
        QStringList rows;
        for (int row = 0; row < 3; ++row)
            rows << QString("%1 %2 %3 %4 [%5]")
                        .arg(Cell(shown, row, M::kAddress), Cell(shown, row, M::kLength),
                             Cell(shown, row, M::kType), Cell(shown, row, M::kNumber),
                             Cell(shown, row, M::kName));
        QCOMPARE(rows, QStringList({"18838 4 header 33 []", "18842 5 script 10 []",
                                    "18847 6 script 0 []"}));
    }
};

ZOR_WINDOW_TEST_MAIN(ViewsTest)
#include "window_views_test.moc"
