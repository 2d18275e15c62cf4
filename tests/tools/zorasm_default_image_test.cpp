// The module's default image as zorasm builds it from the lcdm/image sources
// built into it: the size of module memory, a chain the module can walk, and
// an exact round trip through the disassembler.
#include <gtest/gtest.h>

#include "DefaultImage.h"
#include "Disassembler.h"
#include "zorasm_support.h"

namespace zortest {
namespace {

class ZorasmDefaultImage : public ::testing::Test {
protected:
    void SetUp() override {
        if (!zorasm::EmbeddedImageFiles().Has(zorasm::kDefaultImageSource))
            GTEST_SKIP() << zorasm::kDefaultImageSource << " was not there when zorasm was built";
        image_ = zorasm::AssembleDefaultImage();
        ASSERT_TRUE(image_.Ok()) << Errors(image_);
    }
    zorasm::Assembly image_;
};

TEST_F(ZorasmDefaultImage, FillsModuleMemoryWithAChainEndingInItsMarker) {
    ASSERT_EQ(image_.bytes.size(), zorasm::kModuleMemorySize);
    size_t address = 0;
    while (address + 4 <= image_.bytes.size()) {
        const size_t length = (image_.bytes[address] << 8) | image_.bytes[address + 1];
        if (length == 0 || length == 0xFFFF) break;
        address += length;
    }
    const std::vector<uint8_t> marker(image_.bytes.begin() + address,
                                      image_.bytes.begin() + address + 4);
    EXPECT_EQ(marker, (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF})) << "at " << address;
    for (size_t i = address + 4; i < image_.bytes.size(); ++i)
        ASSERT_EQ(image_.bytes[i], 0) << "free space byte " << i;
}

TEST_F(ZorasmDefaultImage, DisassemblingAndAssemblingGivesTheSameBytes) {
    const std::string text = zorasm::Disassemble(image_.bytes, 0, "default image");
    zorasm::MemoryFiles files;
    files.Add("default.dis.zasm", text);
    const zorasm::Assembly again = zorasm::Assemble({"default.dis.zasm"}, files);
    ASSERT_TRUE(again.Ok()) << Errors(again);
    EXPECT_TRUE(again.bytes == image_.bytes) << "the reassembled image differs";
}

}  // namespace
}  // namespace zortest
