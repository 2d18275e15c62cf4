// Every control that talks to the module, through the real widgets: the bytes
// each sends, and the LCD picture afterwards against the frame buffer. Also
// the plate style, About, "Save LCD Image" and the exception box.
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <stdexcept>

#include "ColorPanel.h"
#include "RadioGroup.h"
#include "icon_files.h"
#include "panel/Snapshot.h"
#include "window_fixture.h"

namespace {

// The snapshot as its format lays it out, built here from the frame buffer:
// 62 bytes of headers and palette, then 256 rows of 16 bytes from the bottom.
QByteArray ExpectedBmp() {
    std::string header;
    header += "BM";
    zortest::PutLE(header, 4158, 4);
    zortest::PutLE(header, 0, 4);
    zortest::PutLE(header, 62, 4);
    zortest::PutLE(header, 40, 4);
    zortest::PutLE(header, 128, 4);
    zortest::PutLE(header, 256, 4);
    zortest::PutLE(header, 1, 2);
    zortest::PutLE(header, 1, 2);
    zortest::PutLE(header, 0, 4);
    zortest::PutLE(header, 4096, 4);
    return QByteArray::fromStdString(header);
}

QByteArray ExpectedRows() {
    QByteArray rows;
    for (int y = 255; y >= 0; --y)
        for (int b = 0; b < 16; ++b) {
            uint8_t byte = 0;
            for (int bit = 0; bit < 8; ++bit)
                if (!zortest::ExpectedBlack(8 * b + bit, y))
                    byte |= static_cast<uint8_t>(0x80 >> bit);
            rows.append(static_cast<char>(byte));
        }
    return rows;
}

// An object whose every event handler fails.
class Throwing : public QObject {
public:
    bool event(QEvent*) override { throw std::runtime_error("the handler failed"); }
};

}  // namespace

class HandlersTest : public QObject {
    Q_OBJECT

    std::unique_ptr<zortest::FormOnFreshModule> f;
    zortest::FakeDesktop desktop;
    zortest::TempFolder folder{"handlers"};

    zorsim::TForm1& form() { return f->form; }
    QString Sent() const { return zortest::Conversation(f->recorder); }
    QString LcdMismatch() { return zortest::PictureMismatch(form().LCDimage->Picture()); }

private slots:
    void initTestCase() {
        f = std::make_unique<zortest::FormOnFreshModule>();
        QVERIFY(zortest::ShowAndActivate(form()));
        form().SplashTimerTimer();  // page 0 now, without waiting two seconds
    }
    void init() {
        f->recorder.Clear();
        desktop.boxes.clear();
    }
    void cleanupTestCase() { f.reset(); }

    void pageKeyAndItsClickAreaToggleThePage() {
        QCOMPARE(form().State().PageFlag, 0);
        QTest::mouseClick(form().PageButton, Qt::LeftButton);
        QCOMPARE(Sent(), QString("00 00 00, status := 0, 81 09 01"));
        QCOMPARE(LcdMismatch(), QString());
        f->recorder.Clear();
        QTest::mouseClick(form().Image1, Qt::LeftButton, {}, QPoint(36, 32));
        QCOMPARE(Sent(), QString("00 00 00, status := 0, 81 09 00"));
        QCOMPARE(form().State().PageFlag, 0);
        QCOMPARE(LcdMismatch(), QString());
    }

    void keyFunctionSendsTheCodeOfTheChosenFunction() {
        form().FunctionKey->setCurrentIndex(2);
        form().ButtonFunction->setCurrentIndex(1);
        QTest::mouseClick(form().KeyFunctionButton, Qt::LeftButton);
        QCOMPARE(Sent(),
                 QString("00 00 00, status := 0, 80 03 22 00 00 00, status := 0, 81 0A FF"));
        QCOMPARE(lcdm::Engine.TagVariables[3], 0x22);
        QCOMPARE(LcdMismatch(), QString());

        // No key chosen: the code lands in tag variable 0.
        f->recorder.Clear();
        form().FunctionKey->setCurrentIndex(-1);
        form().ButtonFunction->setCurrentIndex(3);
        QTest::mouseClick(form().KeyFunctionButton, Qt::LeftButton);
        QCOMPARE(Sent(),
                 QString("00 00 00, status := 0, 80 00 04 00 00 00, status := 0, 81 0A FF"));
        form().FunctionKey->setCurrentIndex(0);
        form().ButtonFunction->setCurrentIndex(0);
    }

