// The vocabulary chain: walking, lookups, initialisation and its side effects,
// and walks over chains that no well-formed vocabulary would contain.
#include <cstring>

#include <random>

#include "Lcdm_lookup_caches.h"
#include "module_fixture.h"

namespace {

using namespace lcdm;
using zortest::ModuleTest;
using zortest::SendHost;
using zortest::VocabularyBuilder;

class VocabularyTest : public ModuleTest {};

// Raw bytes at an address, for chains the builder cannot make.
void Poke(uint16_t address, std::initializer_list<uint8_t> bytes) {
    for (uint8_t b : bytes) Memory.ModuleMemory[address++] = b;
    MemoryWritten();
}

TEST_F(VocabularyTest, NextItemStepsByLengthAndEndsAtMarkersAndMemoryEnd) {
    Poke(100, {0x00, 0x01});
    EXPECT_EQ(NextItem(100), 101);
    Poke(200, {0x00, 0x03});
    EXPECT_EQ(NextItem(200), 203);
    Poke(300, {0x00, 0x00});
    EXPECT_EQ(NextItem(300), 0xFFFF);
    Poke(400, {0xFF, 0xFF});
    EXPECT_EQ(NextItem(400), 0xFFFF);
    // address + length reaching 37344 ends the chain; one less does not.
    Poke(37000, {0x01, 0x58});  // 344
    EXPECT_EQ(NextItem(37000), 0xFFFF);
    Poke(37000, {0x01, 0x57});  // 343
    EXPECT_EQ(NextItem(37000), 37343);
    // A length that would wrap round past 0xFFFF to an earlier address.
    Poke(20, {0xFF, 0xF0});
    EXPECT_EQ(NextItem(20), 0xFFFF);
    EXPECT_EQ(NextItem(0xFFFF), 0xFFFF);

    Poke(500, {0x00, 0x09, 42, 5});
    EXPECT_EQ(ItemNumber(500), 42);
    EXPECT_EQ(ItemType(500), 5);
}

TEST_F(VocabularyTest, LookupsFindFirstMatchInChainOrderAndRecordIt) {
    VocabularyBuilder voc;
    const uint16_t proc = voc.Add(1, kItemProcedure, {0x20});
    const uint16_t bitmapA = voc.Add(7, kItemBitmap, {0, 0, 1, 0, 1, 0, 1, 0, 0x80});
    const uint16_t script = voc.Add(1, kItemScript, {0x20});
    const uint16_t bitmapB = voc.Add(7, kItemBitmap, {0, 0, 1, 0, 1, 0, 1, 0, 0x00});
    ASSERT_EQ(voc.Init(), 5);

    // Same number, different types are told apart.
    EXPECT_EQ(FindVocabularyItem(1, kItemProcedure), proc);
    EXPECT_EQ(FindVocabularyItem(1, kItemScript), script);
    EXPECT_EQ(Vocabulary.lastFoundItem, script);
    // Duplicates: the first wins, and a search from it finds the next.
    EXPECT_EQ(FindVocabularyItem(7, kItemBitmap), bitmapA);
    EXPECT_EQ(FindItem(7, kItemBitmap, bitmapA), bitmapB);
    EXPECT_EQ(Vocabulary.lastFoundItem, bitmapB);
    EXPECT_EQ(FindItem(7, kItemBitmap, bitmapB), 0);
    // A miss leaves the last found item alone.
    EXPECT_EQ(FindVocabularyItem(99, kItemBitmap), 0);
    EXPECT_EQ(Vocabulary.lastFoundItem, bitmapB);
}

TEST_F(VocabularyTest, HeaderItemIsNeverReturned) {
    // Vocabulary at 100; a stray 4-byte item at 96 leads straight into it.
    VocabularyBuilder voc(100, 33);
    const uint16_t second = voc.Add(33, kItemHeader, {});
    ASSERT_EQ(voc.Init(), 2);
    Poke(96, {0x00, 0x04, 33, 0});

    EXPECT_EQ(FindVocabularyItem(33, kItemHeader), second);
    // A search from before the start walks past the header to the later item.
    EXPECT_EQ(FindItem(33, kItemHeader, 96), second);
    EXPECT_EQ(FindItem(33, kItemHeader, second), 0);
}

TEST_F(VocabularyTest, NothingIsFoundWithoutAVocabulary) {
    VocabularyBuilder voc;
    voc.Add(1, kItemScript, {0x20});
    // Chain written but not initialised.
    WriteMemoryWord(0xFFFF, voc.next());
    EXPECT_EQ(FindVocabularyItem(1, kItemScript), 0);
    EXPECT_EQ(FindItem(1, kItemScript, 0), 0);
    EXPECT_EQ(NthItem(0), 0);
    EXPECT_EQ(NthItem(1), 0);

    // A header whose id byte is 0 walks, but leaves "no vocabulary".
    VocabularyBuilder zeroId(0, 0);
    zeroId.Add(1, kItemScript, {0x20});
    EXPECT_EQ(zeroId.Init(), 2);
    EXPECT_EQ(Vocabulary.vocabularyId, 0);
    EXPECT_EQ(FindVocabularyItem(1, kItemScript), 0);
}

TEST_F(VocabularyTest, NthItemCountsTheHeaderAsZero) {
    VocabularyBuilder voc(40);
    const uint16_t a = voc.Add(1, kItemProcedure, {0x20, 0x20});
    const uint16_t b = voc.Add(2, kItemScript, {0x20});
    ASSERT_EQ(voc.Init(), 3);
    EXPECT_EQ(NthItem(0), 40);
    EXPECT_EQ(NthItem(1), a);
    EXPECT_EQ(NthItem(2), b);
    EXPECT_EQ(NthItem(3), voc.next());  // the end marker itself
    EXPECT_EQ(NthItem(4), 0);
    EXPECT_EQ(NthItem(0xFFFF), 0);
    // A length word of 0 ends the chain as 0xFFFF does, although the bytes
    // behind it read as a string item.
    WriteMemoryWord(0, voc.next());
    WriteMemoryWord(kItemString, voc.next() + 2);
    EXPECT_EQ(InitVocabulary(40), 3);
    EXPECT_EQ(NthItem(4), 0);
}

TEST_F(VocabularyTest, FontAndIconSetLookupsRepeatUntilTheExtraByteMatches) {
    // Font bodies: 9 header bytes, byte 8 the class (item byte 12).
    VocabularyBuilder voc;
    const uint16_t font0 = voc.Add(0, kItemTextFont, {128, 65, 65, 3, 2, 2, 1, 0, 0});
    const uint16_t other = voc.Add(1, kItemTextFont, {128, 65, 65, 3, 2, 2, 1, 0, 2});
    const uint16_t font2 = voc.Add(0, kItemTextFont, {128, 65, 65, 3, 2, 2, 1, 0, 2});
    const uint16_t setCA = voc.Add(0, kItemIconSet, {0, 0xCA});
    const uint16_t set5 = voc.Add(0, kItemIconSet, {0, 5});
    const uint16_t set5b = voc.Add(1, kItemIconSet, {0, 5});
    ASSERT_EQ(voc.Init(), 7);

    EXPECT_EQ(FindTextFont(0, 0), font0 + 4);
    EXPECT_EQ(FindTextFont(0, 2), font2 + 4);
    EXPECT_EQ(FindTextFont(1, 2), other + 4);
    EXPECT_EQ(FindTextFont(1, 0), 0);
    EXPECT_EQ(FindTextFont(0, 3), 0);
    EXPECT_EQ(FindIconSet(0, 0xCA), setCA + 4);
    EXPECT_EQ(FindIconSet(0, 5), set5 + 4);
    EXPECT_EQ(FindIconSet(1, 5), set5b + 4);
    EXPECT_EQ(FindIconSet(1, 0xCA), 0);
}

TEST_F(VocabularyTest, InitialisationFillsListsIconSetAndSettingsRecord) {
    // Leftovers of an earlier state that the initialisation must clear.
    AddUsedLanguage(9);
    AddAvailableLanguage(77);
    SelectFont(300, 0);
    Labels.LabelStore[16] = 0xAA;
    Labels.LabelStore[17] = 0xBB;

    VocabularyBuilder voc(0x0123, 12);
    voc.Add(0, kItemTextFont, {128, 65, 65, 3, 2, 2, 1, 0, 2});
    voc.Add(1, kItemTextFont, {128, 65, 65, 3, 2, 2, 1, 0, 2});
    const uint16_t firstSet = voc.Add(0, kItemIconSet, {0, 0xCA});
    voc.Add(1, kItemIconSet, {0, 7});
    const uint16_t last = voc.Add(3, kItemProcedure, {0x20});
    ASSERT_EQ(voc.Init(), 6);

    EXPECT_EQ(Vocabulary.vocabularyId, 12);
    EXPECT_EQ(Vocabulary.vocabularyStart, 0x0123);
    EXPECT_EQ(Vocabulary.lastItem, last);
    EXPECT_EQ(Vocabulary.currentIconSet, firstSet + 4);
    ASSERT_EQ(Vocabulary.fontClasses.count, 2);
    EXPECT_EQ(Vocabulary.fontClasses.entries[0], 0);
    EXPECT_EQ(Vocabulary.fontClasses.entries[1], 2);
    EXPECT_EQ(Vocabulary.fontClasses.entries[2], kFreeFontClass);
    ASSERT_EQ(Vocabulary.availableLanguages.count, 2);
    EXPECT_EQ(Vocabulary.availableLanguages.entries[0], 0xCA);
    EXPECT_EQ(Vocabulary.availableLanguages.entries[1], 7);
    EXPECT_EQ(Vocabulary.usedLanguages.count, 0);
    EXPECT_EQ(Vocabulary.usedLanguages.entries[0], kFreeLanguage);
    EXPECT_EQ(Labels.LabelStore[16], 0x01);
    EXPECT_EQ(Labels.LabelStore[17], 0x23);
    // Fonts back to the built-in one with no secondary font.
    EXPECT_EQ(Fonts.primaryFont, 0);
    EXPECT_EQ(Fonts.secondaryFont, 0);
    EXPECT_EQ(Fonts.selectedFontClass, 1);
}

TEST_F(VocabularyTest, InitialisationAt0xFFFFStartsAtZero) {
    VocabularyBuilder voc(0, 5);
    voc.Add(1, kItemScript, {0x20});
    WriteMemoryWord(0xFFFF, voc.next());
    EXPECT_EQ(InitVocabulary(0xFFFF), 2);
    EXPECT_EQ(Vocabulary.vocabularyStart, 0);
    EXPECT_EQ(Vocabulary.vocabularyId, 5);
}

TEST_F(VocabularyTest, InvalidVocabulariesLeaveNothingBehind) {
    auto expectNoVocabulary = [] {
        EXPECT_EQ(Vocabulary.vocabularyId, 0);
        EXPECT_EQ(Vocabulary.vocabularyStart, 0);
        EXPECT_EQ(Vocabulary.lastItem, 0);
        EXPECT_EQ(Vocabulary.currentIconSet, 0);
        EXPECT_EQ(Vocabulary.fontClasses.count, 0);
        EXPECT_EQ(Vocabulary.availableLanguages.count, 0);
        EXPECT_EQ(Vocabulary.availableLanguages.entries[0], kFreeLanguage);
        EXPECT_EQ(FindVocabularyItem(1, kItemScript), 0);
    };

    // Type 8 after an icon set: the icon set's effects are undone too.
    VocabularyBuilder bad;
    bad.Add(0, kItemIconSet, {0, 0xCA});
    bad.Add(1, kItemScript, {0x20});
    bad.Add(2, 8, {});
    EXPECT_EQ(bad.Init(), 0);
    expectNoVocabulary();

    // A valid vocabulary, then an initialisation where the first word is not 4.
    VocabularyBuilder good(1000);
    good.Add(0, kItemIconSet, {0, 0xCA});
    good.Add(1, kItemScript, {0x20});
    ASSERT_EQ(good.Init(), 3);
    ASSERT_NE(FindVocabularyItem(1, kItemScript), 0);
    Poke(2000, {0x00, 0x05, 33, 0});
    EXPECT_EQ(InitVocabulary(2000), 0);
    expectNoVocabulary();

    // A start beyond module memory reads a 0 word.
    EXPECT_EQ(InitVocabulary(40000), 0);
    expectNoVocabulary();
}

TEST_F(VocabularyTest, ResetVocabularyClearsStateAndSelectsBuiltInFont) {
    VocabularyBuilder voc;
    voc.Add(0, kItemIconSet, {0, 0xCA});
    ASSERT_EQ(voc.Init(), 2);
    AddUsedLanguage(3);
    SelectFont(200, 4);

    EXPECT_EQ(ResetVocabulary(), 0);
    EXPECT_EQ(Vocabulary.vocabularyId, 0);
    EXPECT_EQ(Vocabulary.currentIconSet, 0);
    EXPECT_EQ(Vocabulary.usedLanguages.count, 0);
    EXPECT_EQ(Vocabulary.usedLanguages.entries[0], kFreeLanguage);
    EXPECT_EQ(Vocabulary.availableLanguages.count, 0);
    EXPECT_EQ(Vocabulary.fontClasses.count, 0);
    EXPECT_EQ(Vocabulary.fontClasses.entries[3], kFreeFontClass);
    EXPECT_EQ(Fonts.primaryFont, 0);
    EXPECT_EQ(Fonts.secondaryFont, 0);
    EXPECT_EQ(Fonts.selectedFontClass, 1);
}

TEST_F(VocabularyTest, RescanIconSetsAddsLanguagesWithoutEmptyingTheList) {
    VocabularyBuilder voc(64);
    voc.Add(0, kItemScript, {0x20});
    const uint16_t first = voc.Add(0, kItemIconSet, {0, 0xCA});
    voc.Add(1, kItemIconSet, {0, 9});
    ASSERT_EQ(voc.Init(), 4);

    ClearAvailableLanguages();
    AddAvailableLanguage(50);
    Vocabulary.currentIconSet = 0;
    EXPECT_EQ(RescanIconSets(), 0);
    ASSERT_EQ(Vocabulary.availableLanguages.count, 3);
    EXPECT_EQ(Vocabulary.availableLanguages.entries[0], 50);
    EXPECT_EQ(Vocabulary.availableLanguages.entries[1], 0xCA);
    EXPECT_EQ(Vocabulary.availableLanguages.entries[2], 9);
    EXPECT_EQ(Vocabulary.currentIconSet, first + 4);

    // A selected icon set is kept.
    Vocabulary.currentIconSet = 1234;
    EXPECT_EQ(RescanIconSets(), 0);
    EXPECT_EQ(Vocabulary.currentIconSet, 1234);
}

TEST_F(VocabularyTest, RescanIconSetsReportsMissingHeaderAndBadType) {
    VocabularyBuilder voc(64);
    voc.Add(0, kItemIconSet, {0, 0xCA});
    const uint16_t script = voc.Add(1, kItemScript, {0x20});
    ASSERT_EQ(voc.Init(), 3);
    ClearAvailableLanguages();

    // The chain changed after initialisation: a type 8 stops the walk.
    Memory.ModuleMemory[script + 3] = 8;
    MemoryWritten();
    const uint8_t status = RescanIconSets();
    EXPECT_NE(status, 0);
    EXPECT_EQ(status, kStatusWrongType);
    EXPECT_TRUE(HasAvailableLanguage(0xCA));  // met before the bad item

    Poke(64, {0x00, 0x06});
    EXPECT_EQ(RescanIconSets(), kStatusAddressRange);
}

TEST_F(VocabularyTest, WalksOverHostileChainsTerminate) {
    // Items of length 2 from address 4 to the end of memory: 18670 of them.
    std::memset(Memory.ModuleMemory, 0, sizeof Memory.ModuleMemory);
    Poke(0, {0x00, 0x04, 33, 0});
    for (uint32_t p = 4; p < kModuleMemorySize; p += 2)
        Poke(static_cast<uint16_t>(p), {0x00, 0x02});
    EXPECT_EQ(InitVocabulary(0), 18671);
    EXPECT_EQ(Vocabulary.lastItem, 37342);
    EXPECT_EQ(FindVocabularyItem(9, kItemScript), 0);
    EXPECT_EQ(NthItem(18670), 37342);
    EXPECT_EQ(NthItem(18671), 0);

    // An item running past the end of memory is the chain's last item.
    std::memset(Memory.ModuleMemory, 0, sizeof Memory.ModuleMemory);
    Poke(37300, {0x00, 0x04, 7, 0});
    Poke(37304, {0x00, 0x64, 3, kItemScript});
    EXPECT_EQ(InitVocabulary(37300), 2);
    EXPECT_EQ(FindVocabularyItem(3, kItemScript), 37304);
    EXPECT_EQ(FindVocabularyItem(4, kItemScript), 0);
    EXPECT_EQ(NthItem(2), 0);

    // A length that would wrap round to the header, and one of 0xFFFF.
    std::memset(Memory.ModuleMemory, 0, sizeof Memory.ModuleMemory);
    Poke(0, {0x00, 0x04, 7, 0});
    Poke(4, {0xFF, 0xFC, 1, kItemScript});
    EXPECT_EQ(InitVocabulary(0), 2);
    EXPECT_EQ(FindVocabularyItem(2, kItemScript), 0);
    Poke(4, {0xFF, 0xFF, 1, kItemScript});
    EXPECT_EQ(InitVocabulary(0), 1);
    EXPECT_EQ(FindVocabularyItem(1, kItemScript), 0);
    EXPECT_EQ(FindItem(1, kItemScript, 0xFFFF), 0);
}

// ----------------------------------------------------------- the index ---
// FindItem answers from an index of the chain. Whatever the chain holds, and
// however memory or the start change between lookups, the item it answers
// and the one it records are the walk's.

class IndexTest : public VocabularyTest {
protected:
    // Every lookup of (number, type) from the start, then on from each match
    // as the font and icon set lookups go, and from `others`.
    void ExpectWalkAnswers(const std::vector<uint16_t>& others) {
        // The item found; 0, ending a series, when the two differ.
        const auto compare = [&](uint8_t number, uint8_t type, uint16_t from) -> uint16_t {
            Vocabulary.lastFoundItem = 1;
            const uint16_t indexed = FindItem(number, type, from);
            const uint16_t recorded = Vocabulary.lastFoundItem;
            Vocabulary.lastFoundItem = 1;
            const uint16_t walked = WalkForItem(number, type, from);
            if (walked == indexed && Vocabulary.lastFoundItem == recorded) return indexed;
            ADD_FAILURE() << "item " << int{number} << " of type " << int{type} << " from " << from
                          << ": the index found " << indexed << ", the walk " << walked;
            return 0;
        };
        for (uint8_t type : {0, 1, 2, 3, 4, 7, 200})
            for (uint8_t number = 0; number < 7; ++number) {
                for (uint16_t item = compare(number, type, Vocabulary.vocabularyStart); item != 0;)
                    item = compare(number, type, item);
                for (uint16_t from : others) compare(number, type, from);
            }
    }
};

TEST_F(IndexTest, EveryLookupFindsWhatTheWalkFinds) {
    // More items than the index holds, their numbers and types repeating.
    std::mt19937 random(7);
    VocabularyBuilder voc(4000, 9);
    std::vector<uint16_t> items;
    for (int i = 0; i < 1500; ++i)
        items.push_back(voc.Add(uint8_t(random() % 6), uint8_t(1 + random() % 4),
                                std::vector<uint8_t>(random() % 3, 0x21)));
    ASSERT_EQ(voc.Init(), 1501);
    const std::vector<uint16_t> others = {0,           3999,        uint16_t(items[5] + 1),
                                          items[1200], items[1499], 37343};
    ExpectWalkAnswers(others);

    // Memory changes under the index: a type rewritten, a length that lies
    // into the middle of the next item, one that ends the chain early.
    WriteMemoryByte(2, static_cast<uint16_t>(items[3] + 3));
    ExpectWalkAnswers(others);
    WriteMemoryWord(static_cast<uint16_t>(ReadMemoryWord(items[100]) + 1), items[100]);
    ExpectWalkAnswers(others);
    WriteMemoryWord(0, items[1100]);
    ExpectWalkAnswers(others);
    // Memory written directly, as a test or a benchmark may.
    Memory.ModuleMemory[items[7] + 2] = 5;
    MemoryWritten();
    ExpectWalkAnswers(others);

    // Another vocabulary over the same items, its header an item further on.
    size_t header = 150;
    while (ReadMemoryWord(items[header]) != kItemHeaderSize) ++header;
    WriteMemoryByte(kItemHeader, static_cast<uint16_t>(items[header] + 3));
    ASSERT_NE(InitVocabulary(items[header]), 0);
    ExpectWalkAnswers(others);
}

// A host may load another vocabulary while a script waits in DELAY: what the
// script looks up after the wait comes from the new one.
int gWaits = 0;
uint8_t PumpThatLoadsVocabularyB() {
    if (gWaits++ == 0) SendHost({0x82, 0x75, 0x30, 0x67, kConfirm});  // 30000
    Engine.DelayCounter = 0;
    return 0;
}

TEST_F(IndexTest, AScriptThatWaitedFindsTheVocabularyLoadedMeanwhile) {
    // LIT 0, DELAY, then procedure 2 of whichever vocabulary is current.
    const std::vector<uint8_t> script = {0x20, 78, 16, 2, 16, 1, 113, 0, 0, 0};
    const auto procedure = [](uint8_t value) {  // variable 5 := value, RETURN
        return std::vector<uint8_t>{16, value, 16, 5, 94, 73};
    };
    VocabularyBuilder a(20000);
    a.Add(1, kItemScript, script);
    a.Add(2, kItemProcedure, procedure(1));
    VocabularyBuilder b(30000);
    b.Add(2, kItemProcedure, procedure(2));
    b.Init();
    a.Init();
    for (uint8_t expected : {2, 1}) {
        gWaits = expected == 2 ? 0 : 1;  // the second run waits without loading B
        if (expected == 1) a.Init();
        SetRenderLcdAndPump(PumpThatLoadsVocabularyB);
        RunScript(1, 0);
        SetRenderLcdAndPump(nullptr);
        EXPECT_EQ(kStatusEnded, Engine.StatusRegister);
        EXPECT_EQ(expected, Engine.TagVariables[5]);
    }
}

}  // namespace
