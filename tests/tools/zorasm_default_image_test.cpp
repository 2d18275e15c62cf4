// The module's default image as zorasm builds it from the lcdm/image sources
// built into it: the size of module memory, a chain the module can walk, an
// exact round trip through the disassembler and through the sources to edit,
// and items added before its end marker that leave every default item as it was.
#include <gtest/gtest.h>

#include <algorithm>

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

// Every item comes back as the source a person edits (none as bytes), named
// by the default sources' own constants, and the sources give the very bytes.
TEST_F(ZorasmDefaultImage, ComesBackAsSourcesToEditThatGiveTheSameBytes) {
    std::string error;
    const std::optional<std::vector<zorasm::Name>> names =
        zorasm::ReadNames(zorasm::kDefaultImageSource, zorasm::EmbeddedImageFiles(), error);
    ASSERT_TRUE(names) << error;
    const zorasm::SourceSet set = zorasm::DisassembleToSources(image_.bytes, 0, "default", *names);
    EXPECT_EQ(set.itemsAsBytes, 0u);
    EXPECT_EQ(set.items, 168u);
    std::vector<std::string> files;
    for (const auto& [name, text] : set.files) files.push_back(name);
    EXPECT_EQ(files, (std::vector<std::string>{
                         "bitmaps.art", "font_0_class_0.glyphs", "font_0_class_2.glyphs",
                         "iconset_0_language_202.art", "image.zasm", "names.zasm"}));
    const std::string& main = set.files.at("image.zasm");
    for (const char* line : {"\n.procedure key_row\n", "        PUSH8 v_page\n",
                             "        LIT t_proc\n        RUN_ITEM\n", "\n.string 0, \"",
                             "\n.font 0, \"font_0_class_2.glyphs\", 1559\n"})
        EXPECT_NE(main.find(line), std::string::npos) << line;
    zorasm::MemoryFiles files_;
    for (const auto& [name, text] : set.files) files_.Add(name, text);
    const zorasm::Assembly again = zorasm::Assemble({"image.zasm"}, files_);
    ASSERT_TRUE(again.Ok()) << Errors(again);
    EXPECT_TRUE(again.bytes == image_.bytes) << "the reassembled image differs";
}

// zorasm default --with: the added items stand between the default's last
// item and its end marker, which moves behind them.
TEST_F(ZorasmDefaultImage, AddedItemsGoBeforeTheEndMarkerAndMoveIt) {
    zorasm::MemoryFiles mine;
    mine.Add("mine.zasm", ".string 200, \"Hello\"\n.script 30\n DROP\n END\n");
    const zorasm::Assembly added = zorasm::AssembleDefaultImage({"mine.zasm"}, mine);
    ASSERT_TRUE(added.Ok()) << Errors(added);
    ASSERT_EQ(added.bytes.size(), zorasm::kModuleMemorySize);
    constexpr size_t kEndMarker = 18834;  // where the default image's end marker stands
    const std::vector<uint8_t> addedItems = {0,  10, 200,  4, 'H', 'e', 'l',  'l',  'o',  0,   0, 8,
                                             30, 5,  0x33, 0, 0,   0,   0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_TRUE(
        std::equal(image_.bytes.begin(), image_.bytes.begin() + kEndMarker, added.bytes.begin()));
    EXPECT_TRUE(std::equal(addedItems.begin(), addedItems.end(), added.bytes.begin() + kEndMarker));
    for (size_t i = kEndMarker + addedItems.size(); i < added.bytes.size(); ++i)
        ASSERT_EQ(added.bytes[i], 0) << i;
    // A number the default vocabulary uses is refused with both places.
    mine.Add("mine.zasm", ".string 3, \"x\"\n");
    EXPECT_EQ(Errors(zorasm::AssembleDefaultImage({"mine.zasm"}, mine)),
              "mine.zasm:1:1: string 3 is defined twice: the module finds only the first, at "
              "lcdm/image/unit_page.zasm:7:1 (give this one another number)\n");
}

}  // namespace
}  // namespace zortest
