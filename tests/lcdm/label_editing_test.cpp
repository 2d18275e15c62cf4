// Key label editing: new entries, replacements that shrink, grow or become
// icon references, the cut at the record's last byte, clearing through
// language 0, and removing a language from every key and dynamic icon.
#include <algorithm>
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

constexpr uint8_t kText = 70;       // font class 2, with an icon set too
constexpr uint8_t kTextOnly = 71;   // font class 2, no icon set
constexpr uint8_t kIconOnly = 200;  // font class 10 (no font), with an icon set

std::vector<uint8_t> Text(const std::string& s, bool zero = true) {
    std::vector<uint8_t> bytes(s.begin(), s.end());
    if (zero) bytes.push_back(0);
    return bytes;
}

std::vector<uint8_t> Raw(std::initializer_list<uint8_t> bytes) {
    return bytes;
}

std::vector<uint8_t> operator+(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class LabelEditingTest : public ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        std::memset(Labels.LabelStore, 0xFF, sizeof Labels.LabelStore);
        VocabularyBuilder voc;
        voc.Add(0, kItemTextFont, {0, 0, 0, 0, 0, 0, 0, 0, 2});  // class 2
        voc.Add(0, kItemIconSet, {0, kText});
        voc.Add(1, kItemIconSet, {0, kIconOnly});
        ASSERT_EQ(voc.Init(), 4);
        InitLabelStore();
    }

    // Fills the data buffer as the host's 0x60 commands would.
    static void SetData(const std::vector<uint8_t>& bytes) {
        std::memcpy(Link.DataBuffer, bytes.data(), bytes.size());
        Link.DataLength = static_cast<uint8_t>(bytes.size());
    }
    static void SetText(uint8_t language, const std::string& text) {
        Link.DataBuffer[0] = language;
        std::memcpy(Link.DataBuffer + 1, text.data(), text.size());
        Link.DataLength = static_cast<uint8_t>(text.size() + 1);
    }
    // Stores the data buffer on one key, as command 0x24 in mode 0x61 does.
    static uint8_t Store(uint8_t key) {
        Link.KeySelectionMask = 1u << (key - 1);
        const uint8_t result = StoreSelectedLabels();
        Link.KeySelectionMask = 0;
        return result;
    }

    // Key k's record written raw: directory pairs, then data from offset 16.
    static void PutKey(uint8_t key, const std::vector<uint8_t>& directory,
                       const std::vector<uint8_t>& data) {
        uint8_t* record = Labels.LabelStore + RecordAddress(key);
        std::memset(record, 0xFF, kLabelDirectorySize);
        std::memcpy(record, directory.data(), directory.size());
        std::copy(data.begin(), data.end(), record + kLabelDirectorySize);
    }
    static std::vector<uint8_t> Directory(uint8_t key, uint8_t entries) {
        return StoreBytes(RecordAddress(key), static_cast<uint16_t>(2 * entries));
    }
    static std::vector<uint8_t> Data(uint8_t key, uint16_t offset, uint16_t count) {
        return StoreBytes(static_cast<uint16_t>(RecordAddress(key) + offset), count);
    }
    // Everything outside key k's record.
    static std::vector<uint8_t> Outside(uint8_t key) {
        std::vector<uint8_t> bytes = StoreBytes(0, kLabelStoreSize);
        bytes.erase(bytes.begin() + RecordAddress(key),
                    bytes.begin() + RecordAddress(key) + kRecordSize);
        return bytes;
    }
};

// ------------------------------------------------------------ new entries ---

TEST_F(LabelEditingTest, TextLabelSentByTheHostBecomesANewEntry) {
    EXPECT_EQ(SendHost({0x09, 0x60, kText, 0x60, 'H', 0x60, 'i', 0x61, 2, 0x24}), 0x24);
    EXPECT_EQ(Directory(2, 3), (std::vector<uint8_t>{9, 1, 3, kText, 0xFF, 0xFF}));
    EXPECT_EQ(Data(2, 25, 3), Text("Hi"));
    EXPECT_EQ(Link.KeySelectionMask, 0u);
    EXPECT_EQ(ListEntries(Vocabulary.usedLanguages), (std::vector<uint8_t>{1, kText}));
}

