// The label store's defaults and language bookkeeping: initialisation,
// clearing one key, and rebuilding the used- and available-language lists.
#include <cstring>
#include <string>
#include <vector>

#include "module_fixture.h"

namespace {

using namespace lcdm;
using zortest::ListEntries;
using zortest::ModuleTest;
using zortest::SendHost;
using zortest::StoreBytes;
using zortest::VocabularyBuilder;

constexpr uint8_t kIconSetLanguage = 0xCA;

class LabelDefaultsTest : public ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        // As the window leaves it when it is created.
        std::memset(Labels.LabelStore, 0xFF, sizeof Labels.LabelStore);
        VocabularyBuilder voc;
        voc.Add(0, kItemIconSet, {0, kIconSetLanguage});
        ASSERT_EQ(voc.Init(), 2);
    }

    // Key k's directory: pairs of (length byte, language).
    static void PutDirectory(uint8_t key, std::initializer_list<uint8_t> pairs) {
        std::memcpy(Labels.LabelStore + RecordAddress(key), pairs.begin(), pairs.size());
    }

    static void PutSlotLanguage(uint8_t slot, uint8_t language) {
        Labels.LabelStore[kIconDirectory + slot * kIconDirectoryEntrySize + 7] = language;
    }
};

TEST_F(LabelDefaultsTest, InitialisationWritesButtonLabelsAndFreesEverySlot) {
    Labels.LabelStore[RecordAddress(7) + 32] = 0x11;  // beyond the first 32 bytes
    Labels.LabelStore[17] = 0x22;                     // settings record
    Labels.LabelStore[kLogoBitmap0] = 0x33;
    Labels.LabelStore[kIconBitmaps + 5] = 0x44;
    AddUsedLanguage(5);
    AddAvailableLanguage(77);

    InitLabelStore();

    std::vector<uint8_t> key7 = {9, 1};
    key7.insert(key7.end(), 14, 0xFF);
    for (char c : std::string("Button 7")) key7.push_back(static_cast<uint8_t>(c));
    key7.push_back(0);
    key7.insert(key7.end(), 7, 0xFF);
    EXPECT_EQ(StoreBytes(RecordAddress(7), 32), key7);

    // Two digits fill the 9-byte entry: no 0 byte.
    const std::vector<uint8_t> key12 = {'B', 'u', 't', 't', 'o', 'n', ' ', '1', '2', 0xFF};
    EXPECT_EQ(StoreBytes(RecordAddress(12) + 16, 10), key12);
    EXPECT_EQ(StoreBytes(RecordAddress(28) + 23, 3), (std::vector<uint8_t>{'2', '8', 0xFF}));
    EXPECT_EQ(StoreBytes(RecordAddress(1) + 23, 2), (std::vector<uint8_t>{'1', 0}));

    // The icon directory holds copies of the default label directory.
    for (uint8_t slot = 0; slot < kIconSlots; ++slot) {
        const std::vector<uint8_t> entry = StoreBytes(kIconDirectory + slot * 8, 8);
        EXPECT_EQ(entry[7], 0xFF) << "slot " << int(slot);
        EXPECT_EQ(entry[0], slot % 2 == 0 ? 9 : 0xFF);
    }

    EXPECT_EQ(ListEntries(Vocabulary.usedLanguages), std::vector<uint8_t>{1});
    EXPECT_EQ(ListEntries(Vocabulary.availableLanguages), std::vector<uint8_t>{kIconSetLanguage});
    // Left as they were.
    EXPECT_EQ(Labels.LabelStore[RecordAddress(7) + 32], 0x11);
    EXPECT_EQ(Labels.LabelStore[17], 0x22);
    EXPECT_EQ(Labels.LabelStore[kLogoBitmap0], 0x33);
    EXPECT_EQ(Labels.LabelStore[kIconBitmaps + 5], 0x44);
    EXPECT_EQ(StoreBytes(RecordAddress(29), 16), std::vector<uint8_t>(16, 0xFF));
}

TEST_F(LabelDefaultsTest, HostCommandInitialisesTheStore) {
    EXPECT_EQ(SendHost({0x27}), 0x27);
    EXPECT_EQ(StoreBytes(RecordAddress(2), 2), (std::vector<uint8_t>{9, 1}));
    EXPECT_EQ(Labels.LabelStore[RecordAddress(2) + 23], '2');
}