    void setTimeSendsMinutesThenHoursAsPlainNumbers() {
        desktop.time = QTime(14, 5);
        QTest::mouseClick(form().TimeButton, Qt::LeftButton);
        QCOMPARE(Sent(), QString("00 00 00, status := 0, 80 0B 05 00 00 00, status := 0, 80 0C 0E "
                                 "00 00 00, status := 0, 81 0B FF"));
        QCOMPARE(LcdMismatch(), QString());
    }

    void nextIconClearsItsVariable() {
        lcdm::Engine.TagVariables[25] = 9;
        QTest::mouseClick(form().NextButton, Qt::LeftButton);
        QCOMPARE(Sent(),
                 QString("00 00 00, status := 0, 80 19 00 00 00 00, status := 0, 81 0A FF"));
        QCOMPARE(lcdm::Engine.TagVariables[25], 0);
        QCOMPARE(LcdMismatch(), QString());
    }

    void textLabelSendsTheTypedText() {
        const QImage before = form().LCDimage->Picture().copy();
        form().TextLabel->clear();
        QTest::keyClicks(form().TextLabel, "Hi");
        form().TextComboBox->setCurrentIndex(1);
        QTest::mouseClick(form().TextLabelButton, Qt::LeftButton);
        QCOMPARE(Sent(), QString("09 60 01 60 48 60 69 61 02 24"));
        QCOMPARE(LcdMismatch(), QString());
        QVERIFY(form().LCDimage->Picture() != before);  // key 2 now says "Hi"

        // A character beyond the 8-bit set is sent as '?'; no key, no store.
        f->recorder.Clear();
        form().TextLabel->setText(QString::fromUtf8("\xE2\x82\xAC"));
        form().TextComboBox->setCurrentIndex(-1);
        QTest::mouseClick(form().TextLabelButton, Qt::LeftButton);
        QCOMPARE(Sent(), QString("09 60 01 60 3F 61 00"));
        form().TextComboBox->setCurrentIndex(0);
    }

    void plateStyleChangesOnlyThePlate() {
        const QImage lcd = form().LCDimage->Picture().copy();
        // On the item's round indicator, as a user clicks it.
        const QPoint indicator(6, form().ZORType->Item(0)->height() / 2);
        QTest::mouseClick(form().ZORType->Item(1), Qt::LeftButton, {}, indicator);
        QCOMPARE(form().ZORType->ItemIndex(), 1);
        QVERIFY(form().KAIImage->isVisible());
        QVERIFY(!form().TalvarImage->isVisible());
        QCOMPARE(form().LCDPanel->Color(), QColor(Qt::white));
        QTest::mouseClick(form().ZORType->Item(0), Qt::LeftButton, {}, indicator);
        QVERIFY(!form().KAIImage->isVisible());
        QVERIFY(form().TalvarImage->isVisible());
        QCOMPARE(form().LCDPanel->Color(), QColor(Qt::black));
        QCOMPARE(form().LCDimage->Picture(), lcd);
        QCOMPARE(Sent(), QString());
    }

    void aboutShowsAPlainBoxOfThreeLines() {
        form().About1->trigger();
        QCOMPARE(desktop.boxes.size(), size_t{1});
        QVERIFY(!desktop.boxes[0].error);
        QCOMPARE(desktop.boxes[0].caption, QString("ZOR Simulator"));
        QCOMPARE(desktop.boxes[0].text.split('\n').size(), 3);
    }