TEST_F(LabelEditingTest, IconReferencesAreTwoByteEntriesOfLength130) {
    SetData({kText, 1, 0x12, 0x34});
    EXPECT_EQ(Store(4), 0);
    // Byte 1 of 0 or 2..8 makes a new entry an icon reference as well.
    SetData({kIconOnly, 5, 0x56, 0x78});
    EXPECT_EQ(Store(4), 0);
    EXPECT_EQ(Directory(4, 4),
              (std::vector<uint8_t>{9, 1, 130, kText, 130, kIconOnly, 0xFF, 0xFF}));
    EXPECT_EQ(Data(4, 25, 4), (std::vector<uint8_t>{0x12, 0x34, 0x56, 0x78}));
}

// A label that cannot be stored is refused with its reason, and neither the
// store nor the used-language list changes. The buffer holds the language,
// the body and the 0 that storing appends; a row without a directory leaves
// the key's default label in place.
TEST_F(LabelEditingTest, RefusedLabelsChangeNothing) {
    const struct {
        const char* what;
        uint8_t key;
        std::vector<uint8_t> directory, data, buffer;
        uint8_t status;
    } cases[] = {
        // clang-format off
        {"new text in a language without a font (class 10)", 2, {}, {},
         Raw({kIconOnly}) + Text("Hello"), kStatusLanguageNotAllowed},
        {"new icon in a language without icons", 2, {}, {},
         Raw({kTextOnly, 1, 0, 7, 0}), kStatusLanguageNotAllowed},
        {"key 0", 0, {}, {}, Raw({1}) + Text("a"), kStatusIndexRange},
        {"record 29, which holds a logo", 29, {}, {}, Raw({1}) + Text("a"), kStatusIndexRange},
        {"icon replacing a label in a language without icons", 4, {9, 1, 3, kTextOnly},
         Text("Button 4") + Text("ab"), Raw({kTextOnly, 1, 0x12, 0x34}),
         kStatusLanguageNotAllowed},
        {"text replacing a label in a language without a font", 5, {9, 1, 130, kIconOnly},
         Text("Button 5") + Raw({1, 2}), Raw({kIconOnly}) + Text("x"),
         kStatusLanguageNotAllowed},
        {"replacing a label whose data start past the record", 7, {120, 1, 5, kText},
         std::vector<uint8_t>(112, 'a'), Raw({kText}) + Text("x"), kStatusIndexRange},
        // clang-format on
    };
    for (const auto& c : cases) {
        if (!c.directory.empty()) PutKey(c.key, c.directory, c.data);
        const std::vector<uint8_t> before = StoreBytes(0, kLabelStoreSize);
        SetData(c.buffer);
        EXPECT_EQ(StoreKeyLabel(c.key), c.status) << c.what;
        EXPECT_EQ(StoreBytes(0, kLabelStoreSize), before) << c.what;
        EXPECT_EQ(ListEntries(Vocabulary.usedLanguages), std::vector<uint8_t>{1}) << c.what;
    }
    // Through the data buffer command every refusal is 23.
    SetText(kIconOnly, "Hello");
    EXPECT_EQ(Store(2), kStatusLabelNotStored);
}

TEST_F(LabelEditingTest, FirstLabelMustBeInLanguageOne) {
    ClearKeyRecord(6);
    SetText(kText, "Hi");
    Link.DataBuffer[Link.DataLength++] = 0;
    EXPECT_EQ(StoreKeyLabel(6), kStatusLabelNotStored);
    EXPECT_EQ(SendHost({0x09, 0x60, kText, 0x60, 'A', 0x61, 6, 0x24}), 0);
    EXPECT_EQ(Directory(6, 1), (std::vector<uint8_t>{0xFF, 0xFF}));
    // In language 1 it is accepted.
    EXPECT_EQ(SendHost({0x09, 0x60, 1, 0x60, 'A', 0x61, 6, 0x24}), 0x24);
    EXPECT_EQ(Directory(6, 2), (std::vector<uint8_t>{2, 1, 0xFF, 0xFF}));
}

