// Reading icon pictures: formats, palettes, bit depths, damaged files, and
// the crop or extension to the icon size before sending.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <string>
#include <vector>

#include "icon_files.h"
#include "panel/IconFile.h"
#include "panel/IconPicture.h"

namespace {

using panel::IconFileResult;
using panel::IconPicture;
using zortest::BmpFile;
using zortest::OneBitRows;

constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kWhite = 0xFFFFFFFF;

// The picture as text rows: '#' black, '.' white.
std::vector<std::string> Rows(const IconPicture& picture) {
    std::vector<std::string> rows;
    for (int y = 0; y < picture.Height(); ++y) {
        std::string row;
        for (int x = 0; x < picture.Width(); ++x) row += picture.IsBlack(x, y) ? '#' : '.';
        rows.push_back(row);
    }
    return rows;
}

class IconFileTest : public ::testing::Test {
protected:
    // Loads `bytes` saved as `name`; the picture starts as a 3 x 1 marker so
    // that a failed load shows it was left alone.
    IconFileResult Load(const std::string& name, const std::string& bytes) {
        const std::string path = folder.File(name);
        zortest::WriteFile(path, bytes);
        picture = IconPicture(3, 1);
        picture.SetBlack(1, 0, true);
        return panel::LoadIconFile(path, picture, error);
    }
    bool Untouched() const { return Rows(picture) == std::vector<std::string>{".#."}; }

