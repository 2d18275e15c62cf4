// LCD snapshots: the exact BMP file, and pictures that reload unchanged.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "Lcdm.h"
#include "module_fixture.h"
#include "panel/Snapshot.h"

namespace {

namespace fs = std::filesystem;

uint32_t Le(const std::vector<uint8_t>& bytes, size_t at, int size) {
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = value << 8 | bytes[at + i];
    return value;
}

std::vector<uint8_t> ReadBytes(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

class SnapshotTest : public zortest::ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        folder = fs::temp_directory_path() /
                 ("zor_snapshot_" +
                  std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        // A pattern with a distinct top and bottom, left and right.
        lcdm::DrawPixel(0, 0, true);
        lcdm::DrawLine(10, 20, 50, 100);
        lcdm::DrawPixel(63, 126, true);
        panel::RenderLcd(picture);
    }
    void TearDown() override { fs::remove_all(folder); }

    void ExpectSamePicture(const QImage& image) {
        ASSERT_EQ(image.width(), panel::kPictureWidth);
        ASSERT_EQ(image.height(), panel::kPictureHeight);
        for (int y = 0; y < panel::kPictureHeight; ++y)
            for (int x = 0; x < panel::kPictureWidth; ++x)
                ASSERT_EQ(image.pixel(x, y), picture.IsBlack(x, y) ? 0xFF000000u : 0xFFFFFFFFu)
                    << x << "," << y;
    }

    fs::path folder;
    panel::LcdPicture picture;
};

TEST_F(SnapshotTest, BmpHasTheExactHeadersPaletteAndRowOrder) {
    const std::vector<uint8_t> bmp = panel::EncodeBmp(picture);
    ASSERT_EQ(bmp.size(), 4158u);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(Le(bmp, 2, 4), 4158u);
    EXPECT_EQ(Le(bmp, 10, 4), 62u);  // pixel data offset
    EXPECT_EQ(Le(bmp, 14, 4), 40u);  // info header size
    EXPECT_EQ(Le(bmp, 18, 4), 128u);
    EXPECT_EQ(Le(bmp, 22, 4), 256u);  // positive height: bottom-up rows
    EXPECT_EQ(Le(bmp, 26, 2), 1u);
    EXPECT_EQ(Le(bmp, 28, 2), 1u);  // one bit per pixel
    EXPECT_EQ(Le(bmp, 30, 4), 0u);  // no compression
    EXPECT_EQ(Le(bmp, 34, 4), 4096u);
    EXPECT_EQ(Le(bmp, 46, 4), 2u);
    EXPECT_EQ(std::vector<uint8_t>(bmp.begin() + 54, bmp.begin() + 62),
              (std::vector<uint8_t>{0, 0, 0, 0, 255, 255, 255, 0}));
    // The file's first row is the picture's bottom row (never drawn: white);
    // its last row is the picture's top row with the 2 x 2 block at the left.
    EXPECT_EQ(bmp[62], 0xFF);
    EXPECT_EQ(bmp[4158 - 16], 0x3F);
}

TEST_F(SnapshotTest, SavedBmpReloadsAsTheSamePicture) {
    std::string error;
    const fs::path file = folder / "ZOR.bmp";
    ASSERT_TRUE(panel::SaveSnapshot(picture, file.string(), error)) << error;
    EXPECT_EQ(fs::file_size(file), 4158u);
    EXPECT_EQ(ReadBytes(file), panel::EncodeBmp(picture));
    const QImage image(QString::fromStdString(file.string()));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.depth(), 1);
    ExpectSamePicture(image);
}

TEST_F(SnapshotTest, PngNameGetsTheSamePictureAsPng) {
    std::string error;
    const fs::path file = folder / "lcd.PNG";
    ASSERT_TRUE(panel::SaveSnapshot(picture, file.string(), error)) << error;
    const std::vector<uint8_t> bytes = ReadBytes(file);
    ASSERT_GE(bytes.size(), 8u);
    EXPECT_EQ(bytes[1], 'P');
    EXPECT_EQ(bytes[2], 'N');
    EXPECT_EQ(bytes[3], 'G');
    ExpectSamePicture(QImage(QString::fromStdString(file.string())));
}

