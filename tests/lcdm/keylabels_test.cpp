// Drawing key labels and logos from the label store: the choice between the
// label in the current language and the default label, text and icon labels,
// and the logo's enable byte.
#include <cstring>
#include <string>

#include "module_fixture.h"

namespace {

using namespace lcdm;
using zortest::ModuleTest;
using zortest::PixelsOn;
using zortest::RowText;
using zortest::VocabularyBuilder;

constexpr uint8_t kLanguage = 70;  // font class 2
constexpr uint8_t kClass = 2;
constexpr uint16_t kIconId = 0x0102;

// A small proportional font for 'A' and 'B' (2 rows, ascent 2, spacing 1):
//   A  ###    B  ##
//      #.#       ##
std::vector<uint8_t> FontBody(uint8_t fontClass) {
    return {128,  'A', 'B',  3,    2, 2, 1, 0, fontClass,  // header
            0x01, 3,   0xE0, 0xA0,                         // 'A'
            0x01, 2,   0xC0, 0xC0};                        // 'B'
}

// An icon set for kLanguage with one 8 x 2 icon, id kIconId, yOffset 1:
//   ..####..
//   .#....#.
std::vector<uint8_t> IconSetBody() {
    return {0, kLanguage, 0, 10, HighByte(kIconId), LowByte(kIconId), 8, 2, 1, 0, 0x3C, 0x42};
}

class KeyLabelTest : public ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        std::memset(Labels.LabelStore, 0xFF, sizeof Labels.LabelStore);
        VocabularyBuilder voc;
        fontClass0_ = voc.Add(0, kItemTextFont, FontBody(0));
        fontClass2_ = voc.Add(0, kItemTextFont, FontBody(kClass));
        voc.Add(0, kItemIconSet, IconSetBody());
        ASSERT_EQ(voc.Init(), 4);
        Language.currentLanguage = kLanguage;
        Language.currentFontClass = kClass;
        Language.iconSetLanguage = kLanguage;
        UseFontOfClass(kClass);
        Graphics.GraphicsCursor = Point{0, 10};
    }

    void UseFontOfClass(uint8_t fontClass) {
        SelectFont(static_cast<uint16_t>((fontClass == 0 ? fontClass0_ : fontClass2_) + 4), 0);
    }

    // Writes key k's directory (pairs of length byte, language) and data.
    static void PutKey(uint8_t key, std::initializer_list<uint8_t> directory,
                       std::initializer_list<uint8_t> data) {
        uint8_t* record = Labels.LabelStore + RecordAddress(key);
        std::memcpy(record, directory.begin(), directory.size());
        std::memcpy(record + kLabelDirectorySize, data.begin(), data.size());
    }

    static void PutDynamicIcon(uint8_t slot, uint8_t language, uint16_t id) {
        const uint8_t entry[8] = {0, 2, HighByte(id), LowByte(id), 8, 2, 1, language};
        std::memcpy(Labels.LabelStore + kIconDirectory + slot * 8, entry, sizeof entry);
        // ########
        // #......#
        Labels.LabelStore[kIconBitmaps + slot * kIconSlotSize] = 0xFF;
        Labels.LabelStore[kIconBitmaps + slot * kIconSlotSize + 1] = 0x81;
    }

    uint16_t fontClass0_ = 0;
    uint16_t fontClass2_ = 0;
};

TEST_F(KeyLabelTest, KeysWithoutLabelsOrOutOfRangeDrawNothing) {
    EXPECT_EQ(DrawKeyLabel(0), 0);
    EXPECT_EQ(DrawKeyLabel(29), 0);
    EXPECT_EQ(DrawKeyLabel(255), 0);
    EXPECT_EQ(DrawKeyLabel(5), 0);  // directory all 255: a cleared key
    EXPECT_EQ(PixelsOn(), 0);
    EXPECT_EQ(Labels.textLength, 0);
    // A length byte of 0 in entry 0 ends the directory at once as well.
    PutKey(6, {0, 1}, {'A'});
    EXPECT_EQ(DrawKeyLabel(6), 0);
    EXPECT_EQ(PixelsOn(), 0);
}

