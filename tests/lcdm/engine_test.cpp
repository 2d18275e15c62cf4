// The fetch cycle, host-run scripts, DELAY waits and the run guard.
#include "engine_fixture.h"

namespace zortest {
namespace {

using lcdm::Engine;

class Engine_ : public EngineTest {};

TEST_F(Engine_, InvalidOpcodesConsumeTheirOperandsBeforeFailing) {
    for (const auto& [opcode, length] : {std::pair{4, 3}, {15, 3}, {21, 2}, {31, 2}, {119, 1},
                                         {120, 1}, {122, 1}, {255, 1}}) {
        Poke(100, {static_cast<uint8_t>(opcode), 0x33, 0x44});
        Engine.programCounter = 100;
        Engine.StatusRegister = 0;
        lcdm::FetchCycle();
        EXPECT_EQ(lcdm::kStatusInvalidOpcode, Engine.StatusRegister) << opcode;
        EXPECT_EQ(100 + length, Engine.programCounter) << opcode;  // after the tag, not on it
    }
}

TEST_F(Engine_, FetchWrapsTheProgramCounterAndReadsPastMemoryAsEnd) {
    Engine.programCounter = 0xFFFF;
    lcdm::FetchCycle();  // opcode 0 at 65535, operands at 0 and 1
    EXPECT_EQ(lcdm::kStatusEnded, Engine.StatusRegister);
    EXPECT_EQ(2, Engine.programCounter);
}

TEST_F(Engine_, RunLeavesTheParameterForTheScriptAndEmptiesTheStacks) {
    // VAR_SET the parameter into variable 5, then END.
    EXPECT_EQ(lcdm::kStatusEnded, RunProgram({PUSH8, 5, VAR_SET, LIT(1), LIT(2), END, 0, 0}, 77));
    EXPECT_EQ(77, Engine.TagVariables[5]);
    EXPECT_EQ(0, Engine.dataDepth);
    EXPECT_EQ(0, Engine.returnDepth);
}

TEST_F(Engine_, RunOfAMissingScriptDrawsNothingAndLeavesStatus2) {
    VocabularyBuilder voc;
    voc.Add(3, lcdm::kItemScript, {CLEAR, PLOT, END, 0, 0});
    voc.Init();
    lcdm::DrawPixel(1, 1, true);
    lcdm::RunScript(4, 0);
    EXPECT_EQ(lcdm::kStatusNotFound, Engine.StatusRegister);
    EXPECT_TRUE(PixelOn(1, 1));
    EXPECT_EQ(0, Engine.dataDepth);
}

TEST_F(Engine_, RunWithoutVocabularyFindsNothing) {
    lcdm::RunScript(0, 0);
    EXPECT_EQ(lcdm::kStatusNotFound, Engine.StatusRegister);
}

TEST_F(Engine_, ErrorsStopTheRunAndEmptyTheStacks) {
    EXPECT_EQ(lcdm::kStatusDataUnderflow, RunProgram({DROP, DROP, LIT(9), PUSH8, 1, VAR_SET}));
    EXPECT_EQ(0, Engine.TagVariables[1]);  // the tags after the failure never ran
    EXPECT_EQ(0, Engine.dataDepth);
    EXPECT_EQ(lcdm::kStatusInvalidOpcode, RunProgram({LIT(1), 200}));
    EXPECT_EQ(0, Engine.dataDepth);
}

TEST_F(Engine_, ScriptRunningToTheEndOfMemoryEndsNormally) {
    // A filler item, then a script of NOPs whose last byte is at 37343.
    const uint16_t script = lcdm::kModuleMemorySize - 10;
    VocabularyBuilder voc;
    voc.Add(0, lcdm::kItemKeyLabel, Bytes(script - 8, 0));
    ASSERT_EQ(script, voc.Add(1, lcdm::kItemScript, Bytes(6, NOP)));
    ASSERT_EQ(3, voc.Init());
    lcdm::RunScript(1, 0);
    EXPECT_EQ(lcdm::kStatusEnded, Engine.StatusRegister);
}

TEST_F(Engine_, RefreshRunsScript10WithParameter255) {
    VocabularyBuilder voc;
    voc.Add(10, lcdm::kItemScript, {PUSH8, 7, VAR_SET, END, 0, 0});
    voc.Init();
    lcdm::Refresh();
    EXPECT_EQ(255, Engine.TagVariables[7]);
    EXPECT_EQ(lcdm::kStatusEnded, Engine.StatusRegister);
}

// ---------------------------------------------------------------- DELAY ---

int gPumpCalls = 0;
uint8_t CountingPump() {
    ++gPumpCalls;
    if (Engine.DelayCounter > 0) --Engine.DelayCounter;  // one timer tick per pass
    return 0;
}

class Delay : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        gPumpCalls = 0;
    }
    void TearDown() override { lcdm::SetRenderLcdAndPump(nullptr); }
};