TEST_F(LabelEditingTest, NoNinthLanguageAndNoNinthUsedLanguage) {
    // The eighth label fills the directory: no free entry is marked behind
    // it, where the first label's data begin.
    PutKey(6, {2, 1, 2, 2, 2, 3, 2, 4, 2, 5, 2, 6, 2, 7}, std::vector<uint8_t>(14, 'q'));
    SetData({8, 'x', 0});
    EXPECT_EQ(StoreKeyLabel(6), 0);
    EXPECT_EQ(Directory(6, 8),
              (std::vector<uint8_t>{2, 1, 2, 2, 2, 3, 2, 4, 2, 5, 2, 6, 2, 7, 2, 8}));
    EXPECT_EQ(Data(6, 16, 16), std::vector<uint8_t>(14, 'q') + Text("x"));

    PutKey(3, {2, 1, 2, 2, 2, 3, 2, 4, 2, 5, 2, 6, 2, 7, 2, 8}, {});
    SetData({9, 'x', 0});
    EXPECT_EQ(StoreKeyLabel(3), kStatusIndexRange);
    EXPECT_EQ(Store(3), kStatusLabelNotStored);

    // The used-language list is full: a new entry is refused with 24...
    for (uint8_t language = 2; language <= 8; ++language) AddUsedLanguage(language);
    const std::vector<uint8_t> before = StoreBytes(0, kLabelStoreSize);
    SetData({9, 'x', 0});
    EXPECT_EQ(StoreKeyLabel(4), kStatusUsedLanguageRefused);
    EXPECT_EQ(StoreBytes(0, kLabelStoreSize), before);
    // ...and a replacement in a language not in the list with 11.
    PutKey(5, {2, 1, 2, 9}, Text("a") + Text("b"));
    SetData({9, 'y', 0});
    EXPECT_EQ(StoreKeyLabel(5), kStatusIndexRange);
    EXPECT_EQ(Data(5, 18, 1), Text("b", false));
    // The same for an icon replacing a label.
    PutKey(5, {2, 1, 3, kIconOnly}, Text("a") + Text("bc"));
    SetData({kIconOnly, 1, 0x12, 0x34});
    EXPECT_EQ(StoreKeyLabel(5), kStatusIndexRange);
    EXPECT_EQ(Data(5, 18, 3), Text("bc"));
}

// ------------------------------------------------------------ replacement ---

TEST_F(LabelEditingTest, ShorterTextKeepsTheEntrySize) {
    SetText(kText, "xy");
    ASSERT_EQ(Store(7), 0);
    SetText(1, "Abc");
    EXPECT_EQ(Store(7), 0);
    EXPECT_EQ(Directory(7, 2), (std::vector<uint8_t>{9, 1, 3, kText}));
    // The bytes behind the new text keep their old contents.
    EXPECT_EQ(Data(7, 16, 9), Text("Abc") + Text("on 7"));
    EXPECT_EQ(Data(7, 25, 3), Text("xy"));
}

TEST_F(LabelEditingTest, LongerTextMovesTheFollowingLabelsUp) {
    PutKey(7, {4, 1, 3, kText, 130, kIconOnly}, Text("Abc") + Text("xy") + Raw({1, 2}));
    SetText(1, "Abcdefgh");
    EXPECT_EQ(Store(7), 0);
    EXPECT_EQ(Directory(7, 4), (std::vector<uint8_t>{9, 1, 3, kText, 130, kIconOnly, 0xFF, 0xFF}));
    EXPECT_EQ(Data(7, 16, 14), Text("Abcdefgh") + Text("xy") + Raw({1, 2}));

    // With all eight entries in use, the data of all seven behind it move.
    const std::vector<uint8_t> behind =
        Text("b") + Text("c") + Text("d") + Text("e") + Text("f") + Text("g") + Text("h");
    PutKey(6, {4, 1, 2, 2, 2, 3, 2, 4, 2, 5, 2, 6, 2, 7, 2, 8}, Text("Abc") + behind);
    SetText(1, "Abcdefgh");
    EXPECT_EQ(Store(6), 0);
    EXPECT_EQ(Directory(6, 2), (std::vector<uint8_t>{9, 1, 2, 2}));
    EXPECT_EQ(Data(6, 16, 23), Text("Abcdefgh") + behind);
}

