// Label store access: byte and block bounds, the scratch buffer's work area,
// and the lookup of dynamic icons in the icon directory.
#include <cstring>

#include "module_fixture.h"

namespace {

using namespace lcdm;
using zortest::ModuleTest;

class LabelStoreTest : public ModuleTest {};

TEST_F(LabelStoreTest, ByteAccessStopsAtTheEndOfTheStore) {
    Labels.LabelStore[8191] = 0x5A;
    EXPECT_EQ(ReadStoreByte(8191), 0x5A);
    EXPECT_EQ(ReadStoreByte(8192), 0);
    EXPECT_EQ(ReadStoreByte(0xFFFF), 0);

    EXPECT_EQ(WriteStoreByte(8191, 0x33), 0);
    EXPECT_EQ(Labels.LabelStore[8191], 0x33);
    EXPECT_EQ(WriteStoreByte(8192, 0x77), kStatusAddressRange);
    EXPECT_EQ(WriteStoreByte(0xFFFF, 0x77), kStatusAddressRange);
    EXPECT_EQ(RecordAddress(28), 3584);
    EXPECT_EQ(RecordAddress(31), 3968);
    // Nothing beyond the store changed: the scratch buffer follows it.
    EXPECT_EQ(Labels.ScratchBuffer[0], 0);
}

TEST_F(LabelStoreTest, BlocksEndingOnOrPastTheLastByteAreRefused) {
    for (int i = 0; i < kLabelStoreSize; ++i) Labels.LabelStore[i] = static_cast<uint8_t>(i);
    uint8_t block[256];
    std::memset(block, 0xEE, sizeof block);

    EXPECT_EQ(ReadStoreBlock(8063, block, 128), 0);
    EXPECT_EQ(block[0], static_cast<uint8_t>(8063));
    EXPECT_EQ(block[127], static_cast<uint8_t>(8190));

    std::memset(block, 0xEE, sizeof block);
    EXPECT_EQ(ReadStoreBlock(8064, block, 128), kStatusAddressRange);
    EXPECT_EQ(block[0], 0xEE);
    // An address near 0xFFFF must not wrap round into the store.
    EXPECT_EQ(ReadStoreBlock(0xFFF0, block, 32), kStatusAddressRange);
    EXPECT_EQ(block[0], 0xEE);
    EXPECT_EQ(ReadStoreBlock(0, block, 256), 0);
    EXPECT_EQ(block[255], 255);

    uint8_t source[128];
    std::memset(source, 0x42, sizeof source);
    EXPECT_EQ(WriteStoreBlock(8064, source, 128), kStatusAddressRange);
    EXPECT_EQ(Labels.LabelStore[8064], static_cast<uint8_t>(8064));
    EXPECT_EQ(WriteStoreBlock(0xFFFF, source, 2), kStatusAddressRange);
    EXPECT_EQ(Labels.LabelStore[0], 0);
    EXPECT_EQ(Labels.LabelStore[1], 1);
    EXPECT_EQ(WriteStoreBlock(8063, source, 128), 0);
    EXPECT_EQ(Labels.LabelStore[8063], 0x42);
    EXPECT_EQ(Labels.LabelStore[8190], 0x42);
    EXPECT_EQ(Labels.LabelStore[8191], static_cast<uint8_t>(8191));
}

TEST_F(LabelStoreTest, ScratchReadsFillTheWorkAreaFromByteOne) {
    for (int i = 0; i < 300; ++i) Labels.LabelStore[1000 + i] = static_cast<uint8_t>(i + 1);
    Labels.ScratchBuffer[0] = 0x99;
    EXPECT_EQ(ReadStoreToScratch(1000, 256), 0);
    EXPECT_EQ(Labels.ScratchBuffer[0], 0x99);
    EXPECT_EQ(Labels.ScratchBuffer[1], 1);
    EXPECT_EQ(Labels.ScratchBuffer[256], 0);  // byte 256 of the source: (255 + 1) & 0xFF

    // More than the work area holds is refused, and nothing is read.
    std::memset(Labels.ScratchBuffer, 0, sizeof Labels.ScratchBuffer);
    EXPECT_EQ(ReadStoreToScratch(1000, 257), kStatusAddressRange);
    EXPECT_EQ(Labels.ScratchBuffer[1], 0);
    EXPECT_EQ(ReadStoreToScratch(8000, 192), kStatusAddressRange);
    EXPECT_EQ(Labels.ScratchBuffer[1], 0);
}

// Icon directory entry for slot s: size, id, width, height, yOffset, language.
void PutIconEntry(uint8_t slot, uint16_t size, uint16_t id, uint8_t width, uint8_t height,
                  uint8_t yOffset, uint8_t language) {
    uint8_t* e = Labels.LabelStore + kIconDirectory + slot * kIconDirectoryEntrySize;
    const uint8_t bytes[8] = {HighByte(size), LowByte(size), HighByte(id), LowByte(id),
                              width,          height,        yOffset,      language};
    std::memcpy(e, bytes, sizeof bytes);
}

class DynamicIconTest : public LabelStoreTest {
protected:
    void SetUp() override {
        LabelStoreTest::SetUp();
        // Every slot free, as after the window's fill with 255.
        std::memset(Labels.LabelStore + kIconDirectory, 0xFF, 128);
    }
};

TEST_F(DynamicIconTest, FoundIconIsLoadedWithItsDescriptor) {
    PutIconEntry(3, 4, 0x0102, 16, 2, 10, 70);
    PutIconEntry(5, 2, 0x0102, 8, 2, 0, 70);  // same id and language: the first slot wins
    const uint16_t data = kIconBitmaps + 3 * kIconSlotSize;
    const uint8_t bitmap[4] = {0xAB, 0xCD, 0x12, 0x34};
    std::memcpy(Labels.LabelStore + data, bitmap, sizeof bitmap);

    EXPECT_EQ(DynamicIconLookup(70, 0x0102), 0);
    const ImageDescription& image = Images.ImageDescriptor;
    EXPECT_EQ(image.compression, 0);
    EXPECT_EQ(image.dataLength, 4);
    EXPECT_EQ(image.width, 16);
    EXPECT_EQ(image.height, 2);
    EXPECT_EQ(image.yOffset, 10);
    EXPECT_EQ(Labels.textLength, 4);
    EXPECT_EQ(std::memcmp(Labels.ScratchBuffer + 1, bitmap, sizeof bitmap), 0);
}

TEST_F(DynamicIconTest, WrongLanguageOrIdOrFreeSlotIsNotFound) {
    PutIconEntry(0, 4, 0x0102, 16, 2, 10, 70);
    EXPECT_EQ(DynamicIconLookup(1, 0x0102), kStatusNotFound);
    EXPECT_EQ(DynamicIconLookup(70, 0x0201), kStatusNotFound);
    EXPECT_EQ(DynamicIconLookup(70, 0x0002), kStatusNotFound);
    // A free slot (language 255, all bytes 255) is never an icon.
    EXPECT_EQ(DynamicIconLookup(0xFF, 0xFFFF), kStatusNotFound);
    EXPECT_EQ(Labels.textLength, 0);
}

TEST_F(DynamicIconTest, DataOutOfRangeGives9) {
    // Slot 15 with a full 256 bytes would end exactly on the last byte.
    PutIconEntry(15, 256, 7, 64, 32, 0, 9);
    EXPECT_EQ(DynamicIconLookup(9, 7), kStatusAddressRange);
    EXPECT_EQ(Labels.textLength, 256);

    // The same size in slot 14 loads.
    Labels.LabelStore[kIconBitmaps + 14 * kIconSlotSize + 255] = 0x81;
    PutIconEntry(14, 256, 8, 64, 32, 0, 9);
    EXPECT_EQ(DynamicIconLookup(9, 8), 0);
    EXPECT_EQ(Labels.ScratchBuffer[256], 0x81);

    // A size beyond the work area is refused rather than overrunning it.
    PutIconEntry(2, 300, 5, 64, 32, 0, 9);
    EXPECT_EQ(DynamicIconLookup(9, 5), kStatusAddressRange);
}

}  // namespace
