// The window as a workbench: a vocabulary loaded from sources draws its page,
// a malformed one lists its errors and leaves the module alone, a change to
// the file reloads it, the debugger stops at a breakpoint with the right
// stacks and steps and continues to the frame an undisturbed run draws, a
// close during a stop ends the program's run promptly, and Reset Module
// brings the start back.
#include <QAction>
#include <QListWidget>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>

#include "Debugger.h"
#include "MessagesDock.h"
#include "Workbench.h"
#include "panel/Encoders.h"
#include "window_fixture.h"

namespace {

namespace fs = std::filesystem;

// Script 10 (the page the module redraws) draws a box from (5, 5) up to (40, 30),
// its far corner outside the box.
const char* const kBoxPage =
    ".header 7\n"
    ".script 10\n"
    "        CLEAR\n"
    "        PUSH16 5\n"
    "        PUSH16 5\n"
    "        MOVE_TO\n"
    "        PUSH16 40\n"
    "        PUSH16 30\n"
    "        RECTANGLE\n"
    "        END\n"
    ".end\n";

bool Pixel(int x, int y) {
    return (lcdm::Graphics.FrameBuffer[y * 8 + x / 8] & (0x80 >> (x % 8))) != 0;
}

std::vector<uint8_t> Frame() {
    return {lcdm::Graphics.FrameBuffer, lcdm::Graphics.FrameBuffer + lcdm::kFrameBufferSize};
}

// Runs `steps` one by one, each when the debugger is stopped, from inside
// its stop (as a user's clicks would come).
class StopDriver {
public:
    StopDriver(zorsim::Debugger& debugger, std::vector<std::function<void()>> steps)
        : debugger_(debugger), steps_(std::move(steps)) {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (!debugger_.Stopped() || next_ >= steps_.size()) return;
            steps_[next_++]();
        });
        timer_.start();
    }
    size_t Done() const { return next_; }

private:
    zorsim::Debugger& debugger_;
    std::vector<std::function<void()>> steps_;
    size_t next_ = 0;
    QTimer timer_;
};

}  // namespace

class WorkbenchTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        folder = fs::temp_directory_path() / "zor_window_workbench";
        fs::remove_all(folder);
        fs::create_directories(folder);
        source = QString::fromStdString((folder / "page.zasm").string());
        std::ofstream(source.toStdString()) << kBoxPage;
    }
    void cleanup() { fs::remove_all(folder); }

    void aVocabularyFromSourcesDrawsItsPage() {
        zortest::FormOnFreshModule f;
        QVERIFY(f.form.Bench->LoadVocabulary({source}, 18838));
        QCOMPARE(lcdm::Vocabulary.vocabularyStart, 18838);
        QVERIFY(Pixel(5, 5) && Pixel(39, 29) && Pixel(20, 5) && !Pixel(20, 20) && !Pixel(40, 30));
        QCOMPARE(zortest::PictureMismatch(f.form.LCDimage->Picture()), QString());
        QCOMPARE(f.form.Bench->Messages->List->item(0)->text(),
                 QString("No messages: the vocabulary loaded."));
    }

    void aMalformedSourceListsItsErrorsAndChangesNothing() {
        zortest::FormOnFreshModule f;
        std::ofstream(source.toStdString()) << ".header 7\n.script 10\n        CLEARR\n.end\n";
        const std::vector<uint8_t> before(lcdm::Memory.ModuleMemory,
                                          lcdm::Memory.ModuleMemory + lcdm::kModuleMemorySize);
        QVERIFY(!f.form.Bench->LoadVocabulary({source}, 18838));
        QVERIFY(f.form.Bench->Messages->List->count() >= 1);
        QVERIFY(f.form.Bench->Messages->List->item(0)->text().startsWith(source + ":3:"));
        QVERIFY(std::equal(before.begin(), before.end(), lcdm::Memory.ModuleMemory));
        QCOMPARE(lcdm::Vocabulary.vocabularyStart, 0);
        // A warning is listed but does not stop the load.
        std::string page = kBoxPage;
        page.replace(page.find(".header 7"), 9, ".header 0");
        std::ofstream(source.toStdString()) << page;
        QVERIFY(f.form.Bench->LoadVocabulary({source}, 18838));
        QVERIFY(f.form.Bench->Messages->List->item(0)->text().contains(": warning: "));
    }

    void aChangedFileIsReloaded() {
        zortest::FormOnFreshModule f;
        f.form.Bench->AutoReloadAction->setChecked(true);
        QVERIFY(f.form.Bench->LoadVocabulary({source}, 18838));
        QVERIFY(!Pixel(49, 30));
        // An editor saves by writing a new file and renaming it over the old.
        std::string page = kBoxPage;
        page.replace(page.find("PUSH16 40"), 9, "PUSH16 50");
        page.replace(page.find("PUSH16 30"), 9, "PUSH16 50");
        const fs::path fresh = folder / "page.zasm.new";
        std::ofstream(fresh) << page;
        fs::rename(fresh, source.toStdString());
        QTRY_VERIFY_WITH_TIMEOUT(Pixel(49, 30), 5000);  // the new box's right edge
    }

    void aBreakpointStopsStepsAndContinuesToTheSameFrame() {
        zortest::FormOnFreshModule f;
        QVERIFY(f.form.Bench->LoadVocabulary({source}, 18838));
        const std::vector<uint8_t> undisturbed = Frame();
        f.form.Bench->ShowTools(true);
        zorsim::Debugger& debugger = f.form.Bench->Debug();
        debugger.Breakpoints = {*zorsim::Breakpoint::Parse("script 10 + 5")};  // the first PUSH16 5
        debugger.BreakpointsChanged();
        const uint16_t body = 18838 + 4 + 4;  // after the header item, past script 10's own header
        std::vector<uint16_t> stops;
        std::vector<uint8_t> depths;
        StopDriver driver(
            debugger,
            {
                [&] {  // at the breakpoint: CLEAR has run, the parameter 255 is on the stack
                    stops.push_back(debugger.Address());
                    depths.push_back(lcdm::Engine.dataDepth);
                    debugger.StepTag();
                },
                [&] {  // after PUSH16 5: two more cells
                    stops.push_back(debugger.Address());
                    depths.push_back(lcdm::Engine.dataDepth);
                    QVERIFY(Frame() != undisturbed);  // cleared, nothing drawn yet
                    debugger.Continue();
                },
            });
        panel::SendRunScript(f.port, 10, 255);
        QCOMPARE(driver.Done(), size_t{2});
        QCOMPARE(stops, (std::vector<uint16_t>{static_cast<uint16_t>(body + 1),
                                               static_cast<uint16_t>(body + 4)}));
        QCOMPARE(depths, (std::vector<uint8_t>{1, 3}));
        QCOMPARE(lcdm::Engine.StatusRegister, lcdm::kStatusEnded);
        QVERIFY(Frame() == undisturbed);
        QVERIFY(!debugger.Stopped());
    }

    void anErrorStatusStopsTheRunWhereItFailed() {
        zortest::FormOnFreshModule f;
        std::ofstream(source.toStdString()) << ".header 7\n.script 10\n        DROP\n        DROP\n"
                                               "        END\n.end\n";
        f.form.Bench->ShowTools(true);
        zorsim::Debugger& debugger = f.form.Bench->Debug();
        QString reason;
        uint16_t at = 0;
        StopDriver driver(debugger, {[&] {
                              reason = debugger.Reason();
                              at = debugger.Address();
                              debugger.Continue();
                          }});
        f.form.Bench->LoadVocabulary({source}, 18838);  // its redraw runs script 10
        QCOMPARE(reason, QString("data stack underflow"));
        QCOMPARE(at, uint16_t{18838 + 8 + 1});  // the second DROP
    }

    void aCloseDuringAStopEndsTheRunPromptly() {
        zortest::FormOnFreshModule f;
        QVERIFY(f.form.Bench->LoadVocabulary({source}, 18838));
        f.form.Bench->ShowTools(true);
        zorsim::Debugger& debugger = f.form.Bench->Debug();
        debugger.Breakpoints = {*zorsim::Breakpoint::Parse("script 10")};
        debugger.BreakpointsChanged();
        StopDriver driver(debugger, {[&] { f.form.close(); }});
        panel::SendRunScript(f.port, 10, 255);
        QCOMPARE(driver.Done(), size_t{1});
        QVERIFY(f.form.Quitting());
        QCOMPARE(lcdm::Engine.StatusRegister, lcdm::kStatusEnded);
        QVERIFY(!debugger.Stopped());
    }

    void resetModuleBringsTheStartBack() {
        zortest::FormOnFreshModule f;
        QVERIFY(f.form.Bench->LoadVocabulary({source}, 18838));
        f.form.Bench->ResetModuleAction->trigger();
        QCOMPARE(lcdm::Vocabulary.vocabularyStart, 0);
        QCOMPARE(lcdm::ReadMemoryByte(18838), 0);  // the loaded bytes are gone
        QVERIFY(f.form.State().Activated);
    }

private:
    fs::path folder;
    QString source;
};

ZOR_WINDOW_TEST_MAIN(WorkbenchTest)
#include "window_workbench_test.moc"
