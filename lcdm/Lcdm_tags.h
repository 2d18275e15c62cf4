// The tag engine: a byte-coded stack machine that runs the vocabulary's
// procedures and scripts. Engine state, language state, the fetch cycle,
// host-run scripts and the hooks the module calls back through.
#pragma once

#include <cstdint>

#include "Lcdm_config.h"

namespace lcdm {

struct EngineState {
    // Shared with the host link. The engine runs only while it is 0.
    uint8_t StatusRegister;
    uint8_t dataStack[kStackCells];    // cell 0 is never live; top = cell[dataDepth]
    uint8_t dataDepth;
    uint8_t returnStack[kStackCells];
    uint8_t returnDepth;
    uint16_t programCounter;           // next tag; wraps from 65535 to 0
    uint8_t currentOpcode;
    uint8_t operandByte1;
    uint8_t operandByte2;
    uint8_t TagVariables[kTagVariableCount];  // never cleared by a run or a reset
    uint8_t DelayCounter;              // counted down by the 100 ms timer
    uint32_t tagsSinceWait;            // run guard: tags executed since DELAY last waited
    uint16_t lastTagAddress;           // the address of the tag fetched last
    // The addresses of the last kGuardTrailTags tags before a run-guard stop,
    // oldest first; filled only by a run the guard stops.
    uint16_t guardTrail[kGuardTrailTags];
    uint8_t processorDataSpace[kProcessorDataSpaceSize];  // what PEEK and POKE reach
};
extern EngineState Engine;

struct LanguageState {
    uint8_t currentLanguage;   // 1 at start
    uint8_t currentFontClass;
    uint8_t fontNumber;        // last chosen by SELECT_FONT
    uint8_t iconSetNumber;     // last chosen by SELECT_ICON_SET
    uint8_t iconSetLanguage;   // language of that icon set; 0 when none was found
};
extern LanguageState Language;

void ResetEngine();

// Hooks the module calls back through. All of them may be left unset.
//
// RenderLcdAndPump: called on every pass of a DELAY wait; the front end
// redraws the LCD and handles its pending events (its timer counts the
// DelayCounter down). With no hook registered each pass counts one tick
// itself, so a wait never hangs.
using RenderLcdAndPumpHook = uint8_t (*)();
// The unit's output and switch lines, which this system does not have.
using OutputHook = void (*)(uint8_t value);
using SwitchHook = void (*)(bool on);

void SetRenderLcdAndPump(RenderLcdAndPumpHook hook);
void SetOutputHook(OutputHook hook);
void SetSwitchHook(SwitchHook hook);

// Optional observer of every tag the engine executes (for tracers); called
// after the fetch, before the tag runs, with the tag's own address.
using TagTraceHook = void (*)(uint16_t address, uint8_t opcode, uint8_t byte1, uint8_t byte2);
void SetTagTraceHook(TagTraceHook hook);

// Optional observer of every host-run script's end (for fault reports): called
// as RunScript ends, before it empties the stacks, so that the StatusRegister,
// the stacks, Engine.lastTagAddress (the tag that stopped the run) and, after
// a run-guard stop, Engine.guardTrail are as the run left them.
using RunEndHook = void (*)(uint8_t number, uint8_t parameter);
void SetRunEndHook(RunEndHook hook);

// One tag: the dispatcher the fetch cycle and the host link's direct tags use.
void Dispatch(uint8_t opcode, uint8_t byte1, uint8_t byte2);
// One pass of the fetch cycle at the program counter, every read checked.
void FetchCycle();

// How a run no trace hook watches dispatches its tags: kThreaded through a
// table of label addresses (built by GCC and Clang), kTable through a
// switch. Both run every tag alike, and exactly as FetchCycle would; the
// threaded one is the default where it is built.
enum class TagDispatch : uint8_t { kThreaded, kTable };
// Chooses the dispatch; false when this build has no threaded dispatch, which
// then keeps the table.
bool SetTagDispatch(TagDispatch dispatch);
TagDispatch CurrentTagDispatch();

// Runs script `number` with `parameter` to its end; the outcome is left in the
// StatusRegister (1 = success, kStatusRunGuard when the run guard stopped it).
void RunScript(uint8_t number, uint8_t parameter);
// Script 10 with parameter 255: redraw after a label, icon, logo or language change.
void Refresh();

// Language checks of the label editing: 0 usable, 2 not.
uint8_t FontClassAvailable(uint8_t language);
uint8_t LanguageAvailable(uint8_t language);

inline constexpr uint8_t kFirmwareVersion = 36;

}  // namespace lcdm