TEST_F(Delay, PumpsOncePerTickAndAtLeastOnce) {
    lcdm::SetRenderLcdAndPump(CountingPump);
    EXPECT_EQ(0, TagWith(DELAY, {3}));
    EXPECT_EQ(3, gPumpCalls);
    EXPECT_EQ(0, Engine.DelayCounter);
    EXPECT_EQ(0, Engine.dataDepth);
    EXPECT_EQ(0, TagWith(DELAY, {0}));
    EXPECT_EQ(4, gPumpCalls);  // DELAY 0 still redraws once
}

TEST_F(Delay, WithoutAFrontEndCountsItselfDown) {
    EXPECT_EQ(0, TagWith(DELAY, {200}));
    EXPECT_EQ(0, Engine.DelayCounter);
    EXPECT_EQ(lcdm::kStatusDataUnderflow, TagWith(DELAY, Bytes{}));
}

// A host command carried out during the wait runs a script of its own: the
// interrupted program ends at its next test instead of going on.
uint8_t PumpThatRunsAScript() {
    if (gPumpCalls++ == 0) lcdm::RunScript(2, 0);
    if (Engine.DelayCounter > 0) --Engine.DelayCounter;
    return 0;
}

TEST_F(Delay, ACommandDuringTheWaitEndsTheInterruptedProgram) {
    VocabularyBuilder voc;
    voc.Add(1, lcdm::kItemScript, {LIT(2), DELAY, PUSH8, 9, VAR_SET, END, 0, 0});
    voc.Add(2, lcdm::kItemScript, {PUSH8, 8, VAR_SET, END, 0, 0});
    voc.Init();
    lcdm::SetRenderLcdAndPump(PumpThatRunsAScript);
    lcdm::RunScript(1, 42);
    EXPECT_EQ(lcdm::kStatusEnded, Engine.StatusRegister);
    EXPECT_EQ(0, Engine.TagVariables[8]);   // script 2 got parameter 0
    EXPECT_EQ(0, Engine.TagVariables[9]);   // script 1 never reached its VAR_SET
    EXPECT_EQ(0, Engine.dataDepth);
}

// ------------------------------------------------------------ run guard ---

TEST_F(Engine_, RunGuardEndsAnEndlessLoop) {
    EXPECT_EQ(lcdm::kStatusRunGuard, RunProgram({BRANCH, 0xFE}));
    EXPECT_EQ(0, Engine.dataDepth);
    EXPECT_EQ(lcdm::kRunGuardTags, Engine.tagsSinceWait);
}

// What a run's end shows a fault report: the status, the tag that stopped
// the run and the stacks as it left them, before RunScript empties them.
struct RunEnd {
    uint8_t number = 0, parameter = 0, status = 0, dataDepth = 0, top = 0;
    uint16_t lastTag = 0;
};
RunEnd gRunEnd;
void RecordRunEnd(uint8_t number, uint8_t parameter) {
    gRunEnd = {number, parameter, Engine.StatusRegister, Engine.dataDepth,
               Engine.dataStack[Engine.dataDepth], Engine.lastTagAddress};
}