TEST_F(LabelDefaultsTest, ClearingAKeyFreesItsDirectoryAndFirstDataBytesOnly) {
    InitLabelStore();
    Labels.LabelStore[RecordAddress(3) + 32] = 0x5A;
    EXPECT_EQ(ClearKeyRecord(3), 0);
    EXPECT_EQ(StoreBytes(RecordAddress(3), 32), std::vector<uint8_t>(32, 0xFF));
    EXPECT_EQ(Labels.LabelStore[RecordAddress(3) + 32], 0x5A);
    EXPECT_EQ(Labels.LabelStore[RecordAddress(4)], 9);
    EXPECT_EQ(Labels.LabelStore[RecordAddress(2) + 23], '2');

    std::vector<uint8_t> before = StoreBytes(0, kLabelStoreSize);
    EXPECT_EQ(ClearKeyRecord(0), kStatusIndexRange);
    EXPECT_EQ(ClearKeyRecord(29), kStatusIndexRange);
    EXPECT_EQ(StoreBytes(0, kLabelStoreSize), before);

    // Through the host: 0x66 with the key number.
    EXPECT_EQ(SendHost({0x66, 5}), 0x66);
    EXPECT_EQ(Labels.LabelStore[RecordAddress(5)], 0xFF);
    EXPECT_EQ(SendHost({0x66, 29}), 0);
}

TEST_F(LabelDefaultsTest, UsedLanguagesAreRebuiltFromEveryEntryInUse) {
    InitLabelStore();
    // A free entry in the middle does not hide the entries behind it; a
    // length byte of 0 marks an entry that is not in use.
    PutDirectory(2, {9, 1, 0xFF, 0xFF, 3, 40});
    PutDirectory(5, {9, 1, 3, 41, 0, 42, 130, 43});
    AddUsedLanguage(99);

    EXPECT_EQ(RebuildUsedLanguages(), 0);
    EXPECT_EQ(ListEntries(Vocabulary.usedLanguages), (std::vector<uint8_t>{1, 40, 41, 43}));

    // Through the host: 0x28 replies its echo.
    ClearUsedLanguages();
    EXPECT_EQ(SendHost({0x28}), 0x28);
    EXPECT_EQ(ListEntries(Vocabulary.usedLanguages), (std::vector<uint8_t>{1, 40, 41, 43}));
}

TEST_F(LabelDefaultsTest, RebuildingWithNineLanguagesOverflows) {
    InitLabelStore();
    PutDirectory(2, {9, 1, 3, 2, 3, 3, 3, 4, 3, 5, 3, 6, 3, 7, 3, 8});
    EXPECT_EQ(RebuildUsedLanguages(), 0);
    EXPECT_EQ(Vocabulary.usedLanguages.count, 8);

    PutDirectory(9, {9, 1, 3, 9});
    EXPECT_EQ(RebuildUsedLanguages(), kStatusIndexRange);
    EXPECT_EQ(SendHost({0x28}), 0);
}

TEST_F(LabelDefaultsTest, AvailableLanguagesComeFromIconSetsAndDynamicIcons) {
    InitLabelStore();
    PutSlotLanguage(0, 0);  // the store's unwritten state: no language
    PutSlotLanguage(3, 40);
    PutSlotLanguage(4, 41);
    PutSlotLanguage(9, 40);

    AddDynamicIconLanguages();
    EXPECT_EQ(ListEntries(Vocabulary.availableLanguages),
              (std::vector<uint8_t>{kIconSetLanguage, 40, 41}));

    // The rebuild starts from an empty list.
    AddAvailableLanguage(77);
    PutSlotLanguage(4, 0xFF);
    RebuildAvailableLanguages();
    EXPECT_EQ(ListEntries(Vocabulary.availableLanguages), (std::vector<uint8_t>{kIconSetLanguage, 40}));

    PutSlotLanguage(5, 50);
    EXPECT_EQ(SendHost({0x29}), 0x29);
    EXPECT_EQ(ListEntries(Vocabulary.availableLanguages),
              (std::vector<uint8_t>{kIconSetLanguage, 40, 50}));
}

}  // namespace
