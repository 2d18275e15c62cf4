// The tag engine's hooks, its checked fetch cycle and host-run scripts. The
// loop that runs a script's tags, and the dispatch table, are in
// Lcdm_tag_loop.cpp.
#include "Lcdm_memory.h"
#include "Lcdm_opcodes.h"
#include "Lcdm_tag_bodies.h"
#include "Lcdm_tag_support.h"
#include "Lcdm_voc.h"

namespace lcdm {

RenderLcdAndPumpHook gRenderLcdAndPump = nullptr;
OutputHook gOutputHook = nullptr;
SwitchHook gSwitchHook = nullptr;
TagTraceHook gTraceHook = nullptr;

namespace {
RunEndHook gRunEndHook = nullptr;

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

void FetchCycle() {
    const uint16_t address = Engine.programCounter;
    Engine.lastTagAddress = address;
    Engine.currentOpcode = NextProgramByte();
    // Operand registers a tag does not fill keep the values of an earlier tag.
    const uint8_t length = EncodedLength(Engine.currentOpcode);
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
    RunTags();
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

LCDM_HOT_TAG(TagEnd, End)

void TagNop(uint8_t, uint16_t) {}

void TagInvalid(uint8_t, uint16_t) { Engine.StatusRegister = kStatusInvalidOpcode; }

}  // namespace lcdm