TEST_F(Engine_, TheRunEndHookSeesWhereAndHowARunStopped) {
    lcdm::SetRunEndHook(RecordRunEnd);
    struct Case {
        Bytes code;
        uint8_t status;
        uint16_t lastTagOffset;  // from the script's first tag
        uint8_t dataDepth, top;
    };
    const Case cases[] = {
        // The run starts with its parameter on the data stack.
        {{LIT(7), END, 0, 0}, lcdm::kStatusEnded, 1, 0, 0},  // END empties the stacks itself
        {{LIT(7), PUSH8, 9, DROP, DROP, DROP, DROP}, lcdm::kStatusDataUnderflow, 6, 0, 0},
        {{LIT(7), PUSH8, 9, 200}, lcdm::kStatusInvalidOpcode, 3, 3, 9},
        {{NOP, BRANCH, 0xFD}, lcdm::kStatusRunGuard, 1, 1, 42},  // the loop: NOP at 0, BRANCH at 1
    };
    for (const Case& c : cases) {
        gRunEnd = {};
        EXPECT_EQ(c.status, RunProgram(c.code, 42));
        EXPECT_EQ(1, gRunEnd.number);
        EXPECT_EQ(42, gRunEnd.parameter);
        EXPECT_EQ(c.status, gRunEnd.status);
        EXPECT_EQ(ScriptBody() + c.lastTagOffset, gRunEnd.lastTag) << int{c.status};
        EXPECT_EQ(c.dataDepth, gRunEnd.dataDepth) << int{c.status};
        EXPECT_EQ(c.top, gRunEnd.top) << int{c.status};
        EXPECT_EQ(0, Engine.dataDepth);  // emptied after the hook
    }
    // The trail of a run-guard stop holds the loop's last tags, oldest first.
    for (uint32_t i = 0; i < lcdm::kGuardTrailTags; ++i)
        EXPECT_EQ(ScriptBody() + (i % 2 == 0 ? 0 : 1), Engine.guardTrail[i]) << i;
    lcdm::SetRunEndHook(nullptr);
}

// Waiting in DELAY resets the count: a long animation is not a runaway.
uint8_t PumpThatStopsLater() {
    if (++gPumpCalls == static_cast<int>(lcdm::kRunGuardTags / 2)) Engine.StatusRegister = 1;
    Engine.DelayCounter = 0;
    return 0;
}

TEST_F(Delay, WaitingResetsTheRunGuard) {
    lcdm::SetRenderLcdAndPump(PumpThatStopsLater);
    // LIT 0; DELAY; BRANCH -4: three tags a pass, well past the bound in all.
    EXPECT_EQ(lcdm::kStatusEnded, RunProgram({LIT(0), DELAY, BRANCH, 0xFC}));
    EXPECT_EQ(static_cast<int>(lcdm::kRunGuardTags / 2), gPumpCalls);
}

// -------------------------------------------------------------- tracing ---

std::vector<std::pair<uint16_t, uint8_t>> gTrace;
void Record(uint16_t address, uint8_t opcode, uint8_t, uint8_t) { gTrace.push_back({address, opcode}); }

TEST_F(Engine_, TraceHookSeesEveryTagWithItsAddress) {
    gTrace.clear();
    lcdm::SetTagTraceHook(Record);
    RunProgram({PUSH8, 1, DROP, END, 0, 0});
    lcdm::SetTagTraceHook(nullptr);
    const uint16_t body = ScriptBody();
    ASSERT_EQ(3u, gTrace.size());
    EXPECT_EQ((std::pair<uint16_t, uint8_t>{body, PUSH8}), gTrace[0]);
    EXPECT_EQ((std::pair<uint16_t, uint8_t>{uint16_t(body + 2), DROP}), gTrace[1]);
    EXPECT_EQ((std::pair<uint16_t, uint8_t>{uint16_t(body + 3), END}), gTrace[2]);
}

}  // namespace
}  // namespace zortest
