// Frame files: PBM text and binary, LCD snapshots read back, and the
// comparison behind `expect frame`.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
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

    static Frame ReadFrameFile(const std::string& path, const std::string& name) {
        std::ifstream in(path, std::ios::binary);
        return zorhost::ParseFrame({std::istreambuf_iterator<char>(in), {}}, name);
    }

    // The message of the ScriptError that reading `path` throws.
    std::string ReadError(const std::string& path) {
        try {
            ReadFrameFile(path, "f");
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
    const Frame read = ReadFrameFile(Write("d.pbm", text), "d.pbm");
    EXPECT_EQ(read.on, frame.on);
    EXPECT_EQ(read.knownRows, 128);
}

TEST_F(FrameFileTest, PbmBinaryIsReadBitForBit) {
    std::string bytes = "P4\n64 128\n";
    std::string pixels(8 * 128, '\0');
    pixels[0] = '\x80';            // (0, 0)
    pixels[127 * 8 + 7] = '\x01';  // (63, 127)
    const Frame read = ReadFrameFile(Write("b.pbm", bytes + pixels), "b.pbm");
    EXPECT_TRUE(read.At(0, 0));
    EXPECT_TRUE(read.At(63, 127));
    EXPECT_FALSE(read.At(1, 0));
    EXPECT_EQ(std::count(read.on.begin(), read.on.end(), true), 2);
}

TEST_F(FrameFileTest, MalformedFramesAreRefusedWithTheReason) {
    const std::string rows(8 * 128, '\0');
    const std::pair<std::string, const char*> cases[] = {
        {"P1 32 32\n", "f: a frame must be 64 x 128 pixels, got 32 x 32"},
        {"P1 64 128\n0101", "f: pixel data that end after 4 of 8192 pixels"},
        {"P1 64 128\n01x", "f: 'x' among the pixels (expected 0 or 1)"},
        {"P4 64 128\n" + std::string(100, '\0'), "f: pixel data cut short: 100 of 1024 bytes"},
        {"P4 64 128\n" + rows + "xy",
         "f: 2 bytes after the 64 x 128 pixels (expected the file "
         "to end there)"},
        {"P1 64 128\n" + std::string(8192, '0') + "\n1\n",
         "f: 2 bytes after the 64 x 128 pixels (expected the file to end there)"},
        // Header numbers are whole numbers between whitespace, never cut.
        {"P1\n000064000128\n",
         "f: a malformed PBM header (expected whitespace, then the height "
         "as a decimal number)"},
        {"P1 999999999 999999999\n",
         "f: a frame must be 64 x 128 pixels, got 999999999 x "
         "999999999"},
        {"P1 12345678901234567890123 128\n",
         "f: a frame must be 64 x 128 pixels, got a width "
         "of 12345678901234567890... (23 digits) pixels"},
        {"P1 64x 128\n", "f: a malformed PBM header (the width 64 runs into 'x')"},
        {"P164 128\n",
         "f: a malformed PBM header (expected whitespace, then the width as a "
         "decimal number)"},
        {"P4 64 128", "f: a malformed PBM header (expected one whitespace before the pixels)"},
        {"not a picture", "f: not a PBM frame or a readable picture (Unsupported image format)"},
    };
    for (const auto& [bytes, message] : cases) {
        EXPECT_EQ(ReadError(Write("bad.pbm", bytes)), message) << bytes.substr(0, 40);
    }
    // Comments stand wherever whitespace may.
    const Frame read = ReadFrameFile(Write("c.pbm", "P4#magic\n64 # width\n128\n" + rows), "c.pbm");
    EXPECT_EQ(std::count(read.on.begin(), read.on.end(), true), 0);
}

// A snapshot cut short decodes with rows the reader never wrote: the verdict
// must be the same every time, never a comparison against leftover memory.
TEST_F(FrameFileTest, TruncatedSnapshotsAreRefusedTheSameEveryTime) {
    for (int y = 0; y < 128; y += 3) lcdm::DrawPixel(y / 2, y, true);
    panel::LcdPicture picture;
    panel::RenderLcd(picture);
    const std::string bmp = *panel::EncodeSnapshot(picture, "x.bmp");
    const std::string png = *panel::EncodeSnapshot(picture, "x.png");
    const std::pair<std::string, const char*> cases[] = {
        {bmp.substr(0, 2000),
         "f: the picture is cut short or damaged (135 of its 256 rows have "
         "pixels missing)"},
        {bmp.substr(0, 4150),
         "f: the picture is cut short or damaged (1 of its 256 rows have "
         "pixels missing)"},
        {png.substr(0, png.size() / 2),
         "f: not a PBM frame or a readable picture (Unable to read "
         "image data; libpng error: Read Error)"},
    };
    for (const auto& [bytes, message] : cases)
        for (int run = 0; run < 3; ++run)
            EXPECT_EQ(ReadError(Write("cut", bytes)), message) << bytes.size();
}

TEST_F(FrameFileTest, SnapshotReadsBackAsTheFrameWithoutItsBottomRow) {
    for (int y = 0; y < 128; ++y) lcdm::DrawPixel(y / 2, y, true);
    lcdm::DrawPixel(0, 127, true);
    panel::LcdPicture picture;
    panel::RenderLcd(picture);
    for (const char* name : {"lcd.bmp", "lcd.png"}) {
        std::string error;
        ASSERT_TRUE(panel::SaveSnapshot(picture, (folder / name).string(), error)) << error;
        const Frame read = ReadFrameFile((folder / name).string(), name);
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
    const Frame read = ReadFrameFile((folder / "inverse.bmp").string(), "f");
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
