// Constants, stack moves, arithmetic, variables and the two conversions.
#include "engine_fixture.h"

namespace zortest {
namespace {

using lcdm::Engine;

class StackTags : public EngineTest {};

TEST_F(StackTags, ConstantsPushTheirOperand) {
    EXPECT_EQ(0, Tag(PUSH16, 0x12, 0x34));
    EXPECT_EQ(0, Tag(PUSH8, 0xAB));
    EXPECT_EQ(0, Tag(LIT(0)));
    EXPECT_EQ(0, Tag(LIT(15)));
    EXPECT_EQ(0, Tag(PUSH_FIRMWARE_VERSION));
    EXPECT_EQ((Bytes{0x12, 0x34, 0xAB, 0, 15, 36}), Stack());
}

TEST_F(StackTags, ThirtyOneCellsIsTheMost) {
    FillStack(30);
    EXPECT_EQ(0, Tag(LIT(1)));
    EXPECT_EQ(31, Engine.dataDepth);
    EXPECT_EQ(lcdm::kStatusDataOverflow, Tag(LIT(1)));
    EXPECT_EQ(31, Engine.dataDepth);
    FillStack(30);
    EXPECT_EQ(lcdm::kStatusDataOverflow, Tag(PUSH16, 1, 2));  // needs two cells
    EXPECT_EQ(30, Engine.dataDepth);
}

TEST_F(StackTags, Rearrangements) {
    EXPECT_EQ(0, TagWith(DUP, {1, 2}));
    EXPECT_EQ((Bytes{1, 2, 2}), Stack());
    EXPECT_EQ(0, TagWith(DUP2, {1, 2}));
    EXPECT_EQ((Bytes{1, 2, 1, 2}), Stack());
    EXPECT_EQ(0, TagWith(SWAP, {1, 2}));
    EXPECT_EQ((Bytes{2, 1}), Stack());
    EXPECT_EQ(0, TagWith(ROT, {9, 1, 2, 3}));
    EXPECT_EQ((Bytes{9, 2, 3, 1}), Stack());
    EXPECT_EQ(0, TagWith(OVER, {1, 2}));
    EXPECT_EQ((Bytes{1, 2, 1}), Stack());
    EXPECT_EQ(0, TagWith(DROP2, {1, 2, 3}));
    EXPECT_EQ((Bytes{1}), Stack());
}

TEST_F(StackTags, FailedChecksChangeNothing) {
    EXPECT_EQ(lcdm::kStatusDataUnderflow, TagWith(ROT, {1, 2}));
    EXPECT_EQ((Bytes{1, 2}), Stack());
    EXPECT_EQ(lcdm::kStatusDataUnderflow, TagWith(DUP, Bytes{}));
    FillStack(31);
    EXPECT_EQ(lcdm::kStatusDataOverflow, Tag(DUP));
    EXPECT_EQ(lcdm::kStatusDataOverflow, Tag(OVER));
    FillStack(30);
    EXPECT_EQ(lcdm::kStatusDataOverflow, Tag(DUP2));
    EXPECT_EQ(30, Engine.dataDepth);
}

TEST_F(StackTags, UndropReexposesTheLastPoppedByte) {
    EXPECT_EQ(0, TagWith(UNDROP, Bytes{}));  // cell 1 as it was at program start
    EXPECT_EQ((Bytes{0}), Stack());
    SetStack({4, 5});
    Tag(DROP);
    EXPECT_EQ(0, Tag(UNDROP));
    EXPECT_EQ((Bytes{4, 5}), Stack());
    FillStack(31);
    EXPECT_EQ(lcdm::kStatusDataOverflow, Tag(UNDROP));
}

TEST_F(StackTags, ByteArithmeticWraps) {
    TagWith(ADD, {200, 100});
    EXPECT_EQ((Bytes{44}), Stack());
    TagWith(NEGATE, {0});
    EXPECT_EQ((Bytes{0}), Stack());
    TagWith(NEGATE, {128});
    EXPECT_EQ((Bytes{128}), Stack());
    TagWith(NEGATE, {1});
    EXPECT_EQ((Bytes{255}), Stack());
    TagWith(AND, {0xF0, 0x3C});
    EXPECT_EQ((Bytes{0x30}), Stack());
    TagWith(OR, {0xF0, 0x0C});
    EXPECT_EQ((Bytes{0xFC}), Stack());
    TagWith(XOR, {0xFF, 0x0F});
    EXPECT_EQ((Bytes{0xF0}), Stack());
}

TEST_F(StackTags, Add16CarriesAndWraps) {
    TagWith(ADD16, {0x00, 0xFF, 0x00, 0x01});
    EXPECT_EQ((Bytes{0x01, 0x00}), Stack());
    TagWith(ADD16, {0xFF, 0xEC, 0x00, 50});  // 65516 (-20) + 50
    EXPECT_EQ((Bytes{0x00, 30}), Stack());
    EXPECT_EQ(lcdm::kStatusDataUnderflow, TagWith(ADD16, {1, 2, 3}));
}

TEST_F(StackTags, ComparisonsGiveFlags) {
    TagWith(GREATER, {255, 1});
    EXPECT_EQ((Bytes{255}), Stack());
    TagWith(GREATER_SIGNED, {255, 1});
    EXPECT_EQ((Bytes{0}), Stack());
    TagWith(GREATER_SIGNED, {1, 0x80});
    EXPECT_EQ((Bytes{255}), Stack());
    TagWith(EQUAL, {7, 7});
    EXPECT_EQ((Bytes{255}), Stack());
    TagWith(NOT, {0});
    EXPECT_EQ((Bytes{255}), Stack());
    TagWith(NOT, {3});
    EXPECT_EQ((Bytes{0}), Stack());
}

TEST_F(StackTags, ShiftCountsAreTakenMod32) {
    TagWith(SHIFT_LEFT, {1, 8});
    EXPECT_EQ((Bytes{0}), Stack());
    TagWith(SHIFT_LEFT, {1, 32});
    EXPECT_EQ((Bytes{1}), Stack());
    TagWith(SHIFT_LEFT, {0xFF, 31});
    EXPECT_EQ((Bytes{0}), Stack());
    TagWith(SHIFT_LEFT, {0x81, 1});
    EXPECT_EQ((Bytes{0x02}), Stack());
    TagWith(SHIFT_RIGHT, {0x80, 7});
    EXPECT_EQ((Bytes{1}), Stack());
    TagWith(SHIFT_RIGHT, {0x80, 33});
    EXPECT_EQ((Bytes{0x40}), Stack());
}

TEST_F(StackTags, MulDivUsesTheFullProduct) {
    TagWith(MUL_DIV, {200, 200, 200});
    EXPECT_EQ((Bytes{200}), Stack());
    TagWith(MUL_DIV, {255, 255, 1});  // 65025 keeps its low byte
    EXPECT_EQ((Bytes{1}), Stack());
    TagWith(MUL_DIV, {100, 3, 7});
    EXPECT_EQ((Bytes{42}), Stack());
    EXPECT_EQ(0, TagWith(MUL_DIV, {9, 9, 0}));  // division by 0 gives 255, no error
    EXPECT_EQ((Bytes{255}), Stack());
}

TEST_F(StackTags, VariablesByteAndWord) {
    EXPECT_EQ(0, TagWith(VAR_SET, {0x5A, 63}));
    EXPECT_EQ(0x5A, Engine.TagVariables[63]);
    EXPECT_EQ(0, TagWith(VAR_GET, {63}));
    EXPECT_EQ((Bytes{0x5A}), Stack());
    EXPECT_EQ(0, TagWith(VAR_SET16, {0x12, 0x34, 31}));
    EXPECT_EQ(0x12, Engine.TagVariables[62]);
    EXPECT_EQ(0x34, Engine.TagVariables[63]);
    EXPECT_EQ(0, TagWith(VAR_GET16, {31}));
    EXPECT_EQ((Bytes{0x12, 0x34}), Stack());
}

TEST_F(StackTags, VariableIndexOutOfRangeKeepsItsOperands) {
    EXPECT_EQ(lcdm::kStatusIndexRange, TagWith(VAR_GET, {64}));
    EXPECT_EQ((Bytes{64}), Stack());
    EXPECT_EQ(lcdm::kStatusIndexRange, TagWith(VAR_SET, {1, 64}));
    EXPECT_EQ((Bytes{1, 64}), Stack());
    EXPECT_EQ(lcdm::kStatusIndexRange, TagWith(VAR_GET16, {32}));
    EXPECT_EQ((Bytes{32}), Stack());
    EXPECT_EQ(lcdm::kStatusIndexRange, TagWith(VAR_SET16, {1, 2, 32}));
    EXPECT_EQ((Bytes{1, 2, 32}), Stack());
    FillStack(31);
    EXPECT_EQ(lcdm::kStatusDataOverflow, Tag(VAR_GET16));
    for (uint8_t v : Engine.TagVariables) EXPECT_EQ(0, v);
}

TEST_F(StackTags, LabelStoreBytes) {
    EXPECT_EQ(0, TagWith(STORE_PUT, {0x77, 0x1F, 0xFF}));  // 8191, the last byte
    EXPECT_EQ(0x77, lcdm::Labels.LabelStore[8191]);
    EXPECT_EQ(0, Engine.dataDepth);
    EXPECT_EQ(0, TagWith(STORE_GET, {0x1F, 0xFF}));
    EXPECT_EQ((Bytes{0x77}), Stack());
    EXPECT_EQ(lcdm::kStatusAddressRange, TagWith(STORE_PUT, {0x66, 0x20, 0x00}));
    EXPECT_EQ((Bytes{0x66}), Stack());  // the byte stays when the address is refused
    EXPECT_EQ(lcdm::kStatusAddressRange, TagWith(STORE_GET, {0xFF, 0xFF}));
    EXPECT_EQ(0, Engine.dataDepth);
}

TEST_F(StackTags, PeekAndPokeStayInTheProcessorDataSpace) {
    EXPECT_EQ(0, TagWith(POKE, {0x42, 0x00, 0xFF}));
    EXPECT_EQ(0x42, Engine.processorDataSpace[255]);
    EXPECT_EQ(0, TagWith(PEEK, {0x00, 0xFF}));
    EXPECT_EQ((Bytes{0x42}), Stack());
    EXPECT_EQ(0, TagWith(PEEK, {0x01, 0x00}));  // past the space reads 0
    EXPECT_EQ((Bytes{0}), Stack());
    EXPECT_EQ(lcdm::kStatusAddressRange, TagWith(POKE, {0x42, 0x01, 0x00}));
    EXPECT_EQ((Bytes{0x42}), Stack());
}

TEST_F(StackTags, ToMinSecCountsFiveSecondStepsFromOne) {
    const struct { uint8_t v, seconds, minutes; } cases[] = {
        {1, 0, 0}, {2, 5, 0}, {13, 0, 1}, {0, 11, 68}, {255, 10, 21}};
    for (const auto& c : cases) {
        EXPECT_EQ(0, TagWith(TO_MIN_SEC, {c.v}));
        EXPECT_EQ((Bytes{c.seconds, c.minutes}), Stack()) << int(c.v);
    }
    FillStack(31);
    EXPECT_EQ(lcdm::kStatusDataOverflow, Tag(TO_MIN_SEC));
    EXPECT_EQ(31, Engine.dataDepth);
}

TEST_F(StackTags, SplitSerialGivesBase100Pairs) {
    TagWith(SPLIT_SERIAL, {210, 4, 0, 0});  // 1234
    EXPECT_EQ((Bytes{34, 12, 0, 0, 0, 0}), Stack());
    TagWith(SPLIT_SERIAL, {0, 16, 0, 0});  // 4096: low 0, high 1
    EXPECT_EQ((Bytes{0, 0, 1, 0, 0, 0}), Stack());
    TagWith(SPLIT_SERIAL, {0xFF, 0xFF, 0xFF, 0xFF});  // low 4095, high 1048575
    EXPECT_EQ((Bytes{95, 40, 75, 85, 4, 1}), Stack());
    FillStack(30);
    EXPECT_EQ(lcdm::kStatusDataOverflow, Tag(SPLIT_SERIAL));
    EXPECT_EQ(30, Engine.dataDepth);
}

}  // namespace
}  // namespace zortest