TEST_F(LabelEditingTest, EmptyTextReplacesTheDefaultLabelInPlace) {
    SetData({1});
    EXPECT_EQ(Store(3), 0);
    EXPECT_EQ(Directory(3, 2), (std::vector<uint8_t>{9, 1, 0xFF, 0xFF}));
    EXPECT_EQ(Data(3, 16, 9), Text("") + Text("utton 3"));
}

TEST_F(LabelEditingTest, TextReplacedByAnIconKeepsItsSize) {
    SetText(kText, "Hello");
    ASSERT_EQ(Store(2), 0);
    SetText(kTextOnly, "zz");
    ASSERT_EQ(Store(2), 0);
    SetData({kText, 1, 0xAB, 0xCD});
    EXPECT_EQ(Store(2), 0);
    EXPECT_EQ(Directory(2, 3), (std::vector<uint8_t>{9, 1, 128 + 6, kText, 3, kTextOnly}));
    EXPECT_EQ(Data(2, 25, 9), (std::vector<uint8_t>{0xAB, 0xCD, 'l', 'l', 'o', 0, 'z', 'z', 0}));
}

// A one-byte entry cannot hold an icon id: it grows to a plain icon entry
// rather than overwrite the first byte of the label behind it.
TEST_F(LabelEditingTest, IconIntoAOneByteEntryGrowsIt) {
    PutKey(2, {9, 1, 1, kText, 3, kTextOnly}, Text("Button 2") + Text("") + Text("zz"));
    SetData({kText, 1, 0xAB, 0xCD});
    EXPECT_EQ(Store(2), 0);
    EXPECT_EQ(Directory(2, 3), (std::vector<uint8_t>{9, 1, 130, kText, 3, kTextOnly}));
    EXPECT_EQ(Data(2, 25, 5), (std::vector<uint8_t>{0xAB, 0xCD, 'z', 'z', 0}));

    // On offset 126 the id takes the record's last two bytes, and the label
    // behind it, pushed past the record, is lost.
    PutKey(3, {110, 1, 1, kText, 1, kTextOnly}, std::vector<uint8_t>(110, 'a') + Raw({0, 'z'}));
    const std::vector<uint8_t> outside = Outside(3);
    EXPECT_EQ(Store(3), 0);
    EXPECT_EQ(Directory(3, 3), (std::vector<uint8_t>{110, 1, 130, kText, 1, kTextOnly}));
    EXPECT_EQ(Data(3, 124, 4), (std::vector<uint8_t>{'a', 'a', 0xAB, 0xCD}));
    EXPECT_EQ(Outside(3), outside);
}

// -------------------------------------------------------- the record's end ---

TEST_F(LabelEditingTest, DataReachingTheLastByteAreCutThere) {
    // Labels up to offset 120; an 18-byte text would run to 137.
    PutKey(8, {4, 1, 100, kTextOnly}, Text("abc") + std::vector<uint8_t>(100, 'a'));
    const std::vector<uint8_t> outside = Outside(8);
    SetText(kText, "0123456789abcdefg");
    EXPECT_EQ(Store(8), 0);
    EXPECT_EQ(Directory(8, 4), (std::vector<uint8_t>{4, 1, 100, kTextOnly, 18, kText, 0xFF, 0xFF}));
    EXPECT_EQ(Data(8, 120, 8), Text("0123456"));
    EXPECT_EQ(Outside(8), outside);

    // Growing the first entry pushes the following data past the end, where
    // they are lost; the directory keeps its lengths.
    SetText(1, "bbbbbbbbbbbbbbbb");
    EXPECT_EQ(Store(8), 0);
    EXPECT_EQ(Directory(8, 3), (std::vector<uint8_t>{17, 1, 100, kTextOnly, 18, kText}));
    EXPECT_EQ(Data(8, 16, 17), Text("bbbbbbbbbbbbbbbb"));
    EXPECT_EQ(Data(8, 33, 95), std::vector<uint8_t>(94, 'a') + Text(""));
    EXPECT_EQ(Outside(8), outside);
}

