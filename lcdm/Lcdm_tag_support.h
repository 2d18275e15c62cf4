// Internal to the tag engine: the common stack checks and stack moves that
// every tag family uses, and the handlers the opcode table names.
#pragma once

#include <cstdint>

#include "Lcdm_status.h"
#include "Lcdm_tags.h"

namespace lcdm {

// ------------------------------------------------------- common checks ---
// Each sets its status and answers false when it fails; a tag makes its
// operand checks (data stack, then return stack) before its room checks, and
// stops at the first failure with nothing changed.

inline bool Fail(uint8_t status) {
    Engine.StatusRegister = status;
    return false;
}
inline bool NeedData(uint8_t n) { return Engine.dataDepth >= n || Fail(kStatusDataUnderflow); }
inline bool NeedReturn(uint8_t n) { return Engine.returnDepth >= n || Fail(kStatusReturnUnderflow); }
inline bool RoomData(uint8_t n) {
    return Engine.dataDepth + n <= kMaxStackDepth || Fail(kStatusDataOverflow);
}
inline bool RoomReturn(uint8_t n) {
    return Engine.returnDepth + n <= kMaxStackDepth || Fail(kStatusReturnOverflow);
}

// ---------------------------------------------------------- stack moves ---
// Only called after the checks above, so depths stay within 0..31.

inline void Push(uint8_t value) { Engine.dataStack[++Engine.dataDepth] = value; }
inline uint8_t Pop() { return Engine.dataStack[Engine.dataDepth--]; }
// The byte `below` cells under the top (0 = the top itself).
inline uint8_t& Cell(uint8_t below) { return Engine.dataStack[Engine.dataDepth - below]; }
inline void PushWord(uint16_t word) {
    Push(static_cast<uint8_t>(word >> 8));
    Push(static_cast<uint8_t>(word & 0xFF));
}
inline uint16_t PopWord() {
    const uint8_t low = Pop();
    return static_cast<uint16_t>((Pop() << 8) | low);
}
// The word whose low byte is `below` cells under the top.
inline uint16_t WordAt(uint8_t below) {
    return static_cast<uint16_t>((Cell(below + 1) << 8) | Cell(below));
}

inline void PushReturn(uint8_t value) { Engine.returnStack[++Engine.returnDepth] = value; }
inline uint8_t PopReturn() { return Engine.returnStack[Engine.returnDepth--]; }
inline void PushReturnWord(uint16_t word) {
    PushReturn(static_cast<uint8_t>(word >> 8));
    PushReturn(static_cast<uint8_t>(word & 0xFF));
}
inline uint16_t PopReturnWord() {
    const uint8_t low = PopReturn();
    return static_cast<uint16_t>((PopReturn() << 8) | low);
}

// Graphics coordinates travel on the stack as signed 16-bit words.
inline int PopCoordinate() { return static_cast<int16_t>(PopWord()); }

// --------------------------------------------------------------- tags ---
#define LCDM_TAG(name) void name(uint8_t opcode, uint16_t operand)

// Engine
LCDM_TAG(TagEnd);
LCDM_TAG(TagNop);
LCDM_TAG(TagInvalid);
// Constants, stack, arithmetic, variables, label store bytes
LCDM_TAG(TagPush16);
LCDM_TAG(TagPush8);
LCDM_TAG(TagLit);
LCDM_TAG(TagDup);
LCDM_TAG(TagDup2);
LCDM_TAG(TagDrop);
LCDM_TAG(TagDrop2);
LCDM_TAG(TagSwap);
LCDM_TAG(TagRot);
LCDM_TAG(TagOver);
LCDM_TAG(TagPeek);
LCDM_TAG(TagPoke);
LCDM_TAG(TagAnd);
LCDM_TAG(TagOr);
LCDM_TAG(TagXor);
LCDM_TAG(TagNot);
LCDM_TAG(TagGreater);
LCDM_TAG(TagGreaterSigned);
LCDM_TAG(TagAdd);
LCDM_TAG(TagAdd16);
LCDM_TAG(TagNegate);
LCDM_TAG(TagShiftLeft);
LCDM_TAG(TagShiftRight);
LCDM_TAG(TagMulDiv);
LCDM_TAG(TagEqual);
LCDM_TAG(TagVarGet);
LCDM_TAG(TagVarGet16);
LCDM_TAG(TagVarSet);
LCDM_TAG(TagVarSet16);
LCDM_TAG(TagUndrop);
LCDM_TAG(TagStoreGet);
LCDM_TAG(TagStorePut);
LCDM_TAG(TagToMinSec);
LCDM_TAG(TagSplitSerial);
LCDM_TAG(TagPushFirmwareVersion);
// Control flow and the return stack
LCDM_TAG(TagJump);
LCDM_TAG(TagCall);
LCDM_TAG(TagBranch);
LCDM_TAG(TagBranchIfZero);
LCDM_TAG(TagBranchIfNonzero);
LCDM_TAG(TagSelect);
LCDM_TAG(TagFromRstack);
LCDM_TAG(TagToRstack);
LCDM_TAG(TagFetchR);
LCDM_TAG(TagReturn);
LCDM_TAG(TagSkipIfZero);
LCDM_TAG(TagSkipIfNonzero);
LCDM_TAG(TagPushPc);
LCDM_TAG(TagDelay);
// Drawing, text output and the unit's hooks
LCDM_TAG(TagClear);
LCDM_TAG(TagMoveTo);
LCDM_TAG(TagPlot);
LCDM_TAG(TagLineTo);
LCDM_TAG(TagRectangle);
LCDM_TAG(TagFill);
LCDM_TAG(TagEmit);
LCDM_TAG(TagEmitHex);
LCDM_TAG(TagPrintU8);
LCDM_TAG(TagPrintU16);
LCDM_TAG(TagPrintS8);
LCDM_TAG(TagPrintS16);
LCDM_TAG(TagGetX);
LCDM_TAG(TagGetY);
LCDM_TAG(TagOutput);
LCDM_TAG(TagSwitch);
LCDM_TAG(TagDrawLogo);
// Vocabulary items and languages
LCDM_TAG(TagSetLanguage);
LCDM_TAG(TagGetLanguage);
LCDM_TAG(TagGetFontClass);
LCDM_TAG(TagUsedLanguage);
LCDM_TAG(TagDrawIcon);
LCDM_TAG(TagPushVocabularyId);
LCDM_TAG(TagFindItem);
LCDM_TAG(TagRunItem);
LCDM_TAG(TagDrawBitmap);
LCDM_TAG(TagSelectFont);
LCDM_TAG(TagPrintString);
LCDM_TAG(TagDrawKeyLabel);
LCDM_TAG(TagSelectIconSet);

#undef LCDM_TAG

// A tag's handler gets its opcode and its operand (the 16-bit operand of
// opcodes 0..15, the operand byte of 16..31, 0 for the others).
using TagHandler = void (*)(uint8_t opcode, uint16_t operand);
TagHandler HandlerOf(uint8_t opcode);

// Hooks of the unit's outputs and the tag trace hook (null = nothing attached).
extern OutputHook gOutputHook;
extern SwitchHook gSwitchHook;
extern RenderLcdAndPumpHook gRenderLcdAndPump;
extern TagTraceHook gTraceHook;

// Runs tags from the program counter until the StatusRegister is no longer
// 0: the run guard, then one fetch cycle a tag, as FetchCycle makes it.
void RunTags();

}  // namespace lcdm