    zortest::TempFolder folder{"icons"};
    IconPicture picture;
    std::string error;
};

const std::vector<std::string> kPattern = {
    "#..........#",
    ".#.######.#.",
    "..#......#..",
};

TEST_F(IconFileTest, OneBitPalettesAreReadByColourNotByIndex) {
    // Black first, white first: the same picture either way.
    ASSERT_EQ(Load("black_first.bmp", BmpFile(12, 3, 1, {kBlack, kWhite}, OneBitRows(kPattern, 0))),
              IconFileResult::kLoaded);
    EXPECT_EQ(Rows(picture), kPattern);
    ASSERT_EQ(Load("white_first.bmp", BmpFile(12, 3, 1, {kWhite, kBlack}, OneBitRows(kPattern, 1))),
              IconFileResult::kLoaded);
    EXPECT_EQ(Rows(picture), kPattern);
    // Neither black nor white: the dark colour becomes black, the light white,
    // whichever index each has.
    ASSERT_EQ(Load("navy_yellow.bmp", BmpFile(12, 3, 1, {qRgb(255, 255, 0), qRgb(0, 0, 128)},
                                              OneBitRows(kPattern, 1))),
              IconFileResult::kLoaded);
    EXPECT_EQ(Rows(picture), kPattern);
}

TEST_F(IconFileTest, DeeperPicturesAreCutAtMiddleGrey) {
    std::vector<QRgb> greys;
    for (int i = 0; i < 256; ++i) greys.push_back(qRgb(i, i, i));
    const std::vector<uint8_t> levels = {0, 100, 127, 128, 200, 255};
    ASSERT_EQ(Load("grey8.bmp", BmpFile(6, 1, 8, greys, {levels})), IconFileResult::kLoaded);
    EXPECT_EQ(Rows(picture), std::vector<std::string>{"###..."});

    // 32 bits a pixel: blue, green, red, unused. Pure red and pure blue are
    // darker than middle grey; yellow and light grey are not.
    const std::vector<uint8_t> bgrx = {0, 0,   255, 0, 255, 0,   0,   0,
                                       0, 255, 255, 0, 200, 200, 200, 0};
    ASSERT_EQ(Load("colour32.bmp", BmpFile(4, 1, 32, {}, {bgrx})), IconFileResult::kLoaded);
    EXPECT_EQ(Rows(picture), std::vector<std::string>{"##.."});
}

TEST_F(IconFileTest, PngAndIconFilesLoadWithTransparencyAsWhite) {
    QImage image(5, 2, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    image.setPixel(0, 0, kBlack);
    image.setPixel(1, 0, qRgba(0, 0, 0, 100));  // faint black over white stays light
    image.setPixel(2, 0, qRgba(0, 0, 0, 200));
    image.setPixel(4, 1, kBlack);
    const std::vector<std::string> expected = {"#.#..", "....#"};
    ASSERT_EQ(Load("icon.png", zortest::Encoded(image, "PNG")), IconFileResult::kLoaded);
    EXPECT_EQ(Rows(picture), expected);
    ASSERT_EQ(Load("icon.ico", zortest::Encoded(image, "ICO")), IconFileResult::kLoaded) << error;
    EXPECT_EQ(Rows(picture), expected);
    // The format is found from the contents when the name does not tell it.
    ASSERT_EQ(Load("icon.bmp", zortest::Encoded(image, "PNG")), IconFileResult::kLoaded) << error;
    EXPECT_EQ(Rows(picture), expected);
}

TEST_F(IconFileTest, FilesThatAreNoPictureLeaveThePictureAlone) {
    EXPECT_EQ(Load("notes.txt", "not a picture at all"), IconFileResult::kNotAPicture);
    EXPECT_NE(error.find("notes.txt"), std::string::npos) << error;
    EXPECT_NE(error.find("expected a picture file"), std::string::npos) << error;
    EXPECT_TRUE(Untouched());

    std::string header = BmpFile(12, 3, 1, {kBlack, kWhite}, OneBitRows(kPattern, 0));
    header[30] = 7;  // a compression no bitmap has
    EXPECT_EQ(Load("bad_header.bmp", header), IconFileResult::kNotAPicture);
    EXPECT_TRUE(Untouched());

    const std::string missing = folder.File("missing.bmp");
    EXPECT_EQ(panel::LoadIconFile(missing, picture, error), IconFileResult::kCannotOpen);
    EXPECT_EQ(error, "cannot read " + missing + ": No such file or directory");
    EXPECT_EQ(panel::LoadIconFile(folder.Path().string(), picture, error),
              IconFileResult::kCannotOpen);
    EXPECT_NE(error.find("Is a directory"), std::string::npos) << error;
    EXPECT_TRUE(Untouched());
}

// A bitmap cut short still decodes, with its missing rows left as whatever
// the memory held; such rows must never become icon pixels.
TEST_F(IconFileTest, TruncatedBitmapsAreDamaged) {
    std::vector<std::string> tall(16, std::string(62, '.'));
    tall[0][0] = '#';
    const std::string full = BmpFile(62, 16, 1, {kBlack, kWhite}, OneBitRows(tall, 0));
    ASSERT_EQ(Load("full.bmp", full), IconFileResult::kLoaded);
    for (size_t cut : {size_t{8}, size_t{40}, size_t{120}}) {
        EXPECT_EQ(Load("cut.bmp", full.substr(0, full.size() - cut)), IconFileResult::kNotAPicture)
            << cut;
        EXPECT_NE(error.find("damaged"), std::string::npos) << error;
        EXPECT_TRUE(Untouched());
    }

    std::vector<QRgb> greys;
    for (int i = 0; i < 256; ++i) greys.push_back(qRgb(i, i, i));
    const std::string grey = BmpFile(
        30, 20, 8, greys, std::vector<std::vector<uint8_t>>(20, std::vector<uint8_t>(30, 9)));
    EXPECT_EQ(Load("grey_cut.bmp", grey.substr(0, grey.size() - 100)),
              IconFileResult::kNotAPicture);
}

// RLE8: (count, index) runs, 00 00 ends a row, 00 01 the picture.
TEST_F(IconFileTest, RunLengthBitmapsLoadWholeButNotCutShort) {
    std::string rle;
    for (int row = 0; row < 4; ++row)
        rle += std::string{char(3), char(row % 2), char(5), '\x01', 0, 0};
    const std::string whole = BmpFile(8, 4, 8, {kBlack, kWhite}, {}, 1, rle + std::string{0, 1});
    ASSERT_EQ(Load("whole_rle.bmp", whole), IconFileResult::kLoaded) << error;
    EXPECT_EQ(Rows(picture),
              (std::vector<std::string>{"........", "###.....", "........", "###....."}));

    const std::string cut = BmpFile(8, 4, 8, {kBlack, kWhite}, {}, 1, rle.substr(0, 12));
    EXPECT_EQ(Load("cut_rle.bmp", cut), IconFileResult::kNotAPicture);
    EXPECT_TRUE(Untouched());
}

// The edge cases of sending: larger pictures become exactly 62 x 16.
TEST(IconSizeTest, LargerPicturesAreCroppedOrExtendedToTheIconSize) {
    IconPicture wide(100, 10);
    for (int y = 0; y < 10; ++y) {
        wide.SetBlack(61, y, true);
        wide.SetBlack(62, y, true);
    }
    panel::FitIconSize(wide);
    ASSERT_EQ(wide.Width(), 62);
    ASSERT_EQ(wide.Height(), 16);
    for (int y = 0; y < 16; ++y)
        EXPECT_EQ(Rows(wide)[y], std::string(61, '.') + (y < 10 ? "#" : "."));

    IconPicture tall(30, 20);
    for (int y = 0; y < 20; ++y) tall.SetBlack(29, y, true);
    panel::FitIconSize(tall);
    ASSERT_EQ(tall.Width(), 62);
    ASSERT_EQ(tall.Height(), 16);
    for (int y = 0; y < 16; ++y)
        EXPECT_EQ(Rows(tall)[y], std::string(29, '.') + "#" + std::string(32, '.'));

    for (auto [w, h] : {std::pair{10, 16}, std::pair{62, 16}, std::pair{1, 1}}) {
        IconPicture fits(w, h);
        fits.SetBlack(w - 1, h - 1, true);
        const IconPicture before = fits;
        panel::FitIconSize(fits);
        EXPECT_EQ(fits, before) << w << " x " << h;
    }
}

}  // namespace

int main(int argc, char** argv) {
    // The icon format comes from an image plugin, which needs an application.
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