TEST_F(KeyLabelTest, TextInTheCurrentLanguageIsDrawnWithMatchingFonts) {
    PutKey(3, {3, 1, 3, kLanguage}, {'A', 'B', 0, 'B', 'A', 0});
    EXPECT_EQ(DrawKeyLabel(3), 2);
    EXPECT_EQ(RowText(8, 0, 6), "##.###.");
    EXPECT_EQ(RowText(9, 0, 6), "##.#.#.");
    EXPECT_EQ(Graphics.GraphicsCursor.x, 7);
    EXPECT_EQ(Graphics.GraphicsCursor.y, 10);
    EXPECT_EQ(Labels.textLength, 3);
}

TEST_F(KeyLabelTest, TextFallsBackToTheDefaultLabelWhenTheFontClassDiffers) {
    PutKey(3, {3, 1, 3, kLanguage}, {'A', 'B', 0, 'B', 'A', 0});
    UseFontOfClass(0);
    EXPECT_EQ(DrawKeyLabel(3), 2);
    EXPECT_EQ(RowText(8, 0, 6), "###.##.");
    EXPECT_EQ(RowText(9, 0, 6), "#.#.##.");

    // No label in the current language at all: the default label as well.
    ClearScreen();
    UseFontOfClass(kClass);
    Graphics.GraphicsCursor = Point{0, 10};
    PutKey(4, {3, 1, 3, 71}, {'A', 'B', 0, 'B', 'A', 0});
    EXPECT_EQ(DrawKeyLabel(4), 2);
    EXPECT_EQ(RowText(8, 0, 6), "###.##.");

    // Eight labels, none of them in the current language.
    ClearScreen();
    Graphics.GraphicsCursor = Point{0, 10};
    PutKey(5, {3, 1, 2, 2, 2, 3, 2, 4, 2, 5, 2, 6, 2, 7, 2, 8},
           {'A', 'B', 0, 'B', 0, 'B', 0, 'B', 0, 'B', 0, 'B', 0, 'B', 0, 'B', 0});
    EXPECT_EQ(DrawKeyLabel(5), 2);
    EXPECT_EQ(RowText(8, 0, 6), "###.##.");
}

TEST_F(KeyLabelTest, TextCountsOnlyDrawnCharactersAndStopsAtZero) {
    // Characters without a glyph draw nothing and are not counted.
    PutKey(3, {3, kLanguage}, {'x', 'y', 0});
    EXPECT_EQ(DrawKeyLabel(3), 0);
    EXPECT_EQ(PixelsOn(), 0);
    // The count stops at the 0 byte even though the entry is longer.
    PutKey(4, {5, kLanguage}, {'z', 'A', 0, 'B', 'B'});
    EXPECT_EQ(DrawKeyLabel(4), 1);
    EXPECT_EQ(RowText(8, 0, 4), "###..");
    // A text that fills its length exactly has no 0 byte; the next entry's
    // data are not read.
    ClearScreen();
    Graphics.GraphicsCursor = Point{0, 10};
    PutKey(5, {1, kLanguage, 2, 9}, {'B', 'A', 0});
    EXPECT_EQ(DrawKeyLabel(5), 1);
    EXPECT_EQ(RowText(8, 0, 4), "##...");
}

TEST_F(KeyLabelTest, IconLabelFromADynamicIcon) {
    PutKey(2, {3, 1, 130, kLanguage}, {'A', 'B', 0, HighByte(kIconId), LowByte(kIconId)});
    PutDynamicIcon(4, kLanguage, kIconId);
    Graphics.GraphicsCursor = Point{10, 20};
    EXPECT_EQ(DrawKeyLabel(2), 1);
    // Raised by its yOffset of 1; the dynamic icon wins over the icon set.
    EXPECT_EQ(RowText(19, 8, 19), "..########..");
    EXPECT_EQ(RowText(20, 8, 19), "..#......#..");
    EXPECT_EQ(PixelsOn(), 10);
    EXPECT_EQ(Graphics.GraphicsCursor.x, 10);
    EXPECT_EQ(Graphics.GraphicsCursor.y, 19);
}

TEST_F(KeyLabelTest, IconLabelFromTheCurrentIconSet) {
    PutKey(2, {3, 1, 130, kLanguage}, {'A', 'B', 0, HighByte(kIconId), LowByte(kIconId)});
    PutDynamicIcon(4, 1, kIconId);  // another language: not used
    Graphics.GraphicsCursor = Point{10, 20};
    EXPECT_EQ(DrawKeyLabel(2), 1);
    EXPECT_EQ(RowText(19, 8, 19), "....####....");
    EXPECT_EQ(RowText(20, 8, 19), "...#....#...");
    EXPECT_EQ(PixelsOn(), 6);
    EXPECT_EQ(Graphics.GraphicsCursor.y, 19);
}

