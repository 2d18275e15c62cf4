// Jumps, calls, branches, SELECT, returns, skips and the return stack.
#include "engine_fixture.h"

namespace zortest {
namespace {

using lcdm::Engine;

class ControlTags : public EngineTest {
protected:
    // Executes the tag at `address` through the fetch cycle.
    static uint8_t FetchAt(uint16_t address) {
        Engine.programCounter = address;
        Engine.StatusRegister = 0;
        lcdm::FetchCycle();
        return Engine.StatusRegister;
    }
};

TEST_F(ControlTags, JumpAndCallRefuseAddressesPastMemory) {
    Engine.programCounter = 500;
    EXPECT_EQ(lcdm::kStatusAddressRange, Tag(JUMP, 0x91, 0xE0));  // 37344
    EXPECT_EQ(500, Engine.programCounter);
    EXPECT_EQ(0, Tag(JUMP, 0x91, 0xDF));
    EXPECT_EQ(37343, Engine.programCounter);
    EXPECT_EQ(lcdm::kStatusAddressRange, Tag(CALL, 0xFF, 0xFF));
    EXPECT_EQ(0, Engine.returnDepth);
}

TEST_F(ControlTags, CallPushesTheNextTagAndReturnComesBack) {
    Poke(100, {CALL, 0x01, 0x00});  // call 256
    EXPECT_EQ(0, FetchAt(100));
    EXPECT_EQ(256, Engine.programCounter);
    EXPECT_EQ((Bytes{0, 103}), ReturnStack());
    EXPECT_EQ(0, Tag(RETURN));
    EXPECT_EQ(103, Engine.programCounter);
    EXPECT_EQ(lcdm::kStatusReturnUnderflow, Tag(RETURN));
    EXPECT_EQ(103, Engine.programCounter);
}

TEST_F(ControlTags, FifteenReturnAddressesFit) {
    for (int i = 0; i < 15; ++i) ASSERT_EQ(0, Tag(CALL, 0, 200));
    EXPECT_EQ(30, Engine.returnDepth);
    Engine.programCounter = 7;
    EXPECT_EQ(lcdm::kStatusReturnOverflow, Tag(CALL, 0, 200));
    EXPECT_EQ(7, Engine.programCounter);
    EXPECT_EQ(30, Engine.returnDepth);
}

TEST_F(ControlTags, BranchCountsFromTheNextTag) {
    Poke(100, {BRANCH, 0xFE});
    EXPECT_EQ(0, FetchAt(100));
    EXPECT_EQ(100, Engine.programCounter);  // -2 targets the branch itself
    Poke(100, {BRANCH, 0x00});
    EXPECT_EQ(0, FetchAt(100));
    EXPECT_EQ(102, Engine.programCounter);
    Poke(100, {BRANCH, 0x7F});
    EXPECT_EQ(0, FetchAt(100));
    EXPECT_EQ(229, Engine.programCounter);
}

TEST_F(ControlTags, BranchTargetsMustLieWithinZeroTo37344) {
    Poke(0, {BRANCH, 0xFD});  // 2 - 3 = -1
    EXPECT_EQ(lcdm::kStatusAddressRange, FetchAt(0));
    EXPECT_EQ(2, Engine.programCounter);
    Poke(0, {BRANCH, 0xFE});  // exactly 0
    EXPECT_EQ(0, FetchAt(0));
    EXPECT_EQ(0, Engine.programCounter);

    Engine.programCounter = 37300;
    EXPECT_EQ(lcdm::kStatusAddressRange, Tag(BRANCH, 45));
    EXPECT_EQ(37300, Engine.programCounter);
    EXPECT_EQ(0, Tag(BRANCH, 44));
    EXPECT_EQ(37344, Engine.programCounter);
    lcdm::FetchCycle();  // reads 0 there: END
    EXPECT_EQ(lcdm::kStatusEnded, Engine.StatusRegister);
}

TEST_F(ControlTags, ConditionalBranchesPopTheFlagEvenWhenRefused) {
    Engine.programCounter = 50;
    EXPECT_EQ(0, TagWith(BRANCH_IF_ZERO, {1}));
    EXPECT_EQ(50, Engine.programCounter);
    EXPECT_EQ(0, TagWith(BRANCH_IF_ZERO, {0}));
    Engine.programCounter = 50;
    SetStack({0});
    Tag(BRANCH_IF_ZERO, 10);
    EXPECT_EQ(60, Engine.programCounter);
    SetStack({5});
    Tag(BRANCH_IF_NONZERO, 0xF6);
    EXPECT_EQ(50, Engine.programCounter);
    Engine.programCounter = 2;
    SetStack({9, 0});
    EXPECT_EQ(lcdm::kStatusAddressRange, Tag(BRANCH_IF_ZERO, 0x80));
    EXPECT_EQ((Bytes{9}), Stack());
    EXPECT_EQ(2, Engine.programCounter);
    EXPECT_EQ(lcdm::kStatusDataUnderflow, TagWith(BRANCH_IF_NONZERO, Bytes{}));
}

TEST_F(ControlTags, ReturnStackMoves) {
    EXPECT_EQ(0, TagWith(TO_RSTACK, {1, 2}));
    EXPECT_EQ((Bytes{1}), Stack());
    EXPECT_EQ((Bytes{2}), ReturnStack());
    EXPECT_EQ(0, Tag(FROM_RSTACK));
    EXPECT_EQ((Bytes{1, 2}), Stack());
    EXPECT_EQ(lcdm::kStatusReturnUnderflow, Tag(FROM_RSTACK));
    FillStack(31);
    Tag(TO_RSTACK);
    FillStack(31);
    EXPECT_EQ(lcdm::kStatusDataOverflow, Tag(FROM_RSTACK));  // operand there, no room
    EXPECT_EQ(1, Engine.returnDepth);
}

TEST_F(ControlTags, FetchRReadsTheFrameBufferBelow1024) {
    lcdm::Graphics.FrameBuffer[1023] = 0xA5;
    Poke(1024, {0x5A});
    for (const auto& [address, expected] :
         {std::pair{1023, 0xA5}, {1024, 0x5A}, {37344, 0}, {65535, 0}}) {
        Engine.returnDepth = 0;
        Engine.returnStack[1] = static_cast<uint8_t>(address >> 8);
        Engine.returnStack[2] = static_cast<uint8_t>(address & 0xFF);
        Engine.returnDepth = 2;
        SetStack({});
        EXPECT_EQ(0, Tag(FETCH_R));
        EXPECT_EQ((Bytes{static_cast<uint8_t>(expected)}), Stack()) << address;
        EXPECT_EQ(0, Engine.returnDepth);
    }
    Engine.returnDepth = 1;
    EXPECT_EQ(lcdm::kStatusReturnUnderflow, Tag(FETCH_R));
}

TEST_F(ControlTags, SkipsStepOverOneWholeTag) {
    const struct {
        Bytes code;
        uint8_t flag;
        uint16_t next;
    } cases[] = {{{SKIP_IF_ZERO, PUSH16, 1, 2, DROP}, 0, 104},
                 {{SKIP_IF_ZERO, PUSH16, 1, 2, DROP}, 1, 101},
                 {{SKIP_IF_NONZERO, PUSH8, 9, DROP}, 7, 103},
                 {{SKIP_IF_NONZERO, PUSH8, 9, DROP}, 0, 101},
                 // A skipped SELECT loses its opcode and count; its table is not skipped.
                 {{SKIP_IF_NONZERO, SELECT, 2, 0, 1, 0, 2}, 7, 103}};
    for (const auto& c : cases) {
        Poke(100, c.code);
        SetStack({c.flag});
        EXPECT_EQ(0, FetchAt(100));
        EXPECT_EQ(c.next, Engine.programCounter) << int(c.code[0]) << " " << int(c.flag);
        EXPECT_EQ(0, Engine.dataDepth);
    }
}

TEST_F(ControlTags, PushPcPushesTheAddressAfterTheNextTag) {
    Poke(100, {PUSH_PC});
    EXPECT_EQ(0, FetchAt(100));
    EXPECT_EQ((Bytes{0, 102}), Stack());
    SetStack({});
    Engine.programCounter = 0xFFFF;
    Tag(PUSH_PC);
    EXPECT_EQ((Bytes{0, 0}), Stack());  // wraps
    FillStack(30);
    EXPECT_EQ(lcdm::kStatusDataOverflow, Tag(PUSH_PC));
}

// ---------------------------------------------------------------- SELECT ---

class Select : public ControlTags {
protected:
    // Procedures set variable (number) to 1 and return; procedure 0 records
    // the byte it finds on the stack in variable 0.
    void BuildVocabulary(bool withProcedure0 = true, const Bytes& script1 = {}) {
        VocabularyBuilder voc;
        if (!script1.empty()) voc.Add(1, lcdm::kItemScript, script1);
        if (withProcedure0) voc.Add(0, lcdm::kItemProcedure, {DUP, LIT(0), VAR_SET, RETURN});
        for (uint8_t n : {21, 28, 31}) voc.Add(n, lcdm::kItemProcedure, {LIT(1), PUSH8, n, VAR_SET, RETURN});
        voc.Init();
    }
    // Page selection by the low three bits of variable 26, then RETURN.
    const Bytes kPageSelect{PUSH8, 26, VAR_GET, LIT(7), AND, SELECT, 5, 1, 31, 1, 51,
                            1, 21, 1, 28, 1, 29, LIT(3), PUSH8, 3, VAR_SET, END, 0, 0};
};

TEST_F(Select, EntryRunsItsProcedureWhichReturnsAfterTheTable) {
    BuildVocabulary(true, kPageSelect);
    Engine.TagVariables[26] = 2;
    lcdm::RunScript(1, 0);
    EXPECT_EQ(lcdm::kStatusEnded, Engine.StatusRegister);
    EXPECT_EQ(1, Engine.TagVariables[21]);
    EXPECT_EQ(3, Engine.TagVariables[3]);  // went on after the table
}

TEST_F(Select, SelectorPastTheTableRunsProcedure0With17) {
    BuildVocabulary(true, kPageSelect);
    Engine.TagVariables[26] = 5;
    lcdm::RunScript(1, 0);
    EXPECT_EQ(lcdm::kStatusEnded, Engine.StatusRegister);
    EXPECT_EQ(17, Engine.TagVariables[0]);
    EXPECT_EQ(3, Engine.TagVariables[3]);
}

// The default case pops the selector and steps past the table before it
// looks for procedure 0 and for return room; a refusal leaves it at that.
TEST_F(Select, DefaultRefusals) {
    const struct {
        bool withProcedure0;
        uint8_t returnDepth, status;
    } cases[] = {{false, 0, lcdm::kStatusNotFound}, {true, 30, lcdm::kStatusReturnOverflow}};
    for (const auto& c : cases) {
        lcdm::ModuleReset();
        BuildVocabulary(c.withProcedure0);
        Engine.returnDepth = c.returnDepth;
        Engine.programCounter = 300;
        SetStack({0, 2});
        EXPECT_EQ(c.status, Tag(SELECT, 2));
        EXPECT_EQ((Bytes{0}), Stack());  // selector popped
        EXPECT_EQ(304, Engine.programCounter);
        EXPECT_EQ(c.returnDepth, Engine.returnDepth);
    }
}

TEST_F(Select, CountZeroAndConstantEntries) {
    Engine.programCounter = 300;
    SetStack({4});
    EXPECT_EQ(0, Tag(SELECT, 0));
    EXPECT_EQ((Bytes{4}), Stack());
    EXPECT_EQ(300, Engine.programCounter);
    Poke(300, {0, 10, 0, 20, 0, 30});  // a lookup table
    SetStack({2});
    EXPECT_EQ(0, Tag(SELECT, 3));
    EXPECT_EQ((Bytes{30}), Stack());
    EXPECT_EQ(306, Engine.programCounter);
}

// An entry pushes its number and type and runs the item tag of its type on
// them, so that tag's own refusals show: a missing bitmap or string and a key
// beyond 8 keep both bytes, a font is taken even when the vocabulary lacks
// it, and a type no tag takes gives 10 with both bytes kept.
TEST_F(Select, EntriesActByTheirType) {
    const struct {
        uint8_t type, number, status;
        Bytes stack;
        uint8_t fontNumber;
    } cases[] = {{lcdm::kItemBitmap, 9, lcdm::kStatusNotFound, {9, lcdm::kItemBitmap}, 0},
                 {lcdm::kItemTextFont, 9, 0, {}, 9},
                 {lcdm::kItemString, 9, lcdm::kStatusNotFound, {9, lcdm::kItemString}, 0},
                 {lcdm::kItemKeyLabel, 9, lcdm::kStatusIndexRange, {9, lcdm::kItemKeyLabel}, 0},
                 {7, 10, lcdm::kStatusWrongType, {10, 7}, 0}};
    for (const auto& c : cases) {
        lcdm::ModuleReset();
        Poke(300, {c.type, c.number});
        Engine.programCounter = 300;
        SetStack({0});
        EXPECT_EQ(c.status, Tag(SELECT, 1)) << int(c.type);
        EXPECT_EQ(c.stack, Stack()) << int(c.type);
        EXPECT_EQ(302, Engine.programCounter) << int(c.type);
        EXPECT_EQ(c.fontNumber, lcdm::Language.fontNumber) << int(c.type);
    }
}

TEST_F(Select, FullStackRefusesAnEntryButNotTheDefault) {
    BuildVocabulary();
    FillStack(31);
    Engine.dataStack[31] = 0;  // selector 0 of 2
    Engine.programCounter = 300;
    EXPECT_EQ(lcdm::kStatusDataOverflow, Tag(SELECT, 2));
    EXPECT_EQ(31, Engine.dataDepth);
    EXPECT_EQ(300, Engine.programCounter);
    Engine.dataStack[31] = 2;  // the default replaces the selector by 17
    EXPECT_EQ(0, Tag(SELECT, 2));
    EXPECT_EQ(31, Engine.dataDepth);
    EXPECT_EQ(17, Engine.dataStack[31]);
    EXPECT_EQ((Bytes{0x01, 0x30}), ReturnStack());  // back to 304
}

}  // namespace
}  // namespace zortest
