// File > Record Host Bytes...: a recording made by clicking the real widgets
// replays in zorhost to the same frame, module memory and label store, and a
// recording that cannot be written says so and leaves nothing behind.
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "HostRecording.h"
#include "ScriptRunner.h"
#include "Session.h"
#include "window_fixture.h"

namespace {

namespace fs = std::filesystem;

struct ModuleSnapshot {
    std::vector<uint8_t> memory, store, frame;

    static ModuleSnapshot Now() {
        ModuleSnapshot s;
        for (uint32_t a = 0; a < lcdm::kModuleMemorySize; ++a)
            s.memory.push_back(lcdm::ReadMemoryByte(static_cast<uint16_t>(a)));
        s.store.assign(lcdm::Labels.LabelStore, lcdm::Labels.LabelStore + lcdm::kLabelStoreSize);
        s.frame.assign(lcdm::Graphics.FrameBuffer,
                       lcdm::Graphics.FrameBuffer + lcdm::kFrameBufferSize);
        return s;
    }
};

std::string Contents(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

class RecordTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        folder = fs::temp_directory_path() / "zor_window_record";
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void cleanup() { fs::remove_all(folder); }

    void aRecordingOfClicksReplaysToTheSameModule() {
        zortest::FakeDesktop desktop;
        const fs::path scenario = folder / "clicks.zh";
        desktop.saveAnswers = {QString::fromStdString(scenario.string())};
        ModuleSnapshot recorded;
        {
            zortest::FormOnFreshModule f;
            QVERIFY(zortest::ShowAndActivate(f.form));
            f.form.Recording->RecordHostBytes->trigger();
            QVERIFY(f.form.Recording->Recording());
            f.form.SplashTimerTimer();
            f.form.TextComboBox->setCurrentIndex(1);
            f.form.TextLabel->setText("Hi");
            QTest::mouseClick(f.form.TextLabelButton, Qt::LeftButton);
            f.form.FunctionKey->setCurrentIndex(2);
            f.form.ButtonFunction->setCurrentIndex(1);
            QTest::mouseClick(f.form.KeyFunctionButton, Qt::LeftButton);
            QTest::mouseClick(f.form.TimeButton, Qt::LeftButton);
            QTest::mouseClick(f.form.PageButton, Qt::LeftButton);
            f.form.Recording->StopRecording->trigger();
            QVERIFY(desktop.boxes.empty());
            recorded = ModuleSnapshot::Now();
        }
        const std::string text = Contents(scenario);
        for (const char* label :
             {"# Start-up: the window is created", "# Text Label: key 2 \"Hi\"",
              "# Button Functions: key 3 Dimmer", "# Set Time: 14:05", "# Next Page",
              "the recording began here", "expect frame clicks.pbm"})
            QVERIFY2(text.find(label) != std::string::npos, label);
        QVERIFY(fs::exists(folder / "clicks.pbm"));

        // The replay starts from a module as the program starts it.
        lcdm::ModuleReset();
        std::ostringstream out, err;
        zorhost::Options options;
        zorhost::Session session(out, options);
        zorhost::InstallVirtualTime(session);
        session.scriptName = scenario.string();
        session.scriptFolder = folder.string();
        std::istringstream in(text);
        QVERIFY2(zorhost::RunScript(session, in, err), err.str().c_str());
        lcdm::SetRenderLcdAndPump(nullptr);
        QVERIFY2(!session.transcript.AnyFailure(), out.str().c_str());
        const ModuleSnapshot replayed = ModuleSnapshot::Now();
        QVERIFY(replayed.frame == recorded.frame);
        QVERIFY(replayed.store == recorded.store);
        QVERIFY(replayed.memory == recorded.memory);
    }

    void aRecordingThatCannotBeWrittenIsAnErrorBox() {
        zortest::FakeDesktop desktop;
        desktop.saveAnswers = {QString::fromStdString((folder / "none" / "r.zh").string())};
        zortest::FormOnFreshModule f;
        f.form.Recording->RecordHostBytes->trigger();
        f.form.Recording->StopRecording->trigger();
        QCOMPARE(desktop.boxes.size(), size_t{1});
        QVERIFY(desktop.boxes[0].error);
        QVERIFY(desktop.boxes[0].text.startsWith("Cannot write"));
        QVERIFY(!fs::exists(folder / "none"));
        QVERIFY(f.form.Recording->RecordHostBytes->isEnabled());
    }

private:
    fs::path folder;
};

ZOR_WINDOW_TEST_MAIN(RecordTest)
#include "window_record_test.moc"
