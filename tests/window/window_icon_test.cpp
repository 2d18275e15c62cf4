// "Open" and "Send" of the "Dynamic Icon" group through the real widgets:
// picture files of several formats, damaged files, the upload and the boxes.
#include <QComboBox>
#include <QPushButton>

#include "icon_files.h"
#include "panel/IconUpload.h"
#include "window_fixture.h"

namespace {

using zortest::Rows;

constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kWhite = 0xFFFFFFFF;

// A picture with a black top left pixel, a black bottom right pixel and a
// black diagonal, as '#' and '.' rows.
std::vector<std::string> Pattern(int width, int height) {
    std::vector<std::string> rows(static_cast<size_t>(height),
                                  std::string(static_cast<size_t>(width), '.'));
    for (int i = 0; i < std::min(width, height); ++i) rows[i][i] = '#';
    rows.back().back() = '#';
    return rows;
}

QImage PatternImage(int width, int height, QImage::Format format) {
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::white);
    const auto rows = Pattern(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (rows[y][x] == '#') image.setPixel(x, y, kBlack);
    return image.convertToFormat(format);
}


}  // namespace

class IconTest : public QObject {
    Q_OBJECT

    std::unique_ptr<zortest::FormOnFreshModule> f;
    zortest::FakeDesktop desktop;
    zortest::TempFolder folder{"window_icons"};

    zorsim::TForm1& form() { return f->form; }
    QString Sent() const { return zortest::Conversation(f->recorder); }

    // Opens `bytes` saved as `name` through the "Open" button.
    void Open(const std::string& name, const std::string& bytes) {
        zortest::WriteFile(folder.File(name), bytes);
        desktop.openAnswers = {QString::fromStdString(folder.File(name))};
        QTest::mouseClick(form().OpenDIButton, Qt::LeftButton);
    }

private slots:
    void initTestCase() {
        f = std::make_unique<zortest::FormOnFreshModule>();
        QVERIFY(zortest::ShowAndActivate(form()));
        form().SplashTimerTimer();
    }
    void init() {
        f->recorder.Clear();
        desktop.boxes.clear();
        form().DIComboBox->setCurrentIndex(1);
    }
    void cleanupTestCase() { f.reset(); }

    void theGroupStartsWithAOneBitIconOfFullSize() {
        const QImage shown = form().DIImage->Picture();
        QCOMPARE(shown.size(), QSize(62, 16));
        QCOMPARE(shown.format(), QImage::Format_Mono);
        QCOMPARE(shown.colorTable(), QList<QRgb>({kBlack, kWhite}));
        QVERIFY(zortest::BlackPixels(shown) > 0);
    }

