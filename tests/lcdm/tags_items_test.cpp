// Vocabulary item tags and language tags.
#include "engine_fixture.h"

namespace zortest {
namespace {

using lcdm::Engine;
using lcdm::Graphics;
using lcdm::Language;

// A one-glyph proportional font for `code` serving `fontClass`: a 2 x 1 block.
Bytes OneGlyphFont(uint8_t code, uint8_t fontClass) {
    return {0x80, code, code, 6, 15, 10, 0, 0, fontClass, 0x00, 2, 0xC0};
}

class ItemTags : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        VocabularyBuilder voc;
        procedure3_ = voc.Add(3, lcdm::kItemProcedure, {RETURN});
        script3_ = voc.Add(3, lcdm::kItemScript, {END, 0, 0});
        // 8 x 2 raw bitmap: a bar and a dot.
        voc.Add(4, lcdm::kItemBitmap, {0, 0, 2, 0, 8, 0, 2, 0, 0xFF, 0x80});
        voc.Add(5, lcdm::kItemBitmap, {3, 0, 0, 0, 8, 0, 2, 0});  // compression 3
        string6_ = voc.Add(6, lcdm::kItemString, {'A', 'A', 0x01, 'A', 0});
        font0_ = voc.Add(1, lcdm::kItemTextFont, OneGlyphFont('A', 0));
        font2_ = voc.Add(1, lcdm::kItemTextFont, OneGlyphFont(0xC4, 2));
        voc.Add(2, lcdm::kItemTextFont, OneGlyphFont('B', 0));
        // Icon set 0 for language 70: an 8 x 1 icon with code 0x0102, yOffset 0,
        // and one 65 pixels wide (code 0x0104) that no screen can show.
        iconSet_ = voc.Add(0, lcdm::kItemIconSet, {0,    70, 0, 9,    0x01, 0x02, 8, 1, 0, 0,
                                                   0xFF, 0,  9, 0x01, 0x04, 65,   1, 0, 0, 0xFF});
        ASSERT_EQ(10, voc.Init());
    }
    uint16_t procedure3_ = 0, script3_ = 0, string6_ = 0, font0_ = 0, font2_ = 0, iconSet_ = 0;
};

TEST_F(ItemTags, FindItemGrowsOrShrinksTheStackByOne) {
    EXPECT_EQ(0, TagWith(FIND_ITEM, {3, lcdm::kItemScript}));
    const uint16_t body = script3_ + 4;
    EXPECT_EQ((Bytes{uint8_t(body >> 8), uint8_t(body & 0xFF), 255}), Stack());
    EXPECT_EQ(0, TagWith(FIND_ITEM, {9, lcdm::kItemScript}));
    EXPECT_EQ((Bytes{0}), Stack());
    FillStack(31);
    EXPECT_EQ(lcdm::kStatusDataOverflow, Tag(FIND_ITEM));
}

TEST_F(ItemTags, RunItemEntersScriptsWithoutAndProceduresWithAReturnAddress) {
    Engine.programCounter = 1000;
    EXPECT_EQ(0, TagWith(RUN_ITEM, {3, lcdm::kItemScript}));
    EXPECT_EQ(script3_ + 4, Engine.programCounter);
    EXPECT_EQ(0, Engine.returnDepth);
    EXPECT_EQ(0, Engine.dataDepth);
    Engine.programCounter = 1000;
    EXPECT_EQ(0, TagWith(RUN_ITEM, {3, lcdm::kItemProcedure}));
    EXPECT_EQ(procedure3_ + 4, Engine.programCounter);
    EXPECT_EQ((Bytes{0x03, 0xE8}), ReturnStack());
}

