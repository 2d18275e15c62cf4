// Module memory: byte and word accesses at and past the last address, the
// built-in font read and the read-only view.
#include <cstring>

#include "module_fixture.h"

namespace zortest {
namespace {

using namespace lcdm;

class MemoryTest : public ModuleTest {};

TEST_F(MemoryTest, ByteAccessStopsAtTheLastAddress) {
    EXPECT_EQ(WriteMemoryByte(0x5A, 0), 0);
    EXPECT_EQ(WriteMemoryByte(0xA5, 37343), 0);
    EXPECT_EQ(ReadMemoryByte(0), 0x5A);
    EXPECT_EQ(ReadMemoryByte(37343), 0xA5);

    EXPECT_EQ(ReadMemoryByte(37344), 0);
    EXPECT_EQ(ReadMemoryByte(0xFFFF), 0);
    EXPECT_EQ(WriteMemoryByte(0x77, 37344), 9);
    EXPECT_EQ(WriteMemoryByte(0x77, 0xFFFF), 9);

    EXPECT_EQ(CheckMemoryAddress(0), 0);
    EXPECT_EQ(CheckMemoryAddress(37343), 0);
    EXPECT_EQ(CheckMemoryAddress(37344), 9);
    EXPECT_EQ(CheckMemoryAddress(0xFFFF), 9);
}

TEST_F(MemoryTest, RefusedWritesChangeNothing) {
    uint8_t before[kModuleMemorySize];
    for (uint32_t a = 0; a < kModuleMemorySize; ++a) Memory.ModuleMemory[a] = uint8_t(a * 7);
    std::memcpy(before, Memory.ModuleMemory, sizeof before);

    EXPECT_EQ(WriteMemoryByte(1, 37344), 9);
    EXPECT_EQ(WriteMemoryWord(0x1234, 37344), 9);
    EXPECT_EQ(WriteMemoryWord(0x1234, 0xFFFF), 9);
    EXPECT_EQ(std::memcmp(before, Memory.ModuleMemory, sizeof before), 0);
}

TEST_F(MemoryTest, WordsAreBigEndianAndUnaligned) {
    // In the free space after the default vocabulary, where memory starts zeroed.
    EXPECT_EQ(WriteMemoryWord(0x1234, 30000), 0);
    EXPECT_EQ(ReadMemoryByte(30000), 0x12);
    EXPECT_EQ(ReadMemoryByte(30001), 0x34);
    EXPECT_EQ(ReadMemoryWord(30000), 0x1234);
    EXPECT_EQ(ReadMemoryWord(30001), 0x3400);

    EXPECT_EQ(WriteMemoryWord(0xBEEF, 37342), 0);  // the last whole word
    EXPECT_EQ(ReadMemoryWord(37342), 0xBEEF);
    EXPECT_EQ(ReadMemoryWord(37344), 0);
}

TEST_F(MemoryTest, WordAtTheLastAddressIsHalfOutside) {
    WriteMemoryByte(0xAB, 37343);
    WriteMemoryByte(0xCD, 37342);
    // The low byte lies past the end and reads as 0.
    EXPECT_EQ(ReadMemoryWord(37343), 0xAB00);
    // A write there is refused whole: neither byte changes.
    EXPECT_EQ(WriteMemoryWord(0x1111, 37343), 9);
    EXPECT_EQ(ReadMemoryByte(37343), 0xAB);
    EXPECT_EQ(ReadMemoryByte(37342), 0xCD);
}

TEST_F(MemoryTest, FontBytesComeFromTheTableOrFromMemory) {
    WriteMemoryByte(0x42, 1);
    WriteMemoryByte(0x43, 1300);
    EXPECT_EQ(ReadFontByte(1, false), 0x42);
    EXPECT_EQ(ReadFontByte(1300, false), 0x43);
    EXPECT_EQ(ReadFontByte(40000, false), 0);
    EXPECT_EQ(ReadFontByte(1, true), 0x21);  // the built-in font's first code
    for (uint16_t offset : {0, 1, 600, 1223})
        EXPECT_EQ(ReadFontByte(offset, true), BuiltInFont[offset]) << offset;
    // Past the built-in table: 0, never the memory byte at that address.
    EXPECT_EQ(ReadFontByte(1300, true), 0);
    EXPECT_EQ(ReadFontByte(1224, true), 0);
    EXPECT_EQ(ReadFontByte(0xFFFF, true), 0);
}

TEST_F(MemoryTest, ViewRunsToTheEndOfMemory) {
    WriteMemoryByte(9, 37343);
    const ByteView whole = MemoryView(0);
    EXPECT_EQ(whole.size, 37344u);
    const ByteView last = MemoryView(37343);
    EXPECT_EQ(last.size, 1u);
    EXPECT_EQ(last.At(0), 9);
    EXPECT_EQ(last.At(1), 0);
    EXPECT_EQ(last.WordAt(0), 0x0900);
    EXPECT_EQ(MemoryView(37344).size, 0u);
    EXPECT_EQ(MemoryView(0xFFFF).At(0), 0);
}

}  // namespace
}  // namespace zortest
