// Coded bitmaps drawn by the module itself: whatever length the coder is asked
// to hit, the module's own decoder must draw exactly the picture, and nothing
// of the incomplete row a trailing run may spill into.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "Assembler.h"
#include "Lcdm.h"
#include "pixelart/image.h"
#include "pixelart/nibbles.h"

namespace {

bool Lit(int x, int y) {
    return (lcdm::Graphics.FrameBuffer[y * 8 + x / 8] & (0x80 >> (x % 8))) != 0;
}

// Draws the image header and data with the module and checks every pixel of
// the screen: the picture at (0, 0), blank elsewhere.
void ExpectModuleDraws(const std::vector<uint8_t>& image, const pixelart::Picture& picture) {
    lcdm::ModuleReset();
    const lcdm::ByteView view{image.data(), static_cast<uint32_t>(image.size())};
    ASSERT_EQ(lcdm::DrawImageRecord(0, 0, view), 0);
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 64; ++x) {
            const bool expected = y < picture.height() && x < picture.width && picture.At(x, y);
            ASSERT_EQ(Lit(x, y), expected) << "pixel (" << x << ", " << y << ")";
        }
}

pixelart::Picture RandomPicture(std::mt19937& random) {
    pixelart::Picture picture;
    picture.width = 1 + static_cast<int>(random() % 64);
    const int height = 1 + static_cast<int>(random() % 40);
    const int density = static_cast<int>(random() % 100);
    for (int y = 0; y < height; ++y) {
        if (y > 0 && random() % 2 == 0) {
            picture.rows.push_back(picture.rows.back());
            continue;
        }
        std::vector<bool> row;
        for (int x = 0; x < picture.width; ++x)
            row.push_back(static_cast<int>(random() % 100) < density);
        picture.rows.push_back(row);
    }
    return picture;
}

TEST(CodedBitmapDraw, EveryCodingTheCoderMakesDrawsThePicture) {
    std::mt19937 random(2024);
    for (int round = 0; round < 60; ++round) {
        const pixelart::Picture picture = RandomPicture(random);
        const int compression = 1 + round % 2;
        const pixelart::NibbleCoder coder(pixelart::PictureNibbles(picture),
                                          pixelart::RowBytes(picture.width) * 2, compression);
        // The shortest, the longest and a few lengths between.
        std::vector<size_t> lengths = {coder.Shortest(), coder.Longest()};
        for (int i = 0; i < 4; ++i)
            lengths.push_back(coder.Shortest() +
                              random() % (coder.Longest() - coder.Shortest() + 1));
        for (size_t length : lengths) {
            if (!coder.Reachable(length)) continue;
            const std::vector<uint8_t> codes = coder.Code(length);
            std::vector<uint8_t> image = pixelart::ImageHeader(compression, codes.size(), picture);
            image.insert(image.end(), codes.begin(), codes.end());
            SCOPED_TRACE("round " + std::to_string(round) + ", " + std::to_string(length) +
                         " code bytes");
            ExpectModuleDraws(image, picture);
        }
    }
}

TEST(CodedBitmapDraw, ABitmapItemFittedToItsLengthDrawsThePicture) {
    // A 17 x 6 frame coded with two rows of history, fitted to a 40-byte item.
    const std::string art =
        "bitmap 5 'frame' compression=2\n"
        "#################\n"
        "#...............#\n"
        "#..##.....##....#\n"
        "#..##.....##....#\n"
        "#...............#\n"
        "#################\n";
    zorasm::MemoryFiles files;
    files.Add("v.zasm", ".bitmap 5, \"frame.art\", 40\n");
    files.Add("frame.art", art);
    const zorasm::Assembly assembly = zorasm::Assemble({"v.zasm"}, files);
    ASSERT_TRUE(assembly.Ok()) << (assembly.diagnostics.errors.empty()
                                       ? ""
                                       : assembly.diagnostics.errors.front());
    ASSERT_EQ(assembly.bytes.size(), 40u);
    EXPECT_EQ(assembly.bytes[4 + 2], 40 - 12);  // dataLength = item length - 12
    const std::vector<uint8_t> image(assembly.bytes.begin() + 4, assembly.bytes.end());
    const pixelart::Picture picture =
        pixelart::ParsePictures(pixelart::ParseDocument(art, "frame.art")).bitmaps.at(0).picture;
    ExpectModuleDraws(image, picture);
}

}  // namespace