TEST_F(KeyLabelTest, MissingIconFallsBackToTheDefaultLabel) {
    // An id that is neither a dynamic icon nor in the icon set.
    PutKey(2, {3, 1, 130, kLanguage}, {'A', 'B', 0, 0x09, 0x99});
    EXPECT_EQ(DrawKeyLabel(2), 2);
    EXPECT_EQ(RowText(8, 0, 6), "###.##.");

    // The icon exists in the set, but the set serves another language.
    ClearScreen();
    Graphics.GraphicsCursor = Point{0, 10};
    Language.iconSetLanguage = 71;
    PutKey(3, {3, 1, 130, kLanguage}, {'A', 'B', 0, HighByte(kIconId), LowByte(kIconId)});
    EXPECT_EQ(DrawKeyLabel(3), 2);
    EXPECT_EQ(RowText(8, 0, 6), "###.##.");
}

TEST_F(KeyLabelTest, DefaultIconLabelNeedsADynamicIconOfLanguageOne) {
    PutKey(7, {130, 1}, {HighByte(kIconId), LowByte(kIconId)});
    // The icon set holds the id, but the default label never consults it.
    EXPECT_EQ(DrawKeyLabel(7), 0);
    EXPECT_EQ(PixelsOn(), 0);

    PutDynamicIcon(9, kLanguage, kIconId);  // wrong language for the default
    EXPECT_EQ(DrawKeyLabel(7), 0);
    EXPECT_EQ(PixelsOn(), 0);

    PutDynamicIcon(2, 1, kIconId);
    Graphics.GraphicsCursor = Point{0, 10};
    EXPECT_EQ(DrawKeyLabel(7), 1);
    EXPECT_EQ(RowText(9, 0, 9), "########..");
    EXPECT_EQ(RowText(10, 0, 9), "#......#..");
    EXPECT_EQ(PixelsOn(), 10);
}

class LogoTest : public ModuleTest {};

TEST_F(LogoTest, DisabledLogoGives25AndDrawsNothing) {
    Labels.LabelStore[kLogoEnable1] = 0xFE;  // the enable command cleared bit 0
    std::memset(Labels.LabelStore + kLogoBitmap1, 0xFF, kLogoSize);
    EXPECT_EQ(DrawLogo(1), kStatusLogoDisabled);
    EXPECT_EQ(PixelsOn(), 0);
}

TEST_F(LogoTest, EnabledLogoIsDrawnAtTheCursor) {
    uint8_t* bitmap = Labels.LabelStore + kLogoBitmap0;
    // Row 0: pixels 0..3 and 43; bits past pixel 43 are not drawn.
    const uint8_t first[6] = {0xF0, 0, 0, 0, 0, 0x1F};
    std::memcpy(bitmap, first, sizeof first);
    bitmap[15 * 6] = 0x80;  // row 15: pixel 0
    Labels.LabelStore[kLogoEnable1] = 0xFF;
    Graphics.GraphicsCursor = Point{5, 30};

    EXPECT_EQ(DrawLogo(0), 0);
    EXPECT_EQ(RowText(30, 4, 52), ".####" + std::string(39, '.') + "#....");
    EXPECT_EQ(RowText(45, 4, 6), ".#.");
    EXPECT_EQ(PixelsOn(), 6);
    EXPECT_EQ(Graphics.GraphicsCursor.x, 5);
    EXPECT_EQ(Graphics.GraphicsCursor.y, 30);
    const ImageDescription& image = Images.ImageDescriptor;
    EXPECT_EQ(image.width, 44);
    EXPECT_EQ(image.height, 16);
    EXPECT_EQ(image.yOffset, 0);

    // Logo 1 is the record below and is disabled here.
    EXPECT_EQ(DrawLogo(1), kStatusLogoDisabled);
}

TEST_F(LogoTest, LogoNumbersBeyondTheStoreFailSafely) {
    // Logo 31 wraps to addresses past the store: its enable byte reads 0, its
    // bitmap cannot be read.
    EXPECT_EQ(DrawLogo(31), kStatusStoreAccess);
    EXPECT_EQ(PixelsOn(), 0);
}

}  // namespace
