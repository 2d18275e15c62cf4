// Frame files: PBM text and binary, LCD snapshots read back, and the
// comparison behind `expect frame`.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "FrameFile.h"
#include "Lcdm.h"
#include "ScriptError.h"
#include "panel/LcdPicture.h"
#include "panel/Snapshot.h"

namespace {

namespace fs = std::filesystem;
using zorhost::Frame;

class FrameFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        lcdm::ModuleReset();
        // One folder per test: CTest may run the tests side by side.
        const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        folder = fs::temp_directory_path() / ("zorhost_frames_" + test);
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string Write(const std::string& name, const std::string& bytes) {
        const fs::path path = folder / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }

    // The message of the ScriptError that reading `path` throws.
    std::string ReadError(const std::string& path) {
        try {
            zorhost::ReadFrameFile(path, "f");
        } catch (const zorhost::ScriptError& error) {
            return error.what();
        }
        return "no error";
    }

    fs::path folder;
};

Frame Diagonal() {
    Frame frame;
    for (int y = 0; y < zorhost::kFrameHeight; ++y) frame.Set(y / 2, y, true);
    return frame;
}

TEST_F(FrameFileTest, PbmTextRoundTripsAndAllowsComments) {
    const Frame frame = Diagonal();
    std::string text = zorhost::FormatPbm(frame);
    EXPECT_EQ(text.substr(0, 10), "P1\n64 128\n");
    text.insert(3, "# a comment\n");
    const Frame read = zorhost::ReadFrameFile(Write("d.pbm", text), "d.pbm");
    EXPECT_EQ(read.on, frame.on);
    EXPECT_EQ(read.knownRows, 128);
}

TEST_F(FrameFileTest, PbmBinaryIsReadBitForBit) {
    std::string bytes = "P4\n64 128\n";
    std::string pixels(8 * 128, '\0');
    pixels[0] = '\x80';            // (0, 0)
    pixels[127 * 8 + 7] = '\x01';  // (63, 127)
    const Frame read = zorhost::ReadFrameFile(Write("b.pbm", bytes + pixels), "b.pbm");
    EXPECT_TRUE(read.At(0, 0));
    EXPECT_TRUE(read.At(63, 127));
    EXPECT_FALSE(read.At(1, 0));
    EXPECT_EQ(std::count(read.on.begin(), read.on.end(), true), 2);
}

TEST_F(FrameFileTest, MalformedFramesAreRefusedWithTheReason) {
    EXPECT_EQ(ReadError(Write("s.pbm", "P1 32 32\n")),
              "f: a frame must be 64 x 128 pixels, got 32 x 32");
    EXPECT_EQ(ReadError(Write("t.pbm", "P1 64 128\n0101")),
              "f: pixel data that end after 4 of 8192 pixels");
    EXPECT_EQ(ReadError(Write("x.pbm", "P1 64 128\n01x")),
              "f: 'x' among the pixels (expected 0 or 1)");
    EXPECT_EQ(ReadError(Write("p4.pbm", "P4 64 128\n" + std::string(100, '\0'))),
              "f: pixel data shorter than 64 x 128 pixels");
    EXPECT_EQ(ReadError((folder / "none.pbm").string()),
              "cannot read f: No such file or directory");
    EXPECT_EQ(ReadError(Write("junk.bmp", "not a picture")).substr(0, 40),
              "f: not a PBM frame or a readable picture");
}

TEST_F(FrameFileTest, SnapshotReadsBackAsTheFrameWithoutItsBottomRow) {
    for (int y = 0; y < 128; ++y) lcdm::DrawPixel(y / 2, y, true);
    lcdm::DrawPixel(0, 127, true);
    panel::LcdPicture picture;
    panel::RenderLcd(picture);
    for (const char* name : {"lcd.bmp", "lcd.png"}) {
        std::string error;
        ASSERT_TRUE(panel::SaveSnapshot(picture, (folder / name).string(), error)) << error;
        const Frame read = zorhost::ReadFrameFile((folder / name).string(), name);
        EXPECT_EQ(read.knownRows, 127);
        const zorhost::FrameDifference diff = zorhost::Compare(read, zorhost::CurrentFrame());
        EXPECT_EQ(diff.pixels, 0) << name;
    }
}

TEST_F(FrameFileTest, SnapshotWithAnUnevenBlockIsNotAnLcdSnapshot) {
    QImage image(128, 256, QImage::Format_Mono);
    image.setColorTable({0xFF000000, 0xFFFFFFFF});
    image.fill(1);
    image.setPixel(21, 40, 0);  // one quarter of LCD pixel (10, 20)
    ASSERT_TRUE(image.save(QString::fromStdString((folder / "odd.bmp").string())));
    EXPECT_EQ(ReadError((folder / "odd.bmp").string()),
              "f: the 2 x 2 picture pixels of LCD pixel (10, 20) differ, so this is not an LCD "
              "snapshot");
    QImage small(64, 128, QImage::Format_Mono);
    small.fill(1);
    ASSERT_TRUE(small.save(QString::fromStdString((folder / "small.png").string())));
    EXPECT_EQ(ReadError((folder / "small.png").string()),
              "f: a snapshot must be 128 x 256 pixels, got 64 x 128");
}

TEST_F(FrameFileTest, SnapshotColoursDecideNotPaletteIndices) {
    // A palette white-first: index 0 is white, so the set bits are black.
    QImage image(128, 256, QImage::Format_Mono);
    image.setColorTable({0xFFFFFFFF, 0xFF000000});
    image.fill(0);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x) image.setPixel(x, y, 1);
    ASSERT_TRUE(image.save(QString::fromStdString((folder / "inverse.bmp").string())));
    const Frame read = zorhost::ReadFrameFile((folder / "inverse.bmp").string(), "f");
    EXPECT_TRUE(read.At(0, 0));
    EXPECT_EQ(std::count(read.on.begin(), read.on.end(), true), 1);
}

TEST_F(FrameFileTest, ComparisonCountsAndBoundsTheDifferences) {
    Frame expected, actual;
    actual.Set(5, 9, true);
    actual.Set(40, 2, true);
    expected.Set(12, 100, true);
    actual.Set(0, 127, true);  // not compared against a snapshot
    expected.knownRows = 127;
    const zorhost::FrameDifference diff = zorhost::Compare(expected, actual);
    EXPECT_EQ(diff.pixels, 3);
    EXPECT_EQ(diff.left, 5);
    EXPECT_EQ(diff.top, 2);
    EXPECT_EQ(diff.right, 40);
    EXPECT_EQ(diff.bottom, 100);
    EXPECT_EQ(zorhost::Compare(actual, actual).pixels, 0);
}

}  // namespace