// The directory can claim more data than the record holds (after raw
// writes, or after labels were cut): nothing may be written past the record.
TEST_F(LabelEditingTest, LabelsBeyondTheRecordAreNeverWrittenIntoTheNextKey) {
    PutKey(9, {100, 1, 100, kText}, std::vector<uint8_t>(112, 'a'));
    const std::vector<uint8_t> outside = Outside(9);
    // A new entry would start at offset 216.
    SetText(kTextOnly, "new");
    EXPECT_EQ(StoreKeyLabel(9), kStatusIndexRange);
    EXPECT_EQ(Directory(9, 3), (std::vector<uint8_t>{100, 1, 100, kText, 0xFF, 0xFF}));
    // Replacing the entry at offset 116: a shorter text is cut at 127...
    SetText(kText, "0123456789abcdef");
    EXPECT_EQ(Store(9), 0);
    EXPECT_EQ(Data(9, 116, 12), Text("0123456789a"));
    // ...a longer one (the repeated store added a second 0) grows and is cut
    // the same way...
    PutKey(9, {100, 1, 5, kText, 100, kTextOnly}, std::vector<uint8_t>(112, 'a'));
    EXPECT_EQ(Store(9), 0);
    EXPECT_EQ(Directory(9, 3), (std::vector<uint8_t>{100, 1, 18, kText, 100, kTextOnly}));
    EXPECT_EQ(Data(9, 116, 12), Text("0123456789a"));
    // ...and an icon id that would not fit is refused.
    PutKey(9, {111, 1, 5, kText}, std::vector<uint8_t>(112, 'a'));
    SetData({kText, 1, 0x12, 0x34});
    EXPECT_EQ(StoreKeyLabel(9), kStatusIndexRange);
    // An entry that itself runs past the record grows with nothing behind it
    // to move.
    PutKey(9, {104, 1, 10, kText, 5, kTextOnly}, std::vector<uint8_t>(112, 'a'));
    SetText(kText, "0123456789abcdef");
    EXPECT_EQ(Store(9), 0);
    EXPECT_EQ(Directory(9, 3), (std::vector<uint8_t>{104, 1, 17, kText, 5, kTextOnly}));
    EXPECT_EQ(Data(9, 116, 12), Raw({'a', 'a', 'a', 'a'}) + Text("0123456"));
    EXPECT_EQ(Outside(9), outside);
}

// ------------------------------------------------------------ data buffer ---

TEST_F(LabelEditingTest, TheAppendedZeroNeverLeavesTheDataBuffer) {
    HostByteEntry(0x09);
    HostByteEntry(0x60);
    HostByteEntry(1);
    for (int i = 0; i < 17; ++i) {
        HostByteEntry(0x60);
        HostByteEntry(static_cast<uint8_t>('a' + i));
    }
    ASSERT_EQ(Link.DataLength, 18);
    EXPECT_EQ(SendHost({0x61, 2, 0x24}), 0x24);
    EXPECT_EQ(Link.DataLength, 19);
    EXPECT_EQ(Link.DataBuffer[18], 0);
    EXPECT_EQ(Link.DataMode, kModeStoreLabels);
    EXPECT_EQ(Directory(2, 1), (std::vector<uint8_t>{18, 1}));
    EXPECT_EQ(Data(2, 16, 18), Text("abcdefghijklmnopq"));

    // A second store finds the buffer full and appends nothing.
    EXPECT_EQ(SendHost({0x61, 3, 0x24}), 0x24);
    EXPECT_EQ(Link.DataLength, 19);
    EXPECT_EQ(Link.DataMode, kModeStoreLabels);
    EXPECT_EQ(Directory(3, 1), (std::vector<uint8_t>{18, 1}));
    EXPECT_EQ(Data(3, 16, 18), Text("abcdefghijklmnopq"));

    // A shorter buffer gets another 0 each time.
    SetText(1, "Hi");
    ASSERT_EQ(Store(4), 0);
    ASSERT_EQ(Store(5), 0);
    EXPECT_EQ(Link.DataLength, 5);
    EXPECT_EQ(Data(5, 16, 9), Text("Hi") + Text("") + Text("on 5"));

    // A length the buffer cannot hold is refused, not read, and so is one
    // without the appended 0.
    const std::vector<uint8_t> before = StoreBytes(0, kLabelStoreSize);
    Link.DataLength = 32;
    Link.KeySelectionMask = 1u << 5;
    EXPECT_EQ(StoreSelectedLabels(), kStatusIndexRange);
    for (uint8_t length : {1, 20}) {
        Link.DataLength = length;
        EXPECT_EQ(StoreKeyLabel(6), kStatusIndexRange) << int(length);
    }
    EXPECT_EQ(StoreBytes(0, kLabelStoreSize), before);
}

