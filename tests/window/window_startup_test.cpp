// The window's start: what FormCreate sends and fills in, the first and later
// activations, the splash timer, and the LCD picture through all of it.
#include <QComboBox>
#include <QPushButton>
#include <QTimer>

#include "window_fixture.h"

using zortest::FormOnFreshModule;

namespace {

QString KeyScripts() {
    QString text;
    // One encoder call follows another with no direct access in between.
    for (int key = 1; key <= 8; ++key)
        text +=
            QString(key == 1 ? ", " : " ") +
            QString("00 00 00, status := 0, 80 0%1 01 00 00 00, status := 0, 81 0%1 00").arg(key);
    return text;
}

QStringList Items(QComboBox* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i) items << list->itemText(i);
    return items;
}

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void formCreatePreparesTheModuleAndFillsTheLists() {
        FormOnFreshModule f;
        const QString sent = QString::fromStdString(f.recorder.Text());
        const QString expected =
            "^label store := 255, data depth, return depth, program counter "
            ":= 0" +
            KeyScripts() + ", InitVocabulary\\(0\\) = \\d+, LinkReset$";
        QVERIFY2(QRegularExpression(expected).match(sent).hasMatch(), qPrintable(sent));
        // Key scripts ran before any vocabulary: each function code is "Toggle".
        for (int key = 1; key <= 8; ++key) QCOMPARE(lcdm::Engine.TagVariables[key], 1);

        const QStringList keys = {"1", "2", "3", "4", "5", "6", "7", "8"};
        for (QComboBox* list : {f.form.TextComboBox, f.form.DIComboBox, f.form.FunctionKey}) {
            QCOMPARE(Items(list), keys);
            QCOMPARE(list->currentIndex(), 0);
        }
        QCOMPARE(Items(f.form.ButtonFunction), QStringList({"Toggle", "Dimmer", "Timer", "Scene"}));
        QCOMPARE(f.form.ButtonFunction->currentIndex(), 0);
        // Nothing is drawn into the LCD picture before the start-up screen.
        QCOMPARE(zortest::BlackPixels(f.form.LCDimage->Picture()), 0);
    }

    void firstActivationShowsTheStartUpScreenOnlyOnce() {
        FormOnFreshModule f;
        f.recorder.Clear();
        const uint64_t passesBefore = zorsim::PumpPasses();
        QVERIFY(zortest::ShowAndActivate(f.form));
        QVERIFY2(QRegularExpression("^InitVocabulary\\(0\\) = \\d+, LinkReset, 50 00$")
                     .match(zortest::Conversation(f.recorder))
                     .hasMatch(),
                 f.recorder.Text().c_str());
        // The script waited ten ticks; the picture followed it to its end.
        QVERIFY(lcdm::Engine.StatusRegister == lcdm::kStatusEnded);
        QVERIFY(zortest::BlackPixels(f.form.LCDimage->Picture()) > 100);
        QCOMPARE(zortest::PictureMismatch(f.form.LCDimage->Picture()), QString());
        // Each pass of the wait blocked until the next event: a few per tick,
        // not the many thousands of a pump that spins.
        const uint64_t passes = zorsim::PumpPasses() - passesBefore;
        QVERIFY2(passes >= 10 && passes < 100, qPrintable(QString::number(passes)));

        // Away to another window and back: nothing more is sent.
        f.recorder.Clear();
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        f.form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f.form));
        QCOMPARE(zortest::Conversation(f.recorder), QString());
    }

    void splashTimerShowsPageZeroOnce() {
        FormOnFreshModule f;
        QVERIFY(zortest::ShowAndActivate(f.form));
        f.recorder.Clear();
        QVERIFY(f.form.SplashTimer->isActive());
        QCOMPARE(f.form.SplashTimer->interval(), 2000);
        QTRY_VERIFY_WITH_TIMEOUT(!f.form.SplashTimer->isActive(), 5000);
        QCOMPARE(zortest::Conversation(f.recorder), QString("00 00 00, status := 0, 81 09 00"));
        QCOMPARE(zortest::PictureMismatch(f.form.LCDimage->Picture()), QString());
        QCOMPARE(f.form.State().PageFlag, 0);
        // The page flag was left alone: the first "Next Page" asks for page 1.
        f.recorder.Clear();
        QTest::mouseClick(f.form.PageButton, Qt::LeftButton);
        QCOMPARE(zortest::Conversation(f.recorder), QString("00 00 00, status := 0, 81 09 01"));
    }

    void labelStoreHoldsOnlyTheVocabularyStartAfterStartUp() {
        FormOnFreshModule f;
        QVERIFY(zortest::ShowAndActivate(f.form));
        f.form.SplashTimerTimer();
        for (int address = 0; address < lcdm::kLabelStoreSize; ++address) {
            const int expected = address == 16 || address == 17 ? 0 : 255;
            if (lcdm::ReadStoreByte(static_cast<uint16_t>(address)) != expected)
                QFAIL(qPrintable(QString("label store byte %1").arg(address)));
        }
    }
};

ZOR_WINDOW_TEST_MAIN(StartupTest)
#include "window_startup_test.moc"
