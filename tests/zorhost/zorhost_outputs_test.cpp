// The files zorhost writes for people and CI servers: GIF recordings of the
// LCD in virtual time, the picture of a failed `expect frame`, and the
// JUnit report's XML, well-formed whatever a script held.
#include <gtest/gtest.h>

#include <QImage>
#include <QXmlStreamReader>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "../panel/gif_reader.h"
#include "FrameDiffPicture.h"
#include "JunitReport.h"
#include "Lcdm.h"
#include "ScriptRunner.h"
#include "Session.h"
#include "panel/GifStream.h"
#include "panel/LcdPicture.h"

namespace {

namespace fs = std::filesystem;

class OutputsTest : public ::testing::Test {
protected:
    void SetUp() override {
        lcdm::ModuleReset();
        folder = fs::temp_directory_path() /
                 ("zor_outputs_" +
                  std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    // Runs the scripts in turn on one module; the transcript of the last.
    std::string Run(std::initializer_list<std::string> scripts) {
        zorhost::Options options;
        std::ostringstream out, err;
        zorhost::Session session(out, options);
        zorhost::InstallVirtualTime(session);
        session.scriptName = "t.zh";
        session.scriptFolder = folder.string();
        for (const std::string& script : scripts) {
            out.str("");
            startTicks = session.ticks;
            std::istringstream in(script);
            ok = zorhost::RunScript(session, in, err);
            if (!ok) break;
        }
        error = err.str();
        ticks = session.ticks - startTicks;
        lcdm::SetRenderLcdAndPump(nullptr);
        return out.str();
    }

    // The LCD as the window shows it now, as GIF palette indices.
    static std::vector<uint8_t> LcdNow() {
        panel::LcdPicture picture;
        panel::RenderLcd(picture);
        std::vector<uint8_t> indices;
        panel::LcdGifPicture(picture, indices);
        return indices;
    }

    fs::path folder;
    std::string error;
    bool ok = false;
    uint64_t startTicks = 0, ticks = 0;
};

TEST_F(OutputsTest, TheStartUpAnimationIsRecordedInVirtualTime) {
    const std::string out =
        Run({"record-gif start.gif\npanel create\npanel activate\n"
             "tick 20\npanel splash\ntick 30\nstop-gif\n"});
    ASSERT_TRUE(ok) << error;
    const zortest::GifAnimation gif = zortest::ReadGif((folder / "start.gif").string());
    ASSERT_TRUE(gif.ok) << gif.error;
    EXPECT_EQ(gif.width, 128);
    EXPECT_EQ(gif.height, 256);
    EXPECT_EQ(gif.palette[0], 0x000000u);
    EXPECT_EQ(gif.palette[1], 0xFFFFFFu);
    EXPECT_EQ(gif.comment.rfind("made by zorhost ", 0), 0u) << gif.comment;
    // Every tick of the DELAY waits and of `tick` is a tenth of a second.
    EXPECT_EQ(gif.TotalDelay(), static_cast<int>(ticks) * 10);
    EXPECT_GT(ticks, 50u);
    EXPECT_GT(gif.shown.size(), 5u);
    EXPECT_EQ(gif.delays.back(), 300);  // page 0, until stop-gif
    EXPECT_EQ(gif.shown.back(), LcdNow());
    EXPECT_EQ(out, "gif start.gif: " + std::to_string(gif.shown.size()) + " frames, " +
                       std::to_string(ticks / 10) + "." + std::to_string(ticks % 10) + " s\n");
}

TEST_F(OutputsTest, RecordingsEndWithTheirScriptAndShowEachPageForItsTime) {
    struct Row {
        const char* what;
        const char* script;
        std::vector<int> delays;
        const char* shown;  // equal letters: equal pictures
        const char* line;   // the transcript's line about the recording
    };
    const Row rows[] = {
        {"pages between ticks",
         "record-gif r.gif\ntick 3\npanel page\ntick 2\npanel page\ntick 5\nstop-gif\n",
         {30, 20, 50},
         "ABA",
         "gif r.gif: 3 frames, 1.0 s\n"},
        {"changes at one instant",
         "record-gif r.gif\npanel page\npanel page\npanel page\nstop-gif\n",
         {0},
         "A",
         "gif r.gif: 1 frame, 0.0 s\n"},
        {"left running at the end",
         "tick 2\nrecord-gif r.gif\ntick 4\npanel page\ntick 1\n",
         {40, 10},
         "AB",
         "t.zh:2: record-gif r.gif still ran at the end of the script; written: 2 frames, "
         "0.5 s\n"},
    };
    for (const Row& row : rows) {
        lcdm::ModuleReset();
        fs::remove(folder / "r.gif");
        const std::string out = Run({"panel start\n", row.script});
        ASSERT_TRUE(ok) << row.what << ": " << error;
        EXPECT_EQ(out, row.line) << row.what;
        const zortest::GifAnimation gif = zortest::ReadGif((folder / "r.gif").string());
        ASSERT_TRUE(gif.ok) << row.what << ": " << gif.error;
        EXPECT_EQ(gif.delays, row.delays) << row.what;
        const std::string shown = row.shown;
        ASSERT_EQ(gif.shown.size(), shown.size()) << row.what;
        for (size_t i = 0; i < shown.size(); ++i)
            for (size_t j = 0; j < i; ++j)
                EXPECT_EQ(gif.shown[i] == gif.shown[j], shown[i] == shown[j])
                    << row.what << ": frames " << j << " and " << i;
        EXPECT_EQ(gif.shown.back(), LcdNow()) << row.what;
    }
}

TEST_F(OutputsTest, GifScriptErrorsSayWhatToDo) {
    const std::pair<const char*, const char*> rows[] = {
        {"stop-gif\n",
         "t.zh:1: stop-gif: no GIF recording runs (record-gif FILE begins one) "
         "(usage: stop-gif)\n"},
        {"record-gif a.gif\nrecord-gif b.gif\n",
         "t.zh:2: record-gif: a recording into a.gif runs already (begun at t.zh:1); stop-gif "
         "ends it (usage: record-gif FILE)\n"},
        {"record-gif -\n",
         "t.zh:1: record-gif: standard output carries the transcript; name a "
         "file for the GIF (usage: record-gif FILE)\n"},
    };
    for (const auto& [script, message] : rows) {
        Run({script});
        EXPECT_FALSE(ok) << script;
        EXPECT_EQ(error, message) << script;
        EXPECT_FALSE(fs::exists(folder / "a.gif")) << script;  // a stopped recording leaves nothing
    }
}

TEST(FrameDiffPictureTest, EachPixelShowsWhereItWasLit) {
    struct Row {
        bool expected, actual;
        int knownRows;
        QRgb colour;
    };
    const Row rows[] = {
        {false, false, 128, qRgb(255, 255, 255)}, {true, true, 128, qRgb(150, 150, 150)},
        {false, true, 128, qRgb(220, 0, 0)},      {true, false, 128, qRgb(0, 80, 255)},
        {true, false, 10, qRgb(225, 225, 225)},   {false, true, 10, qRgb(150, 150, 150)},
    };
    for (const Row& row : rows) {
        zorhost::Frame expected, actual;
        expected.knownRows = row.knownRows;
        expected.Set(5, 20, row.expected);
        actual.Set(5, 20, row.actual);
        const std::string png = zorhost::FrameDiffPng(expected, actual);
        const QImage image = QImage::fromData(reinterpret_cast<const uchar*>(png.data()),
                                              static_cast<int>(png.size()), "PNG");
        ASSERT_EQ(image.size(), QSize(256, 512));
        // LCD pixel (5, 20) covers picture pixels 20..23, 80..83.
        for (int dy = 0; dy < 4; ++dy)
            for (int dx = 0; dx < 4; ++dx)
                EXPECT_EQ(image.pixel(20 + dx, 80 + dy), row.colour)
                    << row.expected << row.actual << row.knownRows;
        EXPECT_EQ(image.pixel(24, 80),
                  row.knownRows > 20 ? qRgb(255, 255, 255) : qRgb(225, 225, 225));
        EXPECT_TRUE(image.text("Software").startsWith("zorhost "));
    }
}

TEST(JunitReportTest, TheReportIsWellFormedWhateverTheScriptsHeld) {
    const std::pair<std::string, std::string> escapes[] = {
        {"a<b>&\"c\"'", "a&lt;b&gt;&amp;&quot;c&quot;&apos;"},
        {"tab\tand\nline", "tab\tand\nline"},
        {std::string("bell\x07 nul") + '\0' + "!", "bell\\x07 nul\\x00!"},
        {"\xC3\xBC ok, \xC3 cut, \xED\xA0\x80 surrogate",
         "\xC3\xBC ok, \\xC3 cut, \\xED\\xA0\\x80 surrogate"},
        {"\xEF\xBF\xBE not a character", "\\xEF\\xBF\\xBE not a character"},
    };
    for (const auto& [text, escaped] : escapes) EXPECT_EQ(zorhost::XmlEscaped(text), escaped);

    zorhost::JunitReport report;
    report.Begin("ok.zh");
    report.End("");
    report.Begin("bad <\x01>.zh");
    report.Failure("bad <\x01>.zh:3: expected frame \"x\", got \xFF");
    report.Failure("bad <\x01>.zh:4: expected status 0, got status 1 (ended)");
    report.End("");
    report.Begin("stops.zh");
    report.Failure("stops.zh:1: expected var 1: 2, got var 1: 3");
    report.End("stops.zh:2: unknown command \"bogus\" (zorhost --help lists the commands)\n");
    report.NotRun("later.zh", "not run: stops.zh stopped at an error");

    QXmlStreamReader xml(QString::fromStdString(report.Xml()));
    QStringList cases, failures, errors, skipped;
    QString suiteCounts;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        const auto a = xml.attributes();
        if (xml.name() == u"testsuite")
            suiteCounts = a.value("tests").toString() + " " + a.value("failures").toString() + " " +
                          a.value("errors").toString() + " " + a.value("skipped").toString();
        if (xml.name() == u"testcase") cases << a.value("name").toString();
        if (xml.name() == u"failure") failures << a.value("message").toString();
        if (xml.name() == u"error") errors << a.value("message").toString();
        if (xml.name() == u"skipped") skipped << a.value("message").toString();
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString() << "\n" << report.Xml();
    EXPECT_EQ(suiteCounts, "4 1 1 1");
    EXPECT_EQ(cases, (QStringList{"ok.zh", "bad <\\x01>.zh", "stops.zh", "later.zh"}));
    EXPECT_EQ(failures, (QStringList{"bad <\\x01>.zh:3: expected frame \"x\", got \\xFF",
                                     "bad <\\x01>.zh:4: expected status 0, got status 1 (ended)",
                                     "stops.zh:1: expected var 1: 2, got var 1: 3"}));
    EXPECT_EQ(errors, (QStringList{"stops.zh:2: unknown command \"bogus\" (zorhost --help lists "
                                   "the commands)"}));
    EXPECT_EQ(skipped, (QStringList{"not run: stops.zh stopped at an error"}));
}

}  // namespace