TEST_F(LabelEditingTest, SelectedKeysAreStoredInOrderUntilTheFirstFailure) {
    SetText(kText, "ok");
    Link.KeySelectionMask = (1u << 1) | (1u << 3) | (1u << 28);  // keys 2, 4, 29
    EXPECT_EQ(StoreSelectedLabels(), kStatusLabelNotStored);
    EXPECT_EQ(Directory(2, 2), (std::vector<uint8_t>{9, 1, 3, kText}));
    EXPECT_EQ(Directory(4, 2), (std::vector<uint8_t>{9, 1, 3, kText}));
}

TEST_F(LabelEditingTest, LanguageZeroClearsTheSelectedKeysAndRebuildsUsedLanguages) {
    SetText(kText, "a");
    ASSERT_EQ(Store(2), 0);
    SetText(kTextOnly, "b");
    ASSERT_EQ(Store(3), 0);
    SetText(kText, "c");
    ASSERT_EQ(Store(5), 0);
    ASSERT_EQ(ListEntries(Vocabulary.usedLanguages), (std::vector<uint8_t>{1, kText, kTextOnly}));

    EXPECT_EQ(SendHost({0x09, 0x60, 0, 0x61, 2, 0x61, 3, 0x24}), 0x24);
    EXPECT_EQ(StoreBytes(RecordAddress(2), 32), std::vector<uint8_t>(32, 0xFF));
    EXPECT_EQ(StoreBytes(RecordAddress(3), 32), std::vector<uint8_t>(32, 0xFF));
    EXPECT_EQ(Directory(5, 2), (std::vector<uint8_t>{9, 1, 2, kText}));
    EXPECT_EQ(ListEntries(Vocabulary.usedLanguages), (std::vector<uint8_t>{1, kText}));

    // Record 29 holds a logo: the clear fails there, after the keys before it
    // were cleared, and the logo stays.
    const std::vector<uint8_t> logo = StoreBytes(RecordAddress(29), kRecordSize);
    SetData({0});
    Link.KeySelectionMask = (1u << 4) | (1u << 28);
    EXPECT_EQ(StoreSelectedLabels(), kStatusLabelNotStored);
    EXPECT_EQ(Directory(5, 1), (std::vector<uint8_t>{0xFF, 0xFF}));
    EXPECT_EQ(StoreBytes(RecordAddress(29), kRecordSize), logo);

    // Nine languages among the keys (written raw) do not fit the rebuilt
    // list: the key is cleared, but the command reports the failure.
    PutKey(2, {2, 1, 2, 2, 2, 3, 2, 4, 2, 5, 2, 6, 2, 7, 2, 8}, {});
    PutKey(3, {2, 1, 2, 9}, {});
    SetData({0});
    Link.KeySelectionMask = 1u << 6;
    EXPECT_EQ(StoreSelectedLabels(), kStatusLabelNotStored);
    EXPECT_EQ(Directory(7, 1), (std::vector<uint8_t>{0xFF, 0xFF}));
}

// ------------------------------------------------------- language removal ---