TEST_F(ItemTags, RunItemRefusalsLeaveTheOperands) {
    EXPECT_EQ(lcdm::kStatusWrongType, TagWith(RUN_ITEM, {3, lcdm::kItemBitmap}));
    EXPECT_EQ((Bytes{3, 2}), Stack());
    EXPECT_EQ(lcdm::kStatusNotFound, TagWith(RUN_ITEM, {8, lcdm::kItemProcedure}));
    EXPECT_EQ((Bytes{8, 1}), Stack());
    Engine.returnDepth = 30;
    EXPECT_EQ(lcdm::kStatusReturnOverflow, TagWith(RUN_ITEM, {3, lcdm::kItemProcedure}));
    EXPECT_EQ((Bytes{3, 1}), Stack());
    EXPECT_EQ(30, Engine.returnDepth);
}

TEST_F(ItemTags, DrawBitmapAtTheCursor) {
    Graphics.GraphicsCursor = {4, 9};
    EXPECT_EQ(0, TagWith(DRAW_BITMAP, {4, lcdm::kItemBitmap}));
    EXPECT_EQ("########", RowText(9, 4, 11));
    EXPECT_EQ("#.......", RowText(10, 4, 11));
    EXPECT_EQ(0, Engine.dataDepth);
    EXPECT_EQ(lcdm::kStatusWrongType, TagWith(DRAW_BITMAP, {4, lcdm::kItemString}));
    EXPECT_EQ(lcdm::kStatusNotFound, TagWith(DRAW_BITMAP, {9, lcdm::kItemBitmap}));
    EXPECT_EQ((Bytes{9, 2}), Stack());
    EXPECT_EQ(lcdm::kStatusBitmapFailed, TagWith(DRAW_BITMAP, {5, lcdm::kItemBitmap}));
    EXPECT_EQ(0, Engine.dataDepth);
}

TEST_F(ItemTags, SelectFontNeedsTheFontForClass0AndTheLanguagesClass) {
    EXPECT_EQ(0, TagWith(SET_LANGUAGE, {64}));  // class 2
    EXPECT_EQ(0, TagWith(SELECT_FONT, {1, lcdm::kItemTextFont}));
    EXPECT_EQ(font0_ + 4, lcdm::Fonts.primaryFont);
    EXPECT_EQ(font2_ + 4, lcdm::Fonts.secondaryFont);
    EXPECT_EQ(1, Language.fontNumber);
    // Font 2 exists for class 0 only: the primary font stays as it was.
    EXPECT_EQ(0, TagWith(SELECT_FONT, {2, lcdm::kItemTextFont}));
    EXPECT_EQ(font0_ + 4, lcdm::Fonts.primaryFont);
    EXPECT_EQ(2, Language.fontNumber);
    EXPECT_EQ(lcdm::kStatusWrongType, TagWith(SELECT_FONT, {1, lcdm::kItemBitmap}));
}

TEST_F(ItemTags, SelectFontInClass0MakesItPrimaryOnly) {
    EXPECT_EQ(0, TagWith(SELECT_FONT, {2, lcdm::kItemTextFont}));
    EXPECT_EQ(0, Language.currentFontClass);
    EXPECT_NE(0, lcdm::Fonts.primaryFont);
    EXPECT_EQ(0, lcdm::Fonts.secondaryFont);
}

TEST_F(ItemTags, PrintStringStopsAtACharacterItCannotDraw) {
    TagWith(SELECT_FONT, {1, lcdm::kItemTextFont});
    Graphics.GraphicsCursor = {0, 20};
    EXPECT_EQ(0, TagWith(PRINT_STRING, {6, lcdm::kItemString}));
    EXPECT_EQ(4, Graphics.GraphicsCursor.x);  // two glyphs of width 2, then 0x01 stops it
    EXPECT_EQ("####....", RowText(10, 0, 7));
    EXPECT_EQ(lcdm::kStatusNotFound, TagWith(PRINT_STRING, {7, lcdm::kItemString}));
    EXPECT_EQ((Bytes{7, 4}), Stack());
}