    void saveWritesTheSnapshotByteForByte() {
        const QString bmp = QString::fromStdString(folder.File("shot.bmp"));
        desktop.saveAnswers = {bmp};
        QTest::mouseClick(form().SaveLCDButton, Qt::LeftButton);
        QCOMPARE(desktop.saveAsked.back().fileName, QString("ZOR"));
        QCOMPARE(desktop.saveAsked.back().defaultSuffix, QString("bmp"));
        const QByteArray file = QByteArray::fromStdString(zortest::ReadFile(bmp.toStdString()));
        QCOMPARE(file.size(), 4158);
        QCOMPARE(file.left(38), ExpectedBmp());
        QCOMPARE(file.mid(54, 8), QByteArray("\0\0\0\0\xFF\xFF\xFF\0", 8));  // black, white
        QCOMPARE(file.mid(62), ExpectedRows());
        QCOMPARE(QImage(bmp).convertToFormat(QImage::Format_RGB32),
                 form().LCDimage->Picture().convertToFormat(QImage::Format_RGB32));

        // The menu item does the same; a name ending in .png gets a PNG.
        const QString png = QString::fromStdString(folder.File("shot.png"));
        desktop.saveAnswers = {png};
        form().TextTags1->trigger();
        QCOMPARE(desktop.saveAsked.size(), size_t{2});
        const QImage reloaded(png);
        QCOMPARE(reloaded.size(), QSize(128, 256));
        QCOMPARE(reloaded.convertToFormat(QImage::Format_RGB32),
                 form().LCDimage->Picture().convertToFormat(QImage::Format_RGB32));
        QVERIFY(desktop.boxes.empty());
    }

    void saveCancelledOrFailingLosesNothing() {
        desktop.saveAnswers = {""};
        QTest::mouseClick(form().SaveLCDButton, Qt::LeftButton);
        QVERIFY(desktop.boxes.empty());

        const std::string missingFolder = folder.File("no/such/folder/ZOR.bmp");
        desktop.saveAnswers = {QString::fromStdString(missingFolder)};
        QTest::mouseClick(form().SaveLCDButton, Qt::LeftButton);
        QCOMPARE(desktop.boxes.size(), size_t{1});
        QVERIFY(desktop.boxes[0].error);
        QVERIFY2(desktop.boxes[0].text.startsWith("Cannot write " +
                                                  QString::fromStdString(missingFolder)),
                 qPrintable(desktop.boxes[0].text));

        // An existing file of that name stays whole when the new one cannot be
        // written in its place (here a folder is in the way of the rename).
        const std::string kept = folder.File("kept.bmp");
        zortest::WriteFile(kept, "old contents");
        std::filesystem::create_directories(folder.File("blocked.bmp"));
        desktop.saveAnswers = {QString::fromStdString(folder.File("blocked.bmp"))};
        QTest::mouseClick(form().SaveLCDButton, Qt::LeftButton);
        QCOMPARE(desktop.boxes.size(), size_t{2});
        QCOMPARE(zortest::ReadFile(kept), std::string("old contents"));
        QVERIFY(std::filesystem::is_directory(folder.File("blocked.bmp")));
    }

    void anEscapedExceptionIsShownAndTheProgramGoesOn() {
        Throwing thrower;
        QEvent event(QEvent::User);
        QVERIFY(!QCoreApplication::sendEvent(&thrower, &event));
        QCOMPARE(desktop.boxes.size(), size_t{1});
        QVERIFY(desktop.boxes[0].error);
        QCOMPARE(desktop.boxes[0].text, QString("the handler failed"));
        QTest::mouseClick(form().PageButton, Qt::LeftButton);
        QCOMPARE(Sent(), QString("00 00 00, status := 0, 81 09 01"));
    }
};

ZOR_WINDOW_TEST_MAIN(HandlersTest)
#include "window_handlers_test.moc"
