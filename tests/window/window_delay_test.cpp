// Waiting in DELAY: the wait blocks instead of spinning, the 100 ms timer
// counts it down, and closing the window or choosing "Exit" during a wait
// ends the waiting script and the program promptly.
#include <QAction>
#include <QPushButton>
#include <QTimer>

#include "panel/Encoders.h"
#include "window_fixture.h"

namespace {

constexpr uint8_t kPush8 = 0x10;
constexpr uint8_t kDelay = 0x4E;
constexpr uint8_t kVarSet = 0x5E;

// Script 1: wait `ticks`, then tag variable 40 := 7, then END.
void LoadWaitingScript(uint8_t ticks) {
    zortest::LoadScripts(20000,
                         {{1, {kPush8, ticks, kDelay, kPush8, 7, kPush8, 40, kVarSet, 0, 0, 0}}});
}

}  // namespace

class DelayTest : public QObject {
    Q_OBJECT

private slots:
    void aWaitBlocksUntilTheTimerHasCountedItDown() {
        zortest::FormOnFreshModule f;
        LoadWaitingScript(5);
        const uint64_t passes = zorsim::PumpPasses();
        panel::SendRunScript(f.port, 1, 0);
        QCOMPARE(lcdm::Engine.TagVariables[40], 7);  // the script went on after its wait
        QCOMPARE(lcdm::Engine.DelayCounter, 0);
        // Five ticks of the timer, each waking the pump a few times at most.
        const uint64_t used = zorsim::PumpPasses() - passes;
        QVERIFY2(used >= 5 && used < 50, qPrintable(QString::number(used)));
        // The window's timer counted the wait down, through the port.
        QVERIFY(f.recorder.Text().find("DelayCounter := 0") != std::string::npos);
    }

    void clicksDuringAWaitReachTheModule() {
        zortest::FormOnFreshModule f;
        LoadWaitingScript(3);
        f.recorder.Clear();
        QTimer::singleShot(50, &f.form,
                           [&f] { QTest::mouseClick(f.form.PageButton, Qt::LeftButton); });
        panel::SendRunScript(f.port, 1, 0);
        // The click's bytes arrived while script 1 waited, inside the call that
        // delivered its last byte (recorded once that call returned).
        QCOMPARE(zortest::Conversation(f.recorder),
                 QString("00 00 00, status := 0, 81 01 00 00 00, status := 0, 81 09 01 00"));
        QCOMPARE(f.form.State().PageFlag, 1);
    }

    void closingDuringAWaitEndsItAtOnce() {
        zortest::FormOnFreshModule f;
        QVERIFY(zortest::ShowAndActivate(f.form));
        LoadWaitingScript(200);  // twenty seconds
        int counterAtClose = -1;
        QTimer::singleShot(300, &f.form, [&] {
            counterAtClose = lcdm::Engine.DelayCounter;
            f.form.close();
        });
        const uint64_t passes = zorsim::PumpPasses();
        panel::SendRunScript(f.port, 1, 0);
        QVERIFY(counterAtClose > 150);  // the wait had far to go
        QCOMPARE(lcdm::Engine.DelayCounter, 0);
        QCOMPARE(lcdm::Engine.TagVariables[40], 0);  // nothing after the wait ran
        QCOMPARE(lcdm::Engine.StatusRegister, lcdm::kStatusEnded);
        QVERIFY(f.form.Quitting());
        QVERIFY(!f.form.isVisible());
        QVERIFY(!f.form.Timer2->isActive() && !f.form.SplashTimer->isActive());
        QVERIFY(zorsim::PumpPasses() - passes < 30);
    }

    // The start-up screen waits inside the first activation; "Exit" during
    // it leaves the event loop of the program as soon as the script is gone.
    void exitDuringTheStartUpScreenEndsTheProgram() {
        zortest::FormOnFreshModule f;
        bool exited = false;
        bool gaveUp = false;
        QTimer::singleShot(250, &f.form, [&] { f.form.Exit1->trigger(); });
        QTimer::singleShot(10000, &f.form, [&] {
            gaveUp = true;
            QCoreApplication::exit(1);
        });
        f.form.show();
        const int code = QCoreApplication::exec();
        exited = true;
        QVERIFY(exited && !gaveUp);
        QCOMPARE(code, 0);
        QVERIFY(f.form.Quitting());
        QVERIFY(f.form.State().Activated);
        QCOMPARE(lcdm::Engine.DelayCounter, 0);
    }
};

ZOR_WINDOW_TEST_MAIN(DelayTest)
#include "window_delay_test.moc"