// The name's extension picks the format, in any case; the lossless ones
// reload as the very picture, the BMP is always the exact 4158-byte file.
TEST_F(SnapshotTest, TheExtensionPicksTheFormat) {
    const struct {
        const char* name;
        const char* magic;
        bool lossless;
    } kCases[] = {
        {"lcd.bmp", "BM", true},         {"LCD.BMP", "BM", true},
        {"no_extension", "BM", true},    {"lcd.png", "\x89PNG", true},
        {"lcd.pbm", "P4", true},         {"lcd.ppm", "P6", true},
        {"lcd.xpm", "/* XPM", true},     {"lcd.jpg", "\xFF\xD8", false},
        {"lcd.JPEG", "\xFF\xD8", false},
    };
    for (const auto& c : kCases) {
        const fs::path file = folder / c.name;
        std::string error;
        ASSERT_TRUE(panel::SaveSnapshot(picture, file.string(), error)) << c.name << ": " << error;
        const std::vector<uint8_t> bytes = ReadBytes(file);
        const std::string magic = c.magic;
        ASSERT_GE(bytes.size(), magic.size()) << c.name;
        EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + magic.size()), magic) << c.name;
        if (magic == "BM") {
            EXPECT_EQ(bytes, panel::EncodeBmp(picture)) << c.name;
        }
        const QImage image(QString::fromStdString(file.string()),
                           std::string(c.name).find('.') == std::string::npos ? "BMP" : nullptr);
        ASSERT_EQ(image.size(), QSize(panel::kPictureWidth, panel::kPictureHeight)) << c.name;
        if (c.lossless) {
            ExpectSamePicture(image.convertToFormat(QImage::Format_RGB32));
            continue;
        }
        // JPEG: every 2 x 2 block still reads as its colour.
        for (int y = 0; y < panel::kPictureHeight; y += 2)
            for (int x = 0; x < panel::kPictureWidth; x += 2)
                ASSERT_EQ(qGray(image.pixel(x, y)) < 128, picture.IsBlack(x, y)) << c.name;
    }
    EXPECT_EQ(panel::SnapshotFilter().substr(0, 25), "bmp (*.bmp);;cur (*.cur);");
}

TEST_F(SnapshotTest, AnExtensionWithoutAWriterIsRefusedNamingTheFormats) {
    const fs::path file = folder / "lcd.xyz";
    std::string error;
    EXPECT_FALSE(panel::SaveSnapshot(picture, file.string(), error));
    EXPECT_EQ(error.substr(0, error.find(" (")),
              "cannot write " + file.string() + ": no image writer for .xyz");
    for (const char* format : {"(the formats there are: bmp, ", " png", " jpg", " pbm"})
        EXPECT_NE(error.find(format), std::string::npos) << format << " in " << error;
    EXPECT_FALSE(fs::exists(file));
}

TEST_F(SnapshotTest, ExistingFileIsReplacedWhole) {
    const fs::path file = folder / "ZOR.bmp";
    std::ofstream(file) << std::string(10000, 'x');
    std::string error;
    ASSERT_TRUE(panel::SaveSnapshot(picture, file.string(), error)) << error;
    EXPECT_EQ(fs::file_size(file), 4158u);
}

TEST_F(SnapshotTest, UnwritableFolderIsReportedWithNameAndReason) {
    const fs::path file = folder / "missing" / "ZOR.bmp";
    std::string error;
    EXPECT_FALSE(panel::SaveSnapshot(picture, file.string(), error));
    EXPECT_NE(error.find(file.string()), std::string::npos) << error;
    EXPECT_GT(error.size(), file.string().size() + 16) << "no reason given: " << error;
    EXPECT_FALSE(fs::exists(folder / "missing"));
}

}  // namespace
