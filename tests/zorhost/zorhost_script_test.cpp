// zorhost's script language: tokens, argument checking and the messages a
// user sees, run on scripts held in memory.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "Lcdm.h"
#include "ScriptError.h"
#include "ScriptLexer.h"
#include "ScriptRunner.h"
#include "Session.h"

namespace {

using zorhost::SplitLine;

TEST(LexerTest, WordsStringsAndComments) {
    const auto tokens = SplitLine("  send\t81 0A  # run script 10");
    ASSERT_EQ(tokens.size(), 3u);
    EXPECT_EQ(tokens[0].text, "send");
    EXPECT_EQ(tokens[2].text, "0A");

    const auto text = SplitLine(R"(panel text 1 "say \"hi\" # \\ \x41" # comment)");
    ASSERT_EQ(text.size(), 4u);
    EXPECT_TRUE(text[3].quoted);
    EXPECT_EQ(text[3].bytes, "say \"hi\" # \\ A");
    EXPECT_TRUE(SplitLine("   # only a comment").empty());
    EXPECT_EQ(SplitLine("\"\"")[0].bytes, "");
}

TEST(LexerTest, CharactersBecomeTheWindowsEightBitBytes) {
    const auto token = SplitLine("\"Gr\xC3\xBC\xC3\x9F\\xE9\"")[0];  // "Grüß" then \xE9
    EXPECT_EQ(token.bytes, "Gr\xFC\xDF\xE9");
    EXPECT_EQ(token.text, "Gr\xC3\xBC\xC3\x9F\xE9");
    EXPECT_FALSE(token.hasWideCharacter);
    EXPECT_TRUE(SplitLine("\"\xE2\x82\xAC\"")[0].hasWideCharacter);     // the euro sign
    EXPECT_EQ(SplitLine("Gr\xC3\xBC\xC3\x9F")[0].bytes, "Gr\xFC\xDF");  // a bare word too
}

TEST(LexerTest, MalformedStringsAreErrors) {
    for (const char* line :
         {"send \"open", R"("bad \q escape")", R"("\x4")", "ab\"c\"", R"("joined"word)"})
        EXPECT_THROW(SplitLine(line), zorhost::ScriptError) << line;
}

class RunnerTest : public ::testing::Test {
protected:
    void SetUp() override { lcdm::ModuleReset(); }

    // Runs `script`; returns stdout, and the error line (if any) in `error`.
    std::string Run(const std::string& script, zorhost::Options options = {}) {
        std::ostringstream out, err;
        zorhost::Session session(out, options);
        zorhost::InstallVirtualTime(session);
        session.scriptName = "t.zh";
        session.scriptFolder = folder;
        std::istringstream in(script);
        ok = zorhost::RunScript(session, in, err);
        error = err.str();
        failed = session.transcript.AnyFailure();
        lcdm::SetRenderLcdAndPump(nullptr);
        return out.str();
    }

    std::string folder;
    std::string error;
    bool ok = false;
    bool failed = false;
};

TEST_F(RunnerTest, ArgumentErrorsNameTheArgumentTheValueAndTheForm) {
    const std::pair<const char*, const char*> cases[] = {
        {"panel blink",
         "t.zh:1: unknown command \"panel blink\" (expected panel followed by "
         "one of: create, activate, splash, start, init-vocabulary, page, "
         "function, text, time, next-icon, icon, set-var, run-script, "
         "load-vocabulary)\n"},
        {"panel run-scrpt 10 1",
         "t.zh:1: unknown command \"panel run-scrpt\"; did you mean run-script? (expected panel "
         "followed by one of: create, activate, splash, start, init-vocabulary, page, "
         "function, text, time, next-icon, icon, set-var, run-script, load-vocabulary)\n"},
        {"run-script 10 1",
         "t.zh:1: unknown command \"run-script\"; did you mean panel run-script? (zorhost "
         "--help lists the commands)\n"},
        {"var 1",
         "t.zh:1: unknown command \"var\"; did you mean print var or expect var? (zorhost --help "
         "lists the commands)\n"},
        {"snapshoot x.bmp",
         "t.zh:1: unknown command \"snapshoot\"; did you mean snapshot? (zorhost --help lists "
         "the commands)\n"},
        {"print var 64",
         "t.zh:1: print var: I \"64\" is not a number from 0 to 63 (usage: "
         "print var I [LEN])\n"},
        {"print var 60 5",
         "t.zh:1: print var: LEN \"5\" is not a number from 1 to 4 (usage: "
         "print var I [LEN])\n"},
        {"print status now",
         "t.zh:1: print status: unexpected argument \"now\" (usage: print "
         "status)\n"},
        {"expect pixel 1 2 lit",
         "t.zh:1: expect pixel: \"lit\" is neither on nor off (usage: "
         "expect pixel X Y on|off)\n"},
        {"panel time 24:00",
         "t.zh:1: panel time: HH:MM \"24:00\" is not a time from 00:00 to "
         "23:59 (usage: panel time HH:MM)\n"},
        {"panel function 3 Blink",
         "t.zh:1: panel function: NAME \"Blink\" is not Toggle, "
         "Dimmer, Timer, Scene or none (usage: panel function K "
         "NAME)\n"},
        {"panel text 9 \"x\"",
         "t.zh:1: panel text: K \"9\" is not a number from 0 to 8 "
         "(usage: panel text K \"TEXT\")\n"},
        {"expect var 1 256",
         "t.zh:1: expect var: N \"256\" is not a number from 0 to 255 "
         "(usage: expect var I N ...)\n"},
        {"send 100",
         "t.zh:1: send: HH \"100\" is not a hexadecimal byte (00 to FF) (usage: "
         "send HH ...)\n"},
    };
    for (const auto& [script, message] : cases) {
        Run(script);
        EXPECT_FALSE(ok) << script;
        EXPECT_EQ(error, message);
    }
}

TEST_F(RunnerTest, ScriptErrorStopsTheRunWhereItIs) {
    const std::string out = Run("send 80 01 05\nsend 80 01 ZZ\nsend 80 01 07\n");
    EXPECT_FALSE(ok);
    EXPECT_EQ(lcdm::Engine.TagVariables[1], 5);
    EXPECT_EQ(error.substr(0, 5), "t.zh:");
}

TEST_F(RunnerTest, NumbersAreDecimalOrPrefixedHex) {
    Run("send 80 3F FF\nexpect var 0x3F 255\nexpect var 63 0xff\nexpect cursor -0 0\n");
    EXPECT_TRUE(ok) << error;
    EXPECT_FALSE(failed);
}

TEST_F(RunnerTest, FailedExpectationsSayWhatWasExpectedAndWhatWasFound) {
    const std::string out =
        Run("expect link 0\n"
            "send 80 02 07\n"
            "expect var 1 0 9\n"
            "expect mem 37343 00 01\n"
            "expect store 8191 01\n"
            "expect pixel 0 0 on\n"
            "expect cursor 5 -3\n"
            "expect depth 1 0\n"
            "expect pointer 3\n");
    EXPECT_TRUE(ok) << error;
    EXPECT_TRUE(failed);
    EXPECT_EQ(out,
              "t.zh:1: expected link 0, got no byte sent yet\n"
              "t.zh:3: expected var 1: 0 9, got var 1: 0 7\n"
              "t.zh:4: expected mem 37343: 00 01, got mem 37343: 00 00\n"
              "t.zh:5: expected store 8191: 01, got store 8191: 00\n"
              "t.zh:6: expected pixel 0 0 on, got pixel 0 0 off\n"
              "t.zh:7: expected cursor 5 -3, got cursor 0 0\n"
              "t.zh:8: expected depth 1 0, got depth 0 0\n"
              "t.zh:9: expected pointer 3, got pointer 0\n");
}

TEST_F(RunnerTest, PrintCommandsShowTheModule) {
    const std::string out =
        Run("send 82 75 3E\nsend 0A\nsend 84 AA BB\nsend 24\n"
            "print mem 30014 20\nprint store 8190 4\nprint var 1 2\nprint cursor\nprint lists\n");
    EXPECT_TRUE(ok) << error;
    EXPECT_EQ(out,
              "mem 30014: AA BB 00 00 00 00 00 00 00 00 00 00 00 00 00 00\n"
              "mem 30030: 00 00 00 00\n"
              "store 8190: 00 00 00 00\n"
              "var 1: 0 0\n"
              "cursor 0 0\n"
              "fonts:\navailable:\nused:\n");
}

class VocabularyFileTest : public RunnerTest {
protected:
    void SetUp() override {
        RunnerTest::SetUp();
        const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        folder = (std::filesystem::temp_directory_path() / ("zorhost_" + test)).string();
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    void Write(const std::string& name, const std::string& bytes) {
        std::ofstream(std::filesystem::path(folder) / name, std::ios::binary) << bytes;
    }
};

// A header, and script 3: PUSH8 4, DELAY, PUSH8 1, PUSH8 9, VAR_SET, END.
const std::string kVocabulary(
    "\x00\x04\x21\x00"
    "\x00\x10\x03\x05"
    "\x10\x04\x4E\x10\x01\x10\x09\x5E\x00\x00\x00\x00"
    "\xFF\xFF",
    22);

TEST_F(VocabularyFileTest, LoadedVocabularyIsInitialisedAndListed) {
    Write("voc.bin", kVocabulary);
    const std::string out =
        Run("panel load-vocabulary voc.bin 1000\nexpect pointer 1000\n"
            "print vocabulary\nexpect mem 1000 00 04 21 00 00 10\n");
    EXPECT_TRUE(ok) << error;
    EXPECT_FALSE(failed) << out;
    EXPECT_EQ(out, "vocabulary: 2 items at 1000\n1000 4 33 0\n1004 16 3 5\n");
    EXPECT_EQ(lcdm::Vocabulary.vocabularyId, 33);
}

TEST_F(VocabularyFileTest, DelayWaitsInVirtualTicks) {
    Write("voc.bin", kVocabulary);
    const std::string out =
        Run("panel load-vocabulary voc.bin 1000\nsend 81 03 00\n", {.trace = zorhost::TraceMode::kRaw});
    EXPECT_TRUE(ok) << error;
    EXPECT_EQ(lcdm::Engine.StatusRegister, lcdm::kStatusEnded);
    EXPECT_EQ(lcdm::Engine.TagVariables[9], 1);
    EXPECT_NE(out.find("! DelayCounter := 3\n! DelayCounter := 2\n! DelayCounter := 1\n"
                       "! DelayCounter := 0\n> 00 0 81\n"),
              std::string::npos)
        << out;
}

TEST_F(VocabularyFileTest, VocabularyThatDoesNotFitIsRefusedBeforeAnyByteIsSent) {
    Write("voc.bin", kVocabulary);
    Run("panel load-vocabulary voc.bin 37330\n");
    EXPECT_FALSE(ok);
    EXPECT_EQ(error,
              "t.zh:1: panel load-vocabulary: voc.bin is larger than 14 bytes (the most module "
              "memory holds from address 37330)\n");
    EXPECT_EQ(lcdm::ReadMemoryByte(37330), 0);
    Run("panel load-vocabulary nothing.bin\n");
    EXPECT_EQ(error,
              "t.zh:1: panel load-vocabulary: cannot read nothing.bin: No such file or "
              "directory\n");
}

TEST_F(VocabularyFileTest, LabelForNoKeyLeavesTheLoadedVocabularyAlone) {
    // Loading leaves memory mode and the pointer at the vocabulary's start.
    Write("voc.bin", kVocabulary);
    Run("panel load-vocabulary voc.bin 1000\npanel text 0 \"Hi\"\n"
        "expect mem 1000 00 04 21 00\n");
    EXPECT_TRUE(ok) << error;
    EXPECT_FALSE(failed);
}

}  // namespace
