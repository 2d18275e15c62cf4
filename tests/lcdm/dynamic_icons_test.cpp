// Dynamic icons: begin, append and finish a load, the slot search's order of
// preference, the bounds of a slot, freeing a slot and purging the icons no
// key label refers to.
#include <algorithm>
#include <cstring>
#include <vector>

#include "module_fixture.h"

namespace {

using namespace lcdm;
using zortest::ListEntries;
using zortest::ModuleTest;
using zortest::SendHost;
using zortest::StoreBytes;
using zortest::VocabularyBuilder;

constexpr uint8_t kCurrent = 70;  // the current language, with an icon set
constexpr uint8_t kOther = 0xCA;  // another language with an icon set

uint16_t SlotAddress(uint8_t slot) {
    return static_cast<uint16_t>(kIconDirectory + slot * 8);
}
uint16_t BitmapAddress(uint8_t slot) {
    return static_cast<uint16_t>(kIconBitmaps + slot * 256);
}

std::vector<uint8_t> Entry(uint8_t slot) {
    return StoreBytes(SlotAddress(slot), 8);
}

void PutSlot(uint8_t slot, uint8_t language, uint16_t id) {
    const uint8_t entry[8] = {0, 2, HighByte(id), LowByte(id), 8, 2, 0, language};
    std::memcpy(Labels.LabelStore + SlotAddress(slot), entry, sizeof entry);
}

uint8_t Begin(uint8_t language, uint16_t id, std::initializer_list<uint8_t> extra = {}) {
    const uint8_t header[6] = {language, HighByte(id), LowByte(id), 16, 2, 10};
    std::memcpy(Link.DataBuffer, header, sizeof header);
    std::copy(extra.begin(), extra.end(), Link.DataBuffer + 6);
    Link.DataLength = static_cast<uint8_t>(6 + extra.size());
    return BeginDynamicIcon();
}

// Appends `count` bytes (0, 1, 2, ...) in data buffers of up to 18 bytes;
// the first failing append's result, or 0.
uint8_t AppendBytes(int count) {
    uint8_t result = 0;
    for (int done = 0; done < count;) {
        const int chunk = count - done < 18 ? count - done : 18;
        for (int i = 0; i < chunk; ++i) Link.DataBuffer[i] = static_cast<uint8_t>(done + i);
        Link.DataLength = static_cast<uint8_t>(chunk);
        const uint8_t r = AppendDynamicIcon();
        if (result == 0) result = r;
        done += chunk;
    }
    return result;
}

class DynamicIconTest : public ModuleTest {
protected:
    void SetUp() override {
        ModuleTest::SetUp();
        std::memset(Labels.LabelStore, 0xFF, sizeof Labels.LabelStore);
        VocabularyBuilder voc;
        voc.Add(0, kItemIconSet, {0, kCurrent});
        voc.Add(1, kItemIconSet, {0, kOther});
        ASSERT_EQ(voc.Init(), 3);
        InitLabelStore();
        Language.currentLanguage = kCurrent;
    }

