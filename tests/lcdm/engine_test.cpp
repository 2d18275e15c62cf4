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

// ------------------------------------------- the ways a tag can be run ---
// With the trace hook set every tag goes through FetchCycle; without it the
// fast loop runs them, threaded or through the table. All three must leave
// the engine exactly alike, also where the fast loop takes its checked path.

struct EngineAfterRun {
    uint8_t status, dataDepth, returnDepth, opcode, byte1, byte2;
    uint16_t pc, lastTag;
    uint32_t tagsSinceWait;
    Bytes stacks, trail;
    bool operator==(const EngineAfterRun&) const = default;
};
EngineAfterRun gAfterRun;
void KeepEngineAtRunEnd(uint8_t, uint8_t) {
    Bytes stacks(Engine.dataStack, Engine.dataStack + lcdm::kStackCells);
    stacks.insert(stacks.end(), Engine.returnStack, Engine.returnStack + lcdm::kStackCells);
    Bytes trail;
    for (uint16_t address : Engine.guardTrail)
        trail.insert(trail.end(), {uint8_t(address >> 8), uint8_t(address)});
    gAfterRun = {Engine.StatusRegister,
                 Engine.dataDepth,
                 Engine.returnDepth,
                 Engine.currentOpcode,
                 Engine.operandByte1,
                 Engine.operandByte2,
                 Engine.programCounter,
                 Engine.lastTagAddress,
                 Engine.tagsSinceWait,
                 stacks,
                 trail};
}
void IgnoreTag(uint16_t, uint8_t, uint8_t, uint8_t) {}

enum class Way { kTraced, kThreaded, kTable };

class RunWays : public EngineTest {
protected:
    void TearDown() override {
        lcdm::SetTagTraceHook(nullptr);
        lcdm::SetRunEndHook(nullptr);
        lcdm::SetTagDispatch(lcdm::TagDispatch::kThreaded);
    }
    // Writes `program` so that its last byte lies at `end` - 1 and `tail` at
    // `tailAt`, runs it each way and expects the same engine each time.
    void ExpectAlike(const Bytes& program, uint16_t end, const Bytes& tail = {},
                     uint16_t tailAt = 0) {
        std::vector<EngineAfterRun> results;
        for (Way way : {Way::kTraced, Way::kThreaded, Way::kTable}) {
            lcdm::ModuleReset();
            VocabularyBuilder voc;
            const uint16_t body = static_cast<uint16_t>(end - program.size());
            voc.Add(0, lcdm::kItemKeyLabel, Bytes(body - 12, 0));  // filler up to the script
            voc.Add(1, lcdm::kItemScript, program);
            voc.Init();
            Poke(tailAt, tail);
            lcdm::SetRunEndHook(KeepEngineAtRunEnd);
            lcdm::SetTagTraceHook(way == Way::kTraced ? IgnoreTag : nullptr);
            lcdm::SetTagDispatch(way == Way::kTable ? lcdm::TagDispatch::kTable
                                                    : lcdm::TagDispatch::kThreaded);
            lcdm::RunScript(1, 5);
            results.push_back(gAfterRun);
        }
        EXPECT_TRUE(results[0] == results[1]) << "threaded, status " << int{results[1].status};
        EXPECT_TRUE(results[0] == results[2]) << "table, status " << int{results[2].status};
    }
    // PUSH16 address; TO_RSTACK; TO_RSTACK; RETURN: on at any address.
    static Bytes ReturnTo(uint16_t address) {
        return {PUSH16, uint8_t(address >> 8), uint8_t(address), TO_RSTACK, TO_RSTACK, RETURN};
    }
};

TEST_F(RunWays, TagsAtAndPastTheEndOfMemory) {
    const uint16_t end = lcdm::kModuleMemorySize;
    // Tags whose operands run over the end read 0 there; the 0s past it are END.
    ExpectAlike({LIT(1), NOP, PUSH16, 0x12}, end);
    ExpectAlike({LIT(1), NOP, NOP, PUSH8}, end);
    ExpectAlike({LIT(1), NOP, NOP, LIT(3)}, end);
    ExpectAlike({LIT(0), SKIP_IF_ZERO, NOP}, end);
    ExpectAlike({LIT(1), LIT(2), BRANCH, 0x00}, end);  // onto 37344 itself
    // Returns anywhere: into memory's last bytes, just past it, far past it,
    // and to the top of the counter's range, where it wraps round to 0.
    for (uint16_t target : {37340, 37343, 37344, 37349, 37350, 40000, 65533, 65534, 65535}) {
        SCOPED_TRACE(target);
        ExpectAlike(ReturnTo(target), 30000, {LIT(2), DUP, PUSH16, 0x44, 0x55}, target);
        ExpectAlike(ReturnTo(target), 30000);
    }
}

TEST_F(RunWays, FailuresTheRunGuardAndLongRuns) {
    const uint16_t at = 30000;
    for (const Bytes& program : std::vector<Bytes>{
             {DROP, DROP},                            // underflow
             {LIT(1), DUP, DUP2, ADD16, ADD16, 200},  // an invalid opcode after arithmetic
             {PUSH8, 70, VAR_GET},                    // index range
             {JUMP, 0x91, 0xE0},                      // a jump past memory
             {BRANCH, 0x80},                          // back into the filler: END
             {LIT(9), BRANCH_IF_NONZERO, 0x7F, END, 0, 0},
             {RETURN},             // return stack underflow
             {NOP, BRANCH, 0xFD},  // the run guard
             {PUSH8, 0, PUSH8, 255, ADD, DUP, BRANCH_IF_NONZERO, 0xFA, END, 0, 0},
         }) {
        SCOPED_TRACE(testing::PrintToString(program));
        ExpectAlike(program, static_cast<uint16_t>(at + program.size()));
    }
}

// A front end may set or clear the trace hook while a script waits: the tags
// after the wait are traced, or no longer, and each is run as before.
uint8_t PumpThatTogglesTheTrace() {
    static bool tracing = false;
    tracing = !tracing;
    lcdm::SetTagTraceHook(tracing ? Record : nullptr);
    Engine.DelayCounter = 0;
    return 0;
}

TEST_F(RunWays, TheTraceHookTakesEffectAfterAWait) {
    for (lcdm::TagDispatch dispatch : {lcdm::TagDispatch::kThreaded, lcdm::TagDispatch::kTable}) {
        lcdm::ModuleReset();
        gTrace.clear();
        lcdm::SetTagDispatch(dispatch);
        lcdm::SetRenderLcdAndPump(PumpThatTogglesTheTrace);
        // Untraced; DELAY sets the hook: traced; DELAY clears it: untraced.
        RunProgram({LIT(0), DELAY, LIT(1), DROP, LIT(0), DELAY, LIT(2), DROP, END, 0, 0});
        lcdm::SetRenderLcdAndPump(nullptr);
        const uint16_t body = ScriptBody();
        EXPECT_EQ((std::vector<std::pair<uint16_t, uint8_t>>{{uint16_t(body + 2), LIT(1)},
                                                             {uint16_t(body + 3), DROP},
                                                             {uint16_t(body + 4), LIT(0)},
                                                             {uint16_t(body + 5), DELAY}}),
                  gTrace);
        EXPECT_EQ(lcdm::kStatusEnded, Engine.StatusRegister);
    }
}

}  // namespace
}  // namespace zortest