    void openReadsPicturesWhateverTheirFormat_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        const auto rows = Pattern(20, 9);
        const auto add = [](const char* tag, const char* name, const std::string& bytes) {
            QTest::newRow(tag) << QString(name) << QByteArray::fromStdString(bytes);
        };
        add("1-bit, white first", "white_first.bmp",
            zortest::BmpFile(20, 9, 1, {kWhite, kBlack}, zortest::OneBitRows(rows, 1)));
        add("1-bit, two colours neither black nor white", "two.bmp",
            zortest::BmpFile(20, 9, 1, {qRgb(250, 230, 20), qRgb(90, 0, 60)},
                             zortest::OneBitRows(rows, 1)));
        add("8-bit", "eight.bmp",
            zortest::Encoded(PatternImage(20, 9, QImage::Format_Indexed8), "BMP"));
        std::vector<std::vector<uint8_t>> bgra;
        for (const std::string& line : rows) {
            std::vector<uint8_t> row;
            for (char c : line) row.insert(row.end(), 4, c == '#' ? 0 : 255);
            bgra.push_back(row);
        }
        add("32-bit", "deep.bmp", zortest::BmpFile(20, 9, 32, {}, bgra));
        add("PNG", "icon.png", zortest::Encoded(PatternImage(20, 9, QImage::Format_ARGB32), "PNG"));
        add("ICO", "icon.ico", zortest::Encoded(PatternImage(20, 9, QImage::Format_ARGB32), "ICO"));
    }
    void openReadsPicturesWhateverTheirFormat() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        Open(name.toStdString(), bytes.toStdString());
        QCOMPARE(desktop.openAsked.back().title, QString("Open file"));
        QCOMPARE(desktop.openAsked.back().filter, QString("Bitmap (*.bmp);;All files (*)"));
        QCOMPARE(desktop.openAsked.back().initialFolder, QString("."));
        QVERIFY(desktop.boxes.empty());
        const QImage shown = form().DIImage->Picture();
        QCOMPARE(shown.format(), QImage::Format_Mono);
        QCOMPARE(shown.colorTable(), QList<QRgb>({kBlack, kWhite}));
        QCOMPARE(Rows(shown), Pattern(20, 9));
        QCOMPARE(Sent(), QString());  // opening sends nothing
    }

    void damagedOrUnknownFilesLeaveTheIconAsItWas() {
        const QImage before = form().DIImage->Picture().copy();
        const std::string full =
            zortest::BmpFile(62, 16, 1, {kBlack, kWhite}, zortest::OneBitRows(Pattern(62, 16), 0));
        Open("cut.bmp", full.substr(0, full.size() - 60));
        Open("notes.bmp", "these are notes, not a picture");
        QCOMPARE(desktop.boxes.size(), size_t{2});
        for (const auto& box : desktop.boxes) QVERIFY(box.error);
        QVERIFY2(
            desktop.boxes[0].text.contains("cut.bmp") && desktop.boxes[0].text.contains("damaged"),
            qPrintable(desktop.boxes[0].text));
        QVERIFY(desktop.boxes[1].text.contains("notes.bmp"));
        QCOMPARE(form().DIImage->Picture(), before);

        desktop.openAnswers = {""};  // cancelled
        QTest::mouseClick(form().OpenDIButton, Qt::LeftButton);
        QCOMPARE(desktop.boxes.size(), size_t{2});
        QCOMPARE(form().DIImage->Picture(), before);
    }

    void sendLoadsTheIconAndTheLcdShowsIt() {
        Open("icon.png", zortest::Encoded(PatternImage(62, 16, QImage::Format_RGB32), "PNG"));
        f->recorder.Clear();
        const QImage lcdBefore = form().LCDimage->Picture().copy();
        QTest::mouseClick(form().SendDIButton, Qt::LeftButton);
        const QString sent = Sent();
        QVERIFY2(sent.startsWith("09 20 60 01 60 00 60 02 60 3E 60 10 60 0A 24 60 80 21 24 "),
                 qPrintable(sent));
        QCOMPARE(sent.count(" 21 24"), 128);
        QVERIFY(sent.endsWith(" 22 60 01 60 01 60 00 60 02 61 02 24"));
        QVERIFY(desktop.boxes.empty());
        QCOMPARE(zortest::PictureMismatch(form().LCDimage->Picture()), QString());
        QVERIFY(form().LCDimage->Picture() != lcdBefore);  // key 2 shows the icon now
    }

    void aLargerPictureIsShownCroppedAfterSending() {
        Open("wide.png", zortest::Encoded(PatternImage(100, 10, QImage::Format_RGB32), "PNG"));
        QCOMPARE(form().DIImage->Picture().size(), QSize(100, 10));
        QTest::mouseClick(form().SendDIButton, Qt::LeftButton);
        QCOMPARE(form().DIImage->Picture().size(), QSize(62, 16));
        auto expected = Pattern(100, 10);
        for (auto& row : expected) row.resize(62);
        expected.resize(16, std::string(62, '.'));
        QCOMPARE(Rows(form().DIImage->Picture()), expected);
    }

    // The refused key selection is not followed by 24, which would append the
    // label bytes to the icon instead of storing a label.
    void withNoKeyChosenNoLabelIsStored() {
        form().DIComboBox->setCurrentIndex(-1);
        QTest::mouseClick(form().SendDIButton, Qt::LeftButton);
        const QString sent = Sent();
        QVERIFY2(sent.startsWith("09 20 60 01 60 00 60 00 "), qPrintable(sent));
        QVERIFY2(sent.endsWith(" 22 60 01 60 01 60 00 60 00 61 00"), qPrintable(sent));
        QVERIFY(desktop.boxes.empty());
    }

    void aFullModuleGetsTheNoRoomBoxAndNoRedraw() {
        // Other icons of language 1 take every slot left; with language 1
        // current none of them may be replaced.
        lcdm::Language.currentLanguage = 1;
        int loaded = 0;
        for (int id = 101; id <= 116; ++id) {
            panel::IconPicture filler(8, 1);
            if (!panel::SendDIButtonClick(f->port, filler, static_cast<uint8_t>(id),
                                          [](const std::string&) {}))
                break;
            ++loaded;
        }
        QVERIFY(loaded > 0 && loaded < 16);
        form().DIComboBox->setCurrentIndex(4);  // key 5 has no icon yet
        f->recorder.Clear();
        // A pixel the picture does not show yet: a redraw would bring it in.
        const QImage lcdBefore = form().LCDimage->Picture().copy();
        lcdm::Graphics.FrameBuffer[0] ^= 0x80;
        QTest::mouseClick(form().SendDIButton, Qt::LeftButton);
        QCOMPARE(desktop.boxes.size(), size_t{1});
        QVERIFY(desktop.boxes[0].error);
        QCOMPARE(desktop.boxes[0].text, QString("Cannot find free room for dynamic icon"));
        QVERIFY(Sent().endsWith("60 0A 24"));
        QCOMPARE(form().LCDimage->Picture(), lcdBefore);
        lcdm::Graphics.FrameBuffer[0] ^= 0x80;
    }
};

ZOR_WINDOW_TEST_MAIN(IconTest)
#include "window_icon_test.moc"
