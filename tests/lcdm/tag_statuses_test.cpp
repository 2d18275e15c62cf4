// The statuses the tag reference lists for each tag (LCDM_TAG_STATUSES in
// the tag list) are the ones the tag sets: every tag runs thousands of times
// on random stacks, operands, cursors and program counters over a small
// vocabulary with items of every kind (and a bitmap that cannot be drawn),
// and the statuses seen must be exactly the ones listed.
#include <map>
#include <random>
#include <set>
#include <string>

#include "Lcdm_opcode_list.h"
#include "engine_fixture.h"

namespace zortest {
namespace {

std::map<std::string, std::set<uint8_t>> Listed() {
    std::map<std::string, std::set<uint8_t>> listed;
    using namespace lcdm;
#define ZORTEST_STATUS_ROW(mnemonic, ...) listed[#mnemonic] = {__VA_ARGS__};
    LCDM_TAG_STATUSES(ZORTEST_STATUS_ROW)
#undef ZORTEST_STATUS_ROW
    return listed;
}

class TagStatuses : public EngineTest {
protected:
    // Items of every kind, numbered 0..2, so that random (number, type)
    // pairs find some and miss others; bitmap 2 cannot be drawn. A SELECT
    // run with its program counter in here reads the items as its table.
    static void WriteVocabulary() {
        VocabularyBuilder voc(20000);
        voc.Add(0, lcdm::kItemProcedure, {0x49});  // RETURN
        voc.Add(1, lcdm::kItemScript, {0, 0, 0});  // END
        voc.Add(0, lcdm::kItemBitmap, {0, 0, 1, 0, 8, 0, 1, 0, 0xA5});
        voc.Add(2, lcdm::kItemBitmap, {9, 0, 1, 0, 8, 0, 1, 0, 0xA5});  // compression 9
        voc.Add(0, lcdm::kItemString, {'h', 'i', 0});
        voc.Add(1, lcdm::kItemString, {6, 9, 6, 0, 0});  // read as a SELECT table: keys 9 and 0
        voc.Add(0, lcdm::kItemTextFont, {128, 'A', 'A', 4, 3, 2, 1, 0, 0, 0x00, 2, 0x80});
        voc.Add(0, lcdm::kItemIconSet, {0, 1, 0, 9, 0, 7, 8, 1, 0, 0, 0xFF});
        ASSERT_GT(voc.Init(), 0);
    }

    uint8_t Operand(std::mt19937& random) {
        const unsigned pick = random() % 10;
        return static_cast<uint8_t>(pick < 6 ? random() % 8 : pick < 8 ? random() % 40 : random());
    }
};

TEST_F(TagStatuses, EachTagSetsExactlyTheStatusesTheReferenceLists) {
    const std::map<std::string, std::set<uint8_t>> listed = Listed();
    std::mt19937 random(2718);
    std::map<std::string, std::set<uint8_t>> seen;
    for (int op = 0; op < 256; ++op) {
        const auto opcode = static_cast<uint8_t>(op);
        const char* mnemonic = lcdm::Opcode(opcode).mnemonic;
        if (mnemonic == nullptr || opcode == lcdm::kOpEnd) continue;
        ASSERT_TRUE(listed.count(mnemonic)) << mnemonic;
        for (int trial = 0; trial < 3000; ++trial) {
            lcdm::ModuleReset();
            WriteVocabulary();
            const unsigned depths = random();
            lcdm::Engine.dataDepth = 0;
            for (unsigned i = depths % 32; i > 0; --i)
                lcdm::Engine.dataStack[++lcdm::Engine.dataDepth] = Operand(random);
            lcdm::Engine.returnDepth = 0;
            for (unsigned i = (depths >> 8) % 32; i > 0; --i)
                lcdm::Engine.returnStack[++lcdm::Engine.returnDepth] =
                    static_cast<uint8_t>(random());
            // Near the end of memory, inside the vocabulary or anywhere.
            const unsigned where = random() % 3;
            lcdm::Engine.programCounter =
                static_cast<uint16_t>(where == 0   ? lcdm::kModuleMemorySize - random() % 300
                                      : where == 1 ? 20000 + random() % 80
                                                   : random() % lcdm::kModuleMemorySize);
            lcdm::Graphics.GraphicsCursor = lcdm::Point{static_cast<int>(random() % 80) - 8,
                                                        static_cast<int>(random() % 140) - 8};
            lcdm::Language.currentLanguage = static_cast<uint8_t>(random() % 4);
            seen[mnemonic].insert(Tag(opcode, Operand(random), static_cast<uint8_t>(random())));
        }
    }
    seen["END"].insert(Tag(lcdm::kOpEnd));
    for (const auto& [mnemonic, statuses] : seen) {
        std::set<uint8_t> unlisted, unseen;
        for (uint8_t status : statuses)
            if (status != lcdm::kStatusOk && !listed.at(mnemonic).count(status))
                unlisted.insert(status);
        for (uint8_t status : listed.at(mnemonic))
            if (!statuses.count(status)) unseen.insert(status);
        EXPECT_TRUE(unlisted.empty()) << mnemonic << " sets " << int(*unlisted.begin())
                                      << ", which the reference does not list";
        EXPECT_TRUE(unseen.empty())
            << mnemonic << " never set " << int(*unseen.begin()) << ", which the reference lists";
    }
}

}  // namespace
}  // namespace zortest
