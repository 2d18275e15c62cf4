// The LCD picture drawn from the frame buffer: doubled, inverted, and
// without the module's bottom row.
#include <gtest/gtest.h>

#include <cstring>

#include "Lcdm.h"
#include "module_fixture.h"
#include "panel/LcdPicture.h"

namespace {

using panel::kPictureHeight;
using panel::kPictureWidth;

class RendererTest : public zortest::ModuleTest {
protected:
    panel::LcdPicture picture;

    int BlackPixels() const {
        int count = 0;
        for (int y = 0; y < kPictureHeight; ++y)
            for (int x = 0; x < kPictureWidth; ++x) count += picture.IsBlack(x, y);
        return count;
    }
};

TEST(NibbleDoubleTest, EachBitFillsTwoPositions) {
    EXPECT_EQ(panel::NibbleDouble(0x0), 0x00);
    EXPECT_EQ(panel::NibbleDouble(0x1), 0x03);
    EXPECT_EQ(panel::NibbleDouble(0x8), 0xC0);
    EXPECT_EQ(panel::NibbleDouble(0xA), 0xCC);
    EXPECT_EQ(panel::NibbleDouble(0x6), 0x3C);
    EXPECT_EQ(panel::NibbleDouble(0xF), 0xFF);
}

TEST_F(RendererTest, TopLeftPixelBecomesATwoByTwoBlock) {
    lcdm::DrawPixel(0, 0, true);
    panel::RenderLcd(picture);
    EXPECT_TRUE(picture.IsBlack(0, 0));
    EXPECT_TRUE(picture.IsBlack(1, 0));
    EXPECT_TRUE(picture.IsBlack(0, 1));
    EXPECT_TRUE(picture.IsBlack(1, 1));
    EXPECT_EQ(BlackPixels(), 4);
    EXPECT_EQ(picture.Row(0)[0], 0x3F);
}

TEST_F(RendererTest, BottomModuleRowIsNotShown) {
    lcdm::DrawPixel(63, 127, true);
    panel::RenderLcd(picture);
    EXPECT_EQ(BlackPixels(), 0);
}

TEST_F(RendererTest, RowAboveTheBottomIsTheLastShown) {
    lcdm::DrawPixel(63, 126, true);
    panel::RenderLcd(picture);
    EXPECT_EQ(BlackPixels(), 4);
    for (int y : {252, 253})
        for (int x : {126, 127}) EXPECT_TRUE(picture.IsBlack(x, y)) << x << "," << y;
}

TEST_F(RendererTest, LastTwoPictureRowsAreNeverDrawn) {
    // Whatever they hold stays; the window set them up white.
    std::memset(picture.Row(254), 0x00, 2 * panel::kPictureRowBytes);
    panel::RenderLcd(picture);
    for (int x = 0; x < kPictureWidth; ++x) {
        EXPECT_TRUE(picture.IsBlack(x, 254));
        EXPECT_TRUE(picture.IsBlack(x, 255));
    }
}

TEST_F(RendererTest, EveryShownPixelCoversItsFourPicturePixels) {
    // An irregular pattern, so that a swapped nibble or row shows.
    for (int y = 0; y < lcdm::kScreenHeight; ++y)
        for (int x = 0; x < lcdm::kScreenWidth; ++x)
            lcdm::DrawPixel(x, y, (x * 7 + y * 3) % 5 == 0 || x == y / 2);
    std::memset(picture.Row(0), 0x00, panel::kPictureRowBytes);  // stale contents are replaced
    panel::RenderLcd(picture);
    for (int y = 0; y < kPictureHeight - 2; ++y)
        for (int x = 0; x < kPictureWidth; ++x)
            ASSERT_EQ(picture.IsBlack(x, y), zortest::PixelOn(x / 2, y / 2)) << x << "," << y;
}

TEST_F(RendererTest, ImageRowIsTheInvertedDoubling) {
    lcdm::Graphics.FrameBuffer[5 * 8 + 3] = 0xA5;
    uint8_t row[panel::kPictureRowBytes];
    panel::BuildImageRow(5, row);
    EXPECT_EQ(row[6], static_cast<uint8_t>(~0xCC));
    EXPECT_EQ(row[7], static_cast<uint8_t>(~0x33));
    EXPECT_EQ(row[0], 0xFF);
}

}  // namespace
