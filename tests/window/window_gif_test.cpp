// File > Record GIF...: the LCD's changes while recording, in real time, as
// the window shows them (alone, or in the chosen front plate); a file that
// cannot be written is an error box and leaves nothing; closing the window
// writes a recording still running.
#include <QAction>
#include <QPushButton>
#include <filesystem>
#include <set>

#include "GifRecording.h"
#include "RadioGroup.h"
#include "gif_reader.h"
#include "window_fixture.h"

namespace {

namespace fs = std::filesystem;

// The LCD picture's pixels as the GIF's colours.
bool ShowsLcd(const zortest::GifAnimation& gif, size_t frame, const QImage& lcd, int left,
              int top) {
    for (int y = 0; y < lcd.height(); ++y)
        for (int x = 0; x < lcd.width(); ++x) {
            const uint32_t want = qGray(lcd.pixel(x, y)) < 128 ? 0x000000 : 0xFFFFFF;
            if (gif.Colour(frame, left + x, top + y) != want) return false;
        }
    return true;
}

}  // namespace

class GifTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        folder = fs::temp_directory_path() / "zor_window_gif";
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void cleanup() { fs::remove_all(folder); }

    void eachChangeOfTheLcdIsAFrame_data() {
        QTest::addColumn<bool>("plate");
        QTest::addColumn<int>("style");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("lcdAt");
        QTest::newRow("the LCD alone") << false << 0 << QSize(128, 256) << QPoint(0, 0);
        QTest::newRow("in the Orto Talvar plate")
            << true << 0 << QSize(297, 473) << QPoint(81, 107);
        QTest::newRow("in the KAI plate") << true << 1 << QSize(297, 473) << QPoint(81, 107);
    }
    void eachChangeOfTheLcdIsAFrame() {
        QFETCH(bool, plate);
        QFETCH(int, style);
        QFETCH(QSize, size);
        QFETCH(QPoint, lcdAt);
        zortest::FakeDesktop desktop;
        const fs::path file = folder / "lcd.gif";
        desktop.saveAnswers = {QString::fromStdString(file.string())};
        zortest::FormOnFreshModule f;
        QVERIFY(zortest::ShowAndActivate(f.form));
        f.form.ZORType->SetItemIndex(style);
        f.form.ZORTypeClick();
        f.form.Gif->GifWithPlate->setChecked(plate);
        f.form.Gif->RecordGif->trigger();
        QVERIFY(f.form.Gif->Recording());
        QVERIFY(!f.form.Gif->RecordGif->isEnabled());
        QVERIFY(!fs::exists(file));  // put in place when stopped
        QTest::qWait(60);
        f.form.SplashTimerTimer();  // page 0
        QTest::qWait(60);
        QTest::mouseClick(f.form.PageButton, Qt::LeftButton);  // keys 5 to 8
        QTest::qWait(60);
        f.form.Gif->StopGif->trigger();
        QVERIFY(desktop.boxes.empty());
        QVERIFY(f.form.Gif->RecordGif->isEnabled());

        const zortest::GifAnimation gif = zortest::ReadGif(file.string());
        QVERIFY2(gif.ok, gif.error.c_str());
        QCOMPARE(QSize(gif.width, gif.height), size);
        QCOMPARE(gif.shown.size(), size_t{3});  // start-up screen, page 0, keys 5 to 8
        QVERIFY(gif.shown[0] != gif.shown[1] && gif.shown[1] != gif.shown[2]);
        for (int delay : gif.delays) QVERIFY2(delay >= 5, QByteArray::number(delay));
        QVERIFY(ShowsLcd(gif, 2, f.form.Lcd().Image(), lcdAt.x(), lcdAt.y()));
        QVERIFY(gif.comment.starts_with("made by zorsim "));
        if (plate) {
            // Around the LCD lies the plate: more than black and white.
            std::set<uint32_t> colours;
            for (int x = 0; x < gif.width; ++x) colours.insert(gif.Colour(2, x, gif.height / 2));
            QVERIFY(colours.size() > 2);
        }
    }

    void aFileThatCannotBeWrittenIsAnErrorBox_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("message");
        const QString none = QString::fromStdString(
            (fs::temp_directory_path() / "zor_window_gif" / "none" / "a.gif").string());
        QTest::newRow("no such folder")
            << none << "Cannot write " + none + ": No such file or directory";
        // A device that takes nothing: said once the first frames are written.
        QTest::newRow("a full device") << "/dev/full"
                                       << "Cannot write /dev/full: No space left on device";
    }
    void aFileThatCannotBeWrittenIsAnErrorBox() {
        QFETCH(QString, path);
        QFETCH(QString, message);
        zortest::FakeDesktop desktop;
        desktop.saveAnswers = {path};
        zortest::FormOnFreshModule f;
        f.form.Gif->RecordGif->trigger();
        QTRY_VERIFY(!f.form.Gif->Recording());
        QCOMPARE(desktop.boxes.size(), size_t{1});
        QVERIFY(desktop.boxes[0].error);
        QCOMPARE(desktop.boxes[0].text, message);
        QVERIFY(!fs::exists(folder / "none"));
        QVERIFY(f.form.Gif->RecordGif->isEnabled());
        QVERIFY(!f.form.Gif->StopGif->isEnabled());
    }

    void closingTheWindowWritesTheRecording() {
        zortest::FakeDesktop desktop;
        const fs::path file = folder / "closed.gif";
        desktop.saveAnswers = {QString::fromStdString(file.string())};
        {
            zortest::FormOnFreshModule f;
            QVERIFY(zortest::ShowAndActivate(f.form));
            f.form.Gif->RecordGif->trigger();
            f.form.SplashTimerTimer();
            f.form.close();
        }
        const zortest::GifAnimation gif = zortest::ReadGif(file.string());
        QVERIFY2(gif.ok, gif.error.c_str());
        QVERIFY(!gif.shown.empty());
    }

private:
    fs::path folder;
};

ZOR_WINDOW_TEST_MAIN(GifTest)
#include "window_gif_test.moc"
