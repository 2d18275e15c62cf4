// The tag engine's fetch cycle, dispatcher and host-run scripts.
#include "Lcdm_memory.h"
#include "Lcdm_opcode_list.h"
#include "Lcdm_opcodes.h"
#include "Lcdm_tag_support.h"
#include "Lcdm_voc.h"

namespace lcdm {

RenderLcdAndPumpHook gRenderLcdAndPump = nullptr;
OutputHook gOutputHook = nullptr;
SwitchHook gSwitchHook = nullptr;

namespace {
TagTraceHook gTraceHook = nullptr;
RunEndHook gRunEndHook = nullptr;

struct HandlerTable {
    TagHandler handlers[256];
};

// Every opcode the list does not name is invalid.
constexpr HandlerTable BuildHandlers() {
    HandlerTable table{};
    for (TagHandler& handler : table.handlers) handler = TagInvalid;
#define LCDM_HANDLER_ROW(first, last, mnemonic, operand, stack, summary, handler) \
    for (int op = first; op <= last; ++op) table.handlers[op] = handler;
    LCDM_OPCODE_LIST(LCDM_HANDLER_ROW)
#undef LCDM_HANDLER_ROW
    return table;
}

constexpr HandlerTable kHandlers = BuildHandlers();

uint8_t NextProgramByte() {
    const uint8_t byte = ReadMemoryByte(Engine.programCounter);
    Engine.programCounter = static_cast<uint16_t>(Engine.programCounter + 1);
    return byte;
}
}  // namespace

void SetRenderLcdAndPump(RenderLcdAndPumpHook hook) { gRenderLcdAndPump = hook; }
void SetOutputHook(OutputHook hook) { gOutputHook = hook; }
void SetSwitchHook(SwitchHook hook) { gSwitchHook = hook; }
void SetTagTraceHook(TagTraceHook hook) { gTraceHook = hook; }
void SetRunEndHook(RunEndHook hook) { gRunEndHook = hook; }

TagHandler HandlerOf(uint8_t opcode) { return kHandlers.handlers[opcode]; }

void Dispatch(uint8_t opcode, uint8_t byte1, uint8_t byte2) {
    const uint16_t operand = opcode < 16 ? MakeWord(byte1, byte2) : opcode < 32 ? byte1 : 0;
    kHandlers.handlers[opcode](opcode, operand);
}

void FetchCycle() {
    const uint16_t address = Engine.programCounter;
    Engine.lastTagAddress = address;
    Engine.currentOpcode = NextProgramByte();
    // Operand registers a tag does not fill keep the values of an earlier tag.
    const uint8_t length = TagLength(Engine.currentOpcode);
    if (length >= 2) Engine.operandByte1 = NextProgramByte();
    if (length == 3) Engine.operandByte2 = NextProgramByte();
    if (gTraceHook)
        gTraceHook(address, Engine.currentOpcode, Engine.operandByte1, Engine.operandByte2);
    Dispatch(Engine.currentOpcode, Engine.operandByte1, Engine.operandByte2);
}

void RunScript(uint8_t number, uint8_t parameter) {
    Engine.dataDepth = 0;
    Engine.returnDepth = 0;
    Engine.StatusRegister = kStatusOk;
    Engine.tagsSinceWait = 0;
    Push(parameter);
    Push(number);
    Push(kItemScript);
    TagRunItem(kOpRunItem, 0);
    while (Engine.StatusRegister == kStatusOk) {
        // DELAY resets the count after each wait, so only a program that
        // computes without ever waiting can reach the bound.
        if (Engine.tagsSinceWait >= kRunGuardTags) {
            Engine.StatusRegister = kStatusRunGuard;
            break;
        }
        ++Engine.tagsSinceWait;
        // The last tags before the bound leave their addresses in the trail;
        // a DELAY wait among them starts the count, and the trail, afresh.
        if (Engine.tagsSinceWait > kRunGuardTags - kGuardTrailTags)
            Engine.guardTrail[Engine.tagsSinceWait - 1 - (kRunGuardTags - kGuardTrailTags)] =
                Engine.programCounter;
        FetchCycle();
    }
    if (gRunEndHook) gRunEndHook(number, parameter);
    Engine.dataDepth = 0;
    Engine.returnDepth = 0;
}

void Refresh() { RunScript(10, 255); }

uint8_t FontClassAvailable(uint8_t language) {
    return HasFontClass(FontClassOf(language)) ? kStatusOk : kStatusNotFound;
}

uint8_t LanguageAvailable(uint8_t language) {
    return HasAvailableLanguage(language) ? kStatusOk : kStatusNotFound;
}

// ------------------------------------------------------------ engine tags ---

void TagEnd(uint8_t, uint16_t) {
    Engine.dataDepth = 0;
    Engine.returnDepth = 0;
    Engine.StatusRegister = kStatusEnded;
}

void TagNop(uint8_t, uint16_t) {}

void TagInvalid(uint8_t, uint16_t) { Engine.StatusRegister = kStatusInvalidOpcode; }

}  // namespace lcdm