    static void FillSlots(uint8_t language) {
        for (uint8_t slot = 0; slot < kIconSlots; ++slot) PutSlot(slot, language, 100 + slot);
    }
};

// ---------------------------------------------------------------- loading ---

TEST_F(DynamicIconTest, HostLoadsAnIconInThreeSteps) {
    EXPECT_EQ(
        SendHost({0x20, 0x60, kCurrent, 0x60, 0x01, 0x60, 0x02, 0x60, 8, 0x60, 2, 0x60, 10, 0x24}),
        0x24);
    EXPECT_EQ(Link.DataLength, 0);
    EXPECT_EQ(SendHost({0x21, 0x60, 0xFF, 0x60, 0x81, 0x24}), 0x24);
    EXPECT_EQ(SendHost({0x22}), 0x22);

    EXPECT_EQ(Entry(0), (std::vector<uint8_t>{0, 2, 0x01, 0x02, 8, 2, 10, kCurrent}));
    EXPECT_EQ(StoreBytes(BitmapAddress(0), 2), (std::vector<uint8_t>{0xFF, 0x81}));
    ASSERT_EQ(DynamicIconLookup(kCurrent, 0x0102), 0);
    EXPECT_EQ(Images.ImageDescriptor.width, 8);
    EXPECT_EQ(Labels.ScratchBuffer[2], 0x81);
}

TEST_F(DynamicIconTest, ShortHeaderIsRefusedAndExtraBytesAreAppended) {
    IconLoad.writePointer = 1234;
    Link.DataLength = 5;
    EXPECT_EQ(BeginDynamicIcon(), kStatusIconHeaderShort);
    EXPECT_EQ(IconLoad.writePointer, 1234);
    EXPECT_FALSE(IconLoad.loadFailed);
    EXPECT_EQ(Link.DataLength, 5);

    EXPECT_EQ(Begin(kCurrent, 7, {0xA1, 0xA2, 0xA3}), 0);
    EXPECT_EQ(Link.DataLength, 0);
    EXPECT_EQ(StoreBytes(BitmapAddress(0), 4), (std::vector<uint8_t>{0xA1, 0xA2, 0xA3, 0xFF}));
    EXPECT_EQ(FinishDynamicIcon(), 0);
    EXPECT_EQ(Entry(0), (std::vector<uint8_t>{0, 3, 0, 7, 16, 2, 10, kCurrent}));
}

TEST_F(DynamicIconTest, SlotSearchPrefersTheSameIconThenFreeThenUnavailableThenNotCurrent) {
    PutSlot(5, kCurrent, 0x0102);
    EXPECT_EQ(Begin(kCurrent, 0x0102), 0);
    EXPECT_EQ(IconLoad.pendingSlot, 5);
    EXPECT_EQ(IconLoad.writePointer, BitmapAddress(5));
    EXPECT_EQ(Begin(kCurrent, 0x0103), 0);
    EXPECT_EQ(IconLoad.pendingSlot, 0);  // the lowest free slot

    FillSlots(kCurrent);
    EXPECT_EQ(Begin(kCurrent, 0x0103), kStatusNotFound);
    EXPECT_EQ(SendHost({0x20, 0x60, kCurrent, 0x60, 1, 0x60, 3, 0x60, 1, 0x60, 1, 0x60, 0, 0x24}),
              0);

    PutSlot(12, kOther, 100);  // available, but not the current language
    EXPECT_EQ(Begin(kCurrent, 0x0103), 0);
    EXPECT_EQ(IconLoad.pendingSlot, 12);
    PutSlot(9, 99, 100);  // a language no longer available comes first
    EXPECT_EQ(Begin(kCurrent, 0x0103), 0);
    EXPECT_EQ(IconLoad.pendingSlot, 9);
    // Its language becomes available with the begin.
    EXPECT_EQ(Begin(40, 1), 0);
    EXPECT_TRUE(HasAvailableLanguage(40));
}

TEST_F(DynamicIconTest, FinishAcceptsAFullSlotAndRejectsOneByteMore) {
    EXPECT_EQ(Begin(kCurrent, 1), 0);
    EXPECT_EQ(AppendBytes(256), 0);
    EXPECT_EQ(FinishDynamicIcon(), 0);
    EXPECT_EQ(Entry(0), (std::vector<uint8_t>{1, 0, 0, 1, 16, 2, 10, kCurrent}));

    // The 257th byte would fall on slot 2's bitmap: it is refused at once.
    PutSlot(2, kCurrent, 9);
    Labels.LabelStore[BitmapAddress(2)] = 0x5A;
    EXPECT_EQ(Begin(kCurrent, 2), 0);
    ASSERT_EQ(IconLoad.pendingSlot, 1);
    EXPECT_EQ(AppendBytes(257), kStatusStoreAccess);
    EXPECT_EQ(Link.DataLength, 5);  // the failing buffer keeps its contents
    EXPECT_EQ(Labels.LabelStore[BitmapAddress(2)], 0x5A);
    EXPECT_EQ(Labels.LabelStore[BitmapAddress(1) + 255], 255);
    EXPECT_EQ(FinishDynamicIcon(), kStatusIndexRange);
    EXPECT_EQ(SendHost({0x22}), 0);
    EXPECT_EQ(Entry(1), std::vector<uint8_t>(8, 0xFF));
}

TEST_F(DynamicIconTest, OverlongLoadInTheLastSlotStaysInTheStore) {
    for (uint8_t slot = 0; slot < 15; ++slot) PutSlot(slot, kCurrent, 200 + slot);
    EXPECT_EQ(Begin(kOther, 3), 0);
    ASSERT_EQ(IconLoad.pendingSlot, 15);
    EXPECT_EQ(AppendBytes(300), kStatusStoreAccess);
    EXPECT_EQ(Labels.LabelStore[kLabelStoreSize - 1], 255);  // byte 255 of the load
    EXPECT_EQ(Labels.ScratchBuffer[0], kOther);              // lies just behind the store
    EXPECT_EQ(FinishDynamicIcon(), kStatusIndexRange);
}

// A failed begin must not let a finish record an entry for slot 0, nor let
// appends write through the pointer the previous load left behind.
TEST_F(DynamicIconTest, NothingIsRecordedOrWrittenAfterAFailedBegin) {
    EXPECT_EQ(FinishDynamicIcon(), kStatusIndexRange);  // nothing begun yet
    std::vector<uint8_t> settings = StoreBytes(0, 32);
    EXPECT_EQ(AppendBytes(4), kStatusStoreAccess);
    EXPECT_EQ(StoreBytes(0, 32), settings);

    for (uint8_t slot = 0; slot < 3; ++slot) PutSlot(slot, kCurrent, 200 + slot);
    ASSERT_EQ(Begin(kCurrent, 1), 0);
    ASSERT_EQ(AppendBytes(4), 0);
    ASSERT_EQ(FinishDynamicIcon(), 0);  // slot 3
    FillSlots(kCurrent);
    const std::vector<uint8_t> before = StoreBytes(kIconDirectory, 4096);

    EXPECT_EQ(Begin(kCurrent, 2), kStatusNotFound);
    EXPECT_EQ(IconLoad.pendingSlot, 0);
    EXPECT_EQ(AppendBytes(4), kStatusStoreAccess);
    EXPECT_EQ(FinishDynamicIcon(), kStatusIndexRange);
    EXPECT_EQ(StoreBytes(kIconDirectory, 4096), before);

    // A language that cannot be made available: the list is full.
    for (uint8_t language = 1; language <= 6; ++language) AddAvailableLanguage(language);
    FreeIconSlot(7);
    EXPECT_EQ(Begin(99, 2), kStatusNotFound);
    EXPECT_EQ(IconLoad.writePointer, 0);
    EXPECT_EQ(AppendBytes(4), kStatusStoreAccess);
    EXPECT_EQ(StoreBytes(0, 32), settings);
    EXPECT_EQ(FinishDynamicIcon(), kStatusIndexRange);
    EXPECT_EQ(Entry(7), std::vector<uint8_t>(8, 0xFF));
}

// ----------------------------------------------------------- housekeeping ---

TEST_F(DynamicIconTest, FreeingASlotKeepsItsBitmap) {
    PutSlot(4, kCurrent, 1);
    Labels.LabelStore[BitmapAddress(4)] = 0x3C;
    EXPECT_EQ(FreeIconSlot(4), 0);
    EXPECT_EQ(Entry(4), std::vector<uint8_t>(8, 0xFF));
    EXPECT_EQ(Labels.LabelStore[BitmapAddress(4)], 0x3C);
    EXPECT_EQ(FreeIconSlot(16), kStatusNotFound);

    PutSlot(4, kCurrent, 1);
    EXPECT_EQ(SendHost({0x65, 4}), 0x65);
    EXPECT_EQ(Entry(4), std::vector<uint8_t>(8, 0xFF));
    EXPECT_EQ(SendHost({0x65, 16}), 0);
}

TEST_F(DynamicIconTest, PurgeKeepsOnlyIconsThatLabelsReferTo) {
    PutSlot(0, kCurrent, 1);  // referenced by key 2
    PutSlot(1, kCurrent, 2);  // referenced by nobody
    PutSlot(2, 88, 3);        // referenced by key 5, behind a length byte of 0
    PutSlot(3, kCurrent, 4);  // referenced by an entry of length 137 only
    PutSlot(4, 71, 1);        // the id of slot 0, in another language
    PutSlot(5, kCurrent, 0x0101);  // the low byte of slot 0's id under another high byte
    PutSlot(6, kCurrent, 0x0506);  // referenced by key 8's eighth label
    Labels.LabelStore[BitmapAddress(1)] = 0x77;
    uint8_t* key2 = Labels.LabelStore + RecordAddress(2);
    const uint8_t key2Head[] = {9, 1, 130, kCurrent, 137, kCurrent};
    std::memcpy(key2, key2Head, sizeof key2Head);
    key2[25] = 0;
    key2[26] = 1;
    key2[27] = 0;
    key2[28] = 4;
    uint8_t* key5 = Labels.LabelStore + RecordAddress(5);
    const uint8_t key5Head[] = {9, 1, 0, 50, 130, 88};
    std::memcpy(key5, key5Head, sizeof key5Head);
    key5[25] = 0;
    key5[26] = 3;
    uint8_t* key8 = Labels.LabelStore + RecordAddress(8);
    const uint8_t key8Head[] = {2, 1, 2, 2, 2, 3, 2, 4, 2, 5, 2, 6, 2, 7, 130, kCurrent};
    std::memcpy(key8, key8Head, sizeof key8Head);
    key8[30] = 5;
    key8[31] = 6;

    EXPECT_EQ(SendHost({0x23}), 0x23);
    EXPECT_EQ(Entry(0), (std::vector<uint8_t>{0, 2, 0, 1, 8, 2, 0, kCurrent}));
    EXPECT_EQ(Entry(2), (std::vector<uint8_t>{0, 2, 0, 3, 8, 2, 0, 88}));
    EXPECT_EQ(Entry(6), (std::vector<uint8_t>{0, 2, 5, 6, 8, 2, 0, kCurrent}));
    for (uint8_t slot : {1, 3, 4, 5})
        EXPECT_EQ(Entry(slot), std::vector<uint8_t>(8, 0xFF)) << int(slot);
    EXPECT_EQ(Labels.LabelStore[BitmapAddress(1)], 0x77);
    EXPECT_EQ(ListEntries(Vocabulary.availableLanguages), (std::vector<uint8_t>{kCurrent, kOther, 88}));
}

// Entries whose data would lie outside their record are no references, even
// where the bytes beyond happen to match an icon.
TEST_F(DynamicIconTest, PurgeIgnoresEntriesOutsideTheirRecord) {
    uint8_t* key3 = Labels.LabelStore + RecordAddress(3);
    const uint8_t key3Head[] = {111, 1, 130, kCurrent};  // the id would be at 127 and 128
    std::memcpy(key3, key3Head, sizeof key3Head);
    key3[127] = 0x12;
    PutSlot(6, kCurrent, MakeWord(0x12, Labels.LabelStore[RecordAddress(4)]));
    uint8_t* key7 = Labels.LabelStore + RecordAddress(7);
    const uint8_t key7Head[] = {127, 1, 127, 2, 130, kCurrent};  // the id at 270
    std::memcpy(key7, key7Head, sizeof key7Head);
    PutSlot(8, kCurrent,
            MakeWord(Labels.LabelStore[RecordAddress(9) + 14],
                     Labels.LabelStore[RecordAddress(9) + 15]));

    EXPECT_EQ(PurgeDynamicIcons(), 0);
    EXPECT_EQ(Entry(6), std::vector<uint8_t>(8, 0xFF));
    EXPECT_EQ(Entry(8), std::vector<uint8_t>(8, 0xFF));

    // Without a vocabulary header the icon sets cannot be rescanned: 1.
    WriteMemoryWord(0, Vocabulary.vocabularyStart);
    EXPECT_EQ(PurgeDynamicIcons(), 1);
}

}  // namespace
