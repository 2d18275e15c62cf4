// zorhost's "panel icon K FILE": the window's "Open" and "Send" through the
// same code, with error boxes as transcript lines.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <sstream>

#include "Lcdm.h"
#include "ScriptRunner.h"
#include "Session.h"
#include "icon_files.h"

namespace {

class PanelIconCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        lcdm::ModuleReset();
        session.scriptName = "icons.zh";
        session.scriptFolder = folder.Path().string();
        zorhost::InstallVirtualTime(session);
    }
    void TearDown() override { lcdm::SetRenderLcdAndPump(nullptr); }

    // Runs `script` on the session; returns what it printed.
    std::string Run(const std::string& script) {
        out.str("");
        std::istringstream in(script);
        std::ostringstream err;
        ok = zorhost::RunScript(session, in, err);
        error = err.str();
        return out.str();
    }

    static int LabelLength(uint8_t key) { return lcdm::ReadStoreByte(lcdm::RecordAddress(key)); }

    zortest::TempFolder folder{"zorhost_icons"};
    std::ostringstream out;
    zorhost::Options options;
    zorhost::Session session{out, options};
    bool ok = false;
    std::string error;
};

QImage Cross() {
    QImage image(20, 12, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int i = 0; i < 12; ++i) image.setPixel(i, i, qRgb(0, 0, 0));
    return image;
}

TEST_F(PanelIconCommandTest, APictureFileBecomesTheKeysIcon) {
    zortest::WriteFile(folder.File("cross.png"), zortest::Encoded(Cross(), "PNG"));
    EXPECT_EQ(Run("panel start\npanel icon 2 cross.png\n"), "");
    EXPECT_TRUE(ok) << error;
    EXPECT_EQ(LabelLength(2), 130);  // an icon reference
}

TEST_F(PanelIconCommandTest, ErrorBoxesBecomeTranscriptLines) {
    const std::string bmp = zortest::Encoded(Cross(), "BMP");
    zortest::WriteFile(folder.File("cut.bmp"), bmp.substr(0, bmp.size() - 200));
    const std::string printed = Run("panel start\npanel icon 2 cut.bmp\n");
    EXPECT_TRUE(ok) << error;
    EXPECT_EQ(printed.rfind("! error: cannot load cut.bmp as a picture: the file is damaged", 0),
              0u)
        << printed;
    EXPECT_EQ(LabelLength(2), 0xFF);  // nothing was sent

    // Every slot taken by other icons of language 1, available (a first icon
    // made it so) and current: the module has no room.
    zortest::WriteFile(folder.File("cross.png"), zortest::Encoded(Cross(), "PNG"));
    EXPECT_EQ(Run("panel icon 1 cross.png\n"), "");
    lcdm::Language.currentLanguage = 1;
    for (int slot = 0; slot < lcdm::kIconSlots; ++slot) {
        const uint16_t entry = lcdm::kIconDirectory + slot * lcdm::kIconDirectoryEntrySize;
        lcdm::WriteStoreByte(entry + 2, 0);
        lcdm::WriteStoreByte(entry + 3, static_cast<uint8_t>(200 + slot));
        lcdm::WriteStoreByte(entry + 7, 1);
    }
    EXPECT_EQ(Run("panel icon 3 cross.png\n"), "! error: Cannot find free room for dynamic icon\n");
    EXPECT_TRUE(ok) << error;
    EXPECT_FALSE(session.transcript.AnyFailure());

    // With --strict an error box is a failure CI sees, and the line stays.
    session.options.strict = true;
    EXPECT_EQ(Run("panel icon 3 cross.png\n"),
              "! error: Cannot find free room for dynamic icon\n"
              "icons.zh:1: expected no error box, got ! error: Cannot find free room for dynamic "
              "icon\n");
    EXPECT_TRUE(session.transcript.AnyFailure());
}

TEST_F(PanelIconCommandTest, AMissingFileIsAScriptError) {
    Run("panel icon 1 nothing.bmp\n");
    EXPECT_FALSE(ok);
    EXPECT_EQ(error,
              "icons.zh:1: panel icon: cannot read nothing.bmp: No such file or directory\n");
    Run("panel icon 9 nothing.bmp\n");
    EXPECT_NE(error.find("K \"9\" is not a number from 0 to 8"), std::string::npos) << error;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