TEST_F(LabelEditingTest, RemovingALanguageClosesTheGapInDirectoryAndData) {
    PutKey(2, {9, 1, 3, kText, 4, kTextOnly, 130, kIconOnly},
           Text("Button 2") + Text("ab") + Text("cde") + Raw({7, 8}));
    AddUsedLanguage(kText);
    EXPECT_EQ(RemoveLanguageFromKey(2, kText), 0);
    EXPECT_EQ(Directory(2, 5),
              (std::vector<uint8_t>{9, 1, 4, kTextOnly, 130, kIconOnly, 0xFF, 0xFF, 0xFF, 0xFF}));
    // The last three bytes keep their old contents.
    EXPECT_EQ(Data(2, 25, 9), Text("cde") + Raw({7, 8, 0, 7, 8}));
    EXPECT_FALSE(HasUsedLanguage(kText));
}

TEST_F(LabelEditingTest, RemovingAMissingLanguageOrLanguageOneChangesNothing) {
    PutKey(3, {2, 1, 2, 2, 2, 3, 2, 4, 2, 5, 2, 6, 2, 7, 2, 8}, std::vector<uint8_t>(16, 'q'));
    const std::vector<uint8_t> before = StoreBytes(0, kLabelStoreSize);
    EXPECT_EQ(RemoveLanguageFromKey(3, 9), 0);
    EXPECT_EQ(RemoveLanguageFromKey(4, kText), 0);
    EXPECT_EQ(RemoveLanguageFromKey(3, 1), kStatusUsedLanguageRefused);
    EXPECT_EQ(RemoveLanguageFromKey(0, kText), kStatusIndexRange);
    EXPECT_EQ(RemoveLanguageFromKey(29, kText), kStatusIndexRange);  // a logo's record
    EXPECT_EQ(RemoveLanguageEverywhere(1), 1);
    EXPECT_EQ(SendHost({0x85, 1, kConfirm}), 0);
    EXPECT_EQ(StoreBytes(0, kLabelStoreSize), before);
}

TEST_F(LabelEditingTest, RemovalStaysInsideTheRecord) {
    PutKey(4, {100, 1, 100, kText, 100, kTextOnly}, std::vector<uint8_t>(112, 'a'));
    const std::vector<uint8_t> outside = Outside(4);
    EXPECT_EQ(RemoveLanguageFromKey(4, kText), 0);
    EXPECT_EQ(Directory(4, 3), (std::vector<uint8_t>{100, 1, 100, kTextOnly, 0xFF, 0xFF}));
    EXPECT_EQ(Data(4, 16, 112), std::vector<uint8_t>(112, 'a'));
    EXPECT_EQ(Outside(4), outside);
}

TEST_F(LabelEditingTest, RemovingALanguageEverywhereTakesItsLabelsAndIcons) {
    SetText(kText, "a");
    ASSERT_EQ(Store(2), 0);
    ASSERT_EQ(Store(6), 0);
    SetText(kTextOnly, "b");
    ASSERT_EQ(Store(6), 0);
    uint8_t* slots = Labels.LabelStore + kIconDirectory;
    slots[3 * 8 + 7] = kText;
    slots[5 * 8 + 7] = 50;
    ClearAvailableLanguages();

    EXPECT_EQ(SendHost({0x85, kText, 171}), 0);
    EXPECT_EQ(Directory(2, 2), (std::vector<uint8_t>{9, 1, 2, kText}));
    EXPECT_EQ(SendHost({0x85, kText, kConfirm}), 0x85);
    EXPECT_EQ(Directory(2, 2), (std::vector<uint8_t>{9, 1, 0xFF, 0xFF}));
    EXPECT_EQ(Directory(6, 3), (std::vector<uint8_t>{9, 1, 2, kTextOnly, 0xFF, 0xFF}));
    EXPECT_EQ(Data(6, 25, 2), Text("b"));
    EXPECT_EQ(StoreBytes(kIconDirectory + 3 * 8, 8), std::vector<uint8_t>(8, 0xFF));
    EXPECT_EQ(slots[5 * 8 + 7], 50);
    // The available list is rebuilt: icon sets and the remaining dynamic icons.
    EXPECT_EQ(ListEntries(Vocabulary.availableLanguages), (std::vector<uint8_t>{kText, kIconOnly, 50}));
    EXPECT_EQ(ListEntries(Vocabulary.usedLanguages), (std::vector<uint8_t>{1, kTextOnly}));
}

}  // namespace
