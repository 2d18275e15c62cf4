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

// Every tag checks its operands (data stack, then return stack) and then its
// room before it does anything else: a failed check sets the status and
// changes nothing, neither the stacks nor what the tag would have touched.
TEST_F(StackTags, FailedChecksChangeNothing) {
    constexpr uint8_t kUnder = lcdm::kStatusDataUnderflow, kOver = lcdm::kStatusDataOverflow,
                      kReturnOver = lcdm::kStatusReturnOverflow;
    const struct {
        uint8_t opcode, dataDepth, returnDepth, status;
    } cases[] = {
        // clang-format off
        // Stack moves, arithmetic, variables, label store and data space.
        {DUP, 0, 0, kUnder}, {DUP2, 1, 0, kUnder}, {SWAP, 1, 0, kUnder}, {ROT, 2, 0, kUnder},
        {OVER, 1, 0, kUnder}, {AND, 1, 0, kUnder}, {NOT, 0, 0, kUnder}, {NEGATE, 0, 0, kUnder},
        {MUL_DIV, 2, 0, kUnder}, {VAR_GET, 0, 0, kUnder}, {VAR_GET16, 0, 0, kUnder},
        {VAR_SET, 1, 0, kUnder}, {VAR_SET16, 2, 0, kUnder}, {STORE_GET, 1, 0, kUnder},
        {STORE_PUT, 2, 0, kUnder}, {PEEK, 1, 0, kUnder}, {POKE, 2, 0, kUnder},
        {TO_MIN_SEC, 0, 0, kUnder}, {SPLIT_SERIAL, 3, 0, kUnder},
        {DUP, 31, 0, kOver}, {OVER, 31, 0, kOver}, {DUP2, 30, 0, kOver},
        {PUSH_FIRMWARE_VERSION, 31, 0, kOver},
        // Control flow and the return stack.
        {BRANCH_IF_ZERO, 0, 0, kUnder}, {SELECT, 0, 0, kUnder}, {SKIP_IF_ZERO, 0, 0, kUnder},
        {SKIP_IF_NONZERO, 0, 0, kUnder}, {TO_RSTACK, 0, 0, kUnder},
        {TO_RSTACK, 1, 31, kReturnOver}, {FETCH_R, 31, 2, kOver},
        // Drawing, text output and the unit's hooks.
        {PLOT, 0, 0, kUnder}, {LINE_TO, 3, 0, kUnder}, {RECTANGLE, 3, 0, kUnder},
        {EMIT, 0, 0, kUnder}, {EMIT_HEX, 0, 0, kUnder}, {PRINT_U8, 1, 0, kUnder},
        {PRINT_S8, 0, 0, kUnder}, {PRINT_S16, 1, 0, kUnder}, {OUTPUT, 0, 0, kUnder},
        {SWITCH, 0, 0, kUnder}, {DRAW_LOGO, 0, 0, kUnder}, {GET_Y, 30, 0, kOver},
        // Vocabulary items and languages; 0x11 on top is no item type of theirs.
        {FIND_ITEM, 1, 0, kUnder}, {RUN_ITEM, 1, 0, kUnder}, {SELECT_ICON_SET, 1, 0, kUnder},
        {PRINT_STRING, 2, 0, lcdm::kStatusWrongType}, {DRAW_ICON, 1, 0, kUnder},
        {SET_LANGUAGE, 0, 0, kUnder}, {USED_LANGUAGE, 0, 0, kUnder},
        {GET_LANGUAGE, 31, 0, kOver}, {GET_FONT_CLASS, 31, 0, kOver},
        {PUSH_VOCABULARY_ID, 31, 0, kOver},
        // clang-format on
    };
    for (const auto& c : cases) {
        lcdm::ModuleReset();
        FillStack(c.dataDepth);
        for (uint8_t i = 1; i <= c.returnDepth; ++i) Engine.returnStack[i] = 0x22;
        Engine.returnDepth = c.returnDepth;
        Engine.programCounter = 500;
        lcdm::Graphics.GraphicsCursor = {5, 6};
        const Bytes data = Stack(), returns = ReturnStack();
        const Bytes store(lcdm::Labels.LabelStore, lcdm::Labels.LabelStore + lcdm::kLabelStoreSize);
        const char* name = lcdm::Opcode(c.opcode).mnemonic;

        EXPECT_EQ(c.status, Tag(c.opcode)) << name;
        EXPECT_EQ(data, Stack()) << name;
        EXPECT_EQ(returns, ReturnStack()) << name;
        EXPECT_EQ(500, Engine.programCounter) << name;
        EXPECT_EQ(0, PixelsOn()) << name;
        EXPECT_EQ(5, lcdm::Graphics.GraphicsCursor.x) << name;
        EXPECT_EQ(1, lcdm::Language.currentLanguage) << name;
        EXPECT_EQ(store,
                  Bytes(lcdm::Labels.LabelStore, lcdm::Labels.LabelStore + lcdm::kLabelStoreSize))
            << name;
        for (uint8_t v : Engine.TagVariables) EXPECT_EQ(0, v) << name;
        for (uint8_t v : Engine.processorDataSpace) EXPECT_EQ(0, v) << name;
    }
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
