// The window's start-up work on the module, its activation and its timers.
#include <gtest/gtest.h>

#include <string>

#include "Lcdm.h"
#include "module_fixture.h"
#include "panel/Handlers.h"
#include "panel/Startup.h"
#include "port_recorder.h"

namespace {

using zortest::PortRecorder;

class StartupTest : public zortest::ModuleTest {
protected:
    // No vocabulary at address 0 unless a test writes one, whatever the
    // memory's start-up contents hold there.
    void SetUp() override {
        ModuleTest::SetUp();
        lcdm::WriteMemoryWord(0, 0);
    }

    panel::HostPort port;
    PortRecorder recorder{port};
    panel::PanelState state;
};

std::string KeyScripts() {
    std::string text;
    for (int key = 1; key <= 8; ++key) {
        const std::string k = "0" + std::to_string(key);
        // One encoder call follows another without a boundary on the link.
        text += (key == 1 ? ", " : " ") + ("00 00 00, status := 0, 80 " + k) +
                " 01 00 00 00, status := 0, 81 " + k + " 00";
    }
    return text;
}

TEST_F(StartupTest, FormCreatePreparesTheModuleBeforeAnyVocabulary) {
    lcdm::Engine.dataDepth = 3;
    lcdm::Engine.returnDepth = 2;
    lcdm::Engine.programCounter = 500;
    panel::FormCreate(port);
    EXPECT_EQ(recorder.Text(),
              "label store := 255, data depth, return depth, program counter := 0" + KeyScripts() +
                  ", InitVocabulary(0) = 0, LinkReset");
    // No vocabulary when the key scripts were asked for: each run found nothing.
    EXPECT_EQ(lcdm::Engine.StatusRegister, lcdm::kStatusNotFound);
    for (int key = 1; key <= 8; ++key) EXPECT_EQ(lcdm::Engine.TagVariables[key], 1) << key;
    EXPECT_EQ(lcdm::Engine.TagVariables[0], 0);
    EXPECT_EQ(lcdm::Engine.TagVariables[9], 0);
    EXPECT_EQ(lcdm::Engine.programCounter, 0);
    EXPECT_EQ(lcdm::Link.DataMode, lcdm::kModeNone);  // LinkReset ran last
}

TEST_F(StartupTest, LabelStoreHoldsOnlyTheVocabularyStartAfterStartUp) {
    zortest::VocabularyBuilder vocabulary;
    vocabulary.Add(0, lcdm::kItemScript, {0x00, 0x00, 0x00});
    vocabulary.Add(9, lcdm::kItemScript, {0x00, 0x00, 0x00});
    lcdm::WriteMemoryWord(0xFFFF, vocabulary.next());
    panel::FormCreate(port);
    panel::FormActivate(port, state);
    panel::SplashTimerTimer(port);
    for (int address = 0; address < lcdm::kLabelStoreSize; ++address) {
        const int expected = address == 16 || address == 17 ? 0 : 255;
        ASSERT_EQ(lcdm::ReadStoreByte(static_cast<uint16_t>(address)), expected) << address;
    }
    EXPECT_EQ(lcdm::Vocabulary.vocabularyId, 33);
}

TEST_F(StartupTest, OnlyTheFirstActivationRunsTheStartUpScript) {
    panel::FormActivate(port, state);
    EXPECT_TRUE(state.Activated);
    EXPECT_EQ(recorder.Text(), "InitVocabulary(0) = 0, LinkReset, 50 00");
    recorder.Clear();
    panel::FormActivate(port, state);
    EXPECT_EQ(recorder.Text(), "");
}

TEST_F(StartupTest, SplashShowsPageZeroAndLeavesThePageFlag) {
    panel::SplashTimerTimer(port);
    EXPECT_EQ(recorder.Text(), "00 00 00, status := 0, 81 09 00");
    EXPECT_EQ(state.PageFlag, 0);
    recorder.Clear();
    panel::PageButtonClick(port, state);  // the first "Next Page" asks for page 1
    EXPECT_EQ(recorder.Text(), "00 00 00, status := 0, 81 09 01");
}

TEST_F(StartupTest, TimerCountsTheDelayDownToZeroOnly) {
    lcdm::Engine.DelayCounter = 2;
    panel::Timer2Timer(port);
    panel::Timer2Timer(port);
    panel::Timer2Timer(port);
    EXPECT_EQ(lcdm::Engine.DelayCounter, 0);
    EXPECT_EQ(recorder.Text(), "DelayCounter := 1, DelayCounter := 0");
}

TEST_F(StartupTest, InitVocabularyResetsTheLinkMidCommand) {
    port.Send(0x80);
    port.Send(0x05);
    panel::btnInitVocClick(port);
    port.Send(0x01);  // taken as a first byte again: reply 0x24
    EXPECT_EQ(port.LastLinkCode(), lcdm::kLinkDone);
    EXPECT_EQ(port.LastReply(), 0x24);
    EXPECT_EQ(lcdm::Engine.TagVariables[5], 0);
}

}  // namespace