TEST_F(ItemTags, KeyLabelPlaceholderAndKeyRange) {
    EXPECT_EQ(lcdm::kStatusIndexRange, TagWith(DRAW_KEY_LABEL, {9, lcdm::kItemKeyLabel}));
    EXPECT_EQ((Bytes{9, 6}), Stack());
    EXPECT_EQ(lcdm::kStatusIndexRange, TagWith(DRAW_KEY_LABEL, {0, lcdm::kItemKeyLabel}));
    EXPECT_EQ(lcdm::kStatusWrongType, TagWith(DRAW_KEY_LABEL, {3, lcdm::kItemIconSet}));
    // The store holds nothing for key 3: "Button 3" stands in, from the cursor.
    Graphics.GraphicsCursor = {1, 30};
    EXPECT_EQ(0, TagWith(DRAW_KEY_LABEL, {3, lcdm::kItemKeyLabel}));
    const Drawn byTag = DrawnByTag();
    ExpectSame(DrawnDirectly("Button 3", {1, 30}), byTag);
}

TEST_F(ItemTags, IconSetsFollowTheLanguage) {
    EXPECT_EQ(iconSet_ + 4, lcdm::Vocabulary.currentIconSet);  // chosen by initialisation
    EXPECT_EQ(0, TagWith(SELECT_ICON_SET, {0, lcdm::kItemIconSet}));  // language 1 has none
    EXPECT_EQ(0, lcdm::Vocabulary.currentIconSet);
    EXPECT_EQ(0, Language.iconSetLanguage);
    EXPECT_EQ(0, TagWith(DRAW_ICON, {0x01, 0x02}));
    EXPECT_EQ((Bytes{0}), Stack());

    EXPECT_EQ(0, TagWith(SET_LANGUAGE, {70}));  // reselects icon set 0, now found
    EXPECT_EQ(iconSet_ + 4, lcdm::Vocabulary.currentIconSet);
    EXPECT_EQ(70, Language.iconSetLanguage);
    Graphics.GraphicsCursor = {0, 5};
    EXPECT_EQ(0, TagWith(DRAW_ICON, {0x01, 0x02}));
    EXPECT_EQ((Bytes{255}), Stack());
    EXPECT_EQ("########", RowText(5, 0, 7));
    EXPECT_EQ(0, TagWith(DRAW_ICON, {0x01, 0x03}));
    EXPECT_EQ((Bytes{0}), Stack());
    EXPECT_EQ(0, TagWith(DRAW_ICON, {0x01, 0x04}));  // found, but refused by the drawing
    EXPECT_EQ((Bytes{0}), Stack());
    EXPECT_EQ(8, PixelsOn());
}

TEST_F(ItemTags, LanguageSetsTheFontClass) {
    for (const auto& [language, fontClass] :
         {std::pair{200, 10}, {31, 0}, {32, 1}, {127, 2}, {128, 3}, {191, 8}, {199, 9}}) {
        EXPECT_EQ(0, TagWith(SET_LANGUAGE, {static_cast<uint8_t>(language)}));
        EXPECT_EQ(0, TagWith(GET_LANGUAGE, Bytes{}));
        EXPECT_EQ(0, Tag(GET_FONT_CLASS));
        EXPECT_EQ((Bytes{static_cast<uint8_t>(language), static_cast<uint8_t>(fontClass)}),
                  Stack());
    }
    FillStack(31);
    EXPECT_EQ(lcdm::kStatusDataOverflow, Tag(SET_LANGUAGE));  // cannot push its reselection
}

TEST_F(ItemTags, UsedLanguageAndVocabularyId) {
    lcdm::AddUsedLanguage(3);
    lcdm::AddUsedLanguage(5);
    EXPECT_EQ(0, TagWith(USED_LANGUAGE, {1}));
    EXPECT_EQ((Bytes{5}), Stack());
    EXPECT_EQ(0, TagWith(USED_LANGUAGE, {2}));
    EXPECT_EQ((Bytes{0}), Stack());
    EXPECT_EQ(0, TagWith(USED_LANGUAGE, {200}));
    EXPECT_EQ((Bytes{0}), Stack());
    EXPECT_EQ(0, TagWith(PUSH_VOCABULARY_ID, Bytes{}));
    EXPECT_EQ((Bytes{33}), Stack());
}

}  // namespace
}  // namespace zortest
