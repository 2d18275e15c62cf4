// The font class list and the two language lists beside the vocabulary.
#include <vector>

#include "module_fixture.h"

namespace {

using namespace lcdm;
using zortest::ModuleTest;

class LanguageListTest : public ModuleTest {};

std::vector<uint8_t> Entries(const LanguageList& list) {
    return std::vector<uint8_t>(list.entries, list.entries + kLanguageListSize);
}

constexpr uint8_t F = kFreeLanguage;

TEST_F(LanguageListTest, FontClassListIgnoresDuplicatesAndAFullList) {
    AddFontClass(0);
    AddFontClass(2);
    AddFontClass(2);
    EXPECT_EQ(Vocabulary.fontClasses.count, 2);
    AddFontClass(5);
    AddFontClass(10);
    AddFontClass(7);  // fifth: ignored
    EXPECT_EQ(Vocabulary.fontClasses.count, 4);
    EXPECT_TRUE(HasFontClass(10));
    EXPECT_FALSE(HasFontClass(7));
    EXPECT_EQ(Vocabulary.fontClasses.entries[0], 0);
    EXPECT_EQ(Vocabulary.fontClasses.entries[3], 10);

    ClearFontClasses();
    EXPECT_EQ(Vocabulary.fontClasses.count, 0);
    EXPECT_FALSE(HasFontClass(0));
    for (uint8_t e : Vocabulary.fontClasses.entries) EXPECT_EQ(e, kFreeFontClass);
    // The free marker never reads as a stored class.
    EXPECT_FALSE(HasFontClass(kFreeFontClass));
    AddFontClass(kFreeFontClass);
    EXPECT_EQ(Vocabulary.fontClasses.count, 0);
}

TEST_F(LanguageListTest, AvailableLanguagesIgnoreDuplicatesAndAFullList) {
    for (uint8_t l = 10; l < 18; ++l) AddAvailableLanguage(l);
    AddAvailableLanguage(12);
    AddAvailableLanguage(99);  // ninth: ignored
    EXPECT_EQ(Vocabulary.availableLanguages.count, 8);
    EXPECT_EQ(Entries(Vocabulary.availableLanguages),
              (std::vector<uint8_t>{10, 11, 12, 13, 14, 15, 16, 17}));
    EXPECT_TRUE(HasAvailableLanguage(17));
    EXPECT_FALSE(HasAvailableLanguage(99));

    ClearAvailableLanguages();
    EXPECT_EQ(Vocabulary.availableLanguages.count, 0);
    EXPECT_EQ(Entries(Vocabulary.availableLanguages), std::vector<uint8_t>(8, F));
    EXPECT_FALSE(HasAvailableLanguage(F));
    AddAvailableLanguage(F);
    EXPECT_EQ(Vocabulary.availableLanguages.count, 0);
}

TEST_F(LanguageListTest, UsedLanguagesRefuseANinthLanguageWith11) {
    for (uint8_t l = 1; l <= 8; ++l) EXPECT_EQ(AddUsedLanguage(l), 0);
    EXPECT_EQ(AddUsedLanguage(3), 0);  // present: accepted, nothing changes
    EXPECT_EQ(AddUsedLanguage(9), kStatusIndexRange);
    EXPECT_EQ(Vocabulary.usedLanguages.count, 8);
    EXPECT_EQ(Entries(Vocabulary.usedLanguages), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_FALSE(HasUsedLanguage(9));

    // 255 marks a free entry; it cannot be stored as a language.
    ClearUsedLanguages();
    EXPECT_EQ(AddUsedLanguage(F), kStatusIndexRange);
    EXPECT_EQ(Vocabulary.usedLanguages.count, 0);
    EXPECT_FALSE(HasUsedLanguage(F));
}

TEST_F(LanguageListTest, RemovingAUsedLanguageClosesTheGap) {
    AddUsedLanguage(3);
    AddUsedLanguage(5);
    AddUsedLanguage(7);
    EXPECT_EQ(RemoveUsedLanguage(3), 0);
    EXPECT_EQ(Vocabulary.usedLanguages.count, 2);
    EXPECT_EQ(Entries(Vocabulary.usedLanguages), (std::vector<uint8_t>{5, 7, F, F, F, F, F, F}));
    EXPECT_FALSE(HasUsedLanguage(3));

    // Absent language: nothing changes.
    EXPECT_EQ(RemoveUsedLanguage(42), 0);
    EXPECT_EQ(Entries(Vocabulary.usedLanguages), (std::vector<uint8_t>{5, 7, F, F, F, F, F, F}));

    // The last entry, then the only one.
    EXPECT_EQ(RemoveUsedLanguage(7), 0);
    EXPECT_EQ(Entries(Vocabulary.usedLanguages), (std::vector<uint8_t>{5, F, F, F, F, F, F, F}));
    EXPECT_EQ(RemoveUsedLanguage(5), 0);
    EXPECT_EQ(Vocabulary.usedLanguages.count, 0);
    EXPECT_EQ(Entries(Vocabulary.usedLanguages), std::vector<uint8_t>(8, F));
}

TEST_F(LanguageListTest, RemovingFromAFullListKeepsItPackedAndReusable) {
    for (uint8_t l = 1; l <= 8; ++l) AddUsedLanguage(l);
    EXPECT_EQ(RemoveUsedLanguage(4), 0);
    EXPECT_EQ(Vocabulary.usedLanguages.count, 7);
    EXPECT_EQ(Entries(Vocabulary.usedLanguages), (std::vector<uint8_t>{1, 2, 3, 5, 6, 7, 8, F}));
    EXPECT_EQ(RemoveUsedLanguage(8), 0);
    EXPECT_EQ(Entries(Vocabulary.usedLanguages), (std::vector<uint8_t>{1, 2, 3, 5, 6, 7, F, F}));
    // Room again: the new language goes behind the others.
    EXPECT_EQ(AddUsedLanguage(40), 0);
    EXPECT_EQ(Entries(Vocabulary.usedLanguages), (std::vector<uint8_t>{1, 2, 3, 5, 6, 7, 40, F}));
    EXPECT_TRUE(HasUsedLanguage(40));
}

}  // namespace
