// Constants, stack moves, arithmetic, comparisons, tag variables, label store
// bytes and the two display conversions. None of these moves the program counter.
#include "Lcdm_labels.h"
#include "Lcdm_tag_bodies.h"
#include "Lcdm_tag_support.h"

namespace lcdm {

// Constants, stack moves, one-operation arithmetic and the byte variables
// also run in place in the fast loop; their work is in Lcdm_tag_bodies.h.

// ------------------------------------------------------------- constants ---

LCDM_HOT_TAG(TagPush16, Push16, operand)
LCDM_HOT_TAG(TagPush8, Push8, static_cast<uint8_t>(operand))
LCDM_HOT_TAG(TagLit, Lit, opcode)
void TagPushFirmwareVersion(uint8_t, uint16_t) {
    if (RoomData(1)) Push(kFirmwareVersion);
}

// ----------------------------------------------------------- stack moves ---

LCDM_HOT_TAG(TagDup, Dup)
LCDM_HOT_TAG(TagDup2, Dup2)
LCDM_HOT_TAG(TagDrop, Drop)
LCDM_HOT_TAG(TagDrop2, Drop2)
LCDM_HOT_TAG(TagSwap, Swap)
LCDM_HOT_TAG(TagRot, Rot)
LCDM_HOT_TAG(TagOver, Over)

// Popping never clears a cell, so this re-exposes the byte last popped.
void TagUndrop(uint8_t, uint16_t) {
    if (RoomData(1)) ++Engine.dataDepth;
}

// ------------------------------------------------- logic and arithmetic ---

LCDM_HOT_TAG(TagAnd, And)
LCDM_HOT_TAG(TagOr, Or)
LCDM_HOT_TAG(TagXor, Xor)
LCDM_HOT_TAG(TagGreater, Greater)
LCDM_HOT_TAG(TagGreaterSigned, GreaterSigned)
LCDM_HOT_TAG(TagEqual, Equal)
LCDM_HOT_TAG(TagAdd, Add)
LCDM_HOT_TAG(TagShiftLeft, ShiftLeft)
LCDM_HOT_TAG(TagShiftRight, ShiftRight)
LCDM_HOT_TAG(TagNot, Not)
LCDM_HOT_TAG(TagNegate, Negate)
LCDM_HOT_TAG(TagAdd16, Add16)

// The full product a x b (up to 65025) is formed before dividing; the low
// 8 bits of the quotient remain. Dividing by 0 gives 255, the all-ones answer
// of a hardware divider, and sets no status: a page that divides by a value
// the host has not sent yet still draws.
void TagMulDiv(uint8_t, uint16_t) {
    if (!NeedData(3)) return;
    const uint8_t c = Pop();
    const uint8_t b = Pop();
    const uint32_t product = static_cast<uint32_t>(Cell(0)) * b;
    Cell(0) = c == 0 ? 0xFF : static_cast<uint8_t>((product / c) & 0xFF);
}

// ------------------------------------------------------- tag variables ---

LCDM_HOT_TAG(TagVarGet, VarGet)

void TagVarGet16(uint8_t, uint16_t) {
    if (!NeedData(1) || !RoomData(1)) return;
    const uint8_t i = Cell(0);
    if (i >= kTagVariableWordCount) return void(Fail(kStatusIndexRange));
    Cell(0) = Engine.TagVariables[2 * i];
    Push(Engine.TagVariables[2 * i + 1]);
}

LCDM_HOT_TAG(TagVarSet, VarSet)

void TagVarSet16(uint8_t, uint16_t) {
    if (!NeedData(3)) return;
    const uint8_t i = Cell(0);
    if (i >= kTagVariableWordCount) return void(Fail(kStatusIndexRange));
    Engine.TagVariables[2 * i] = Cell(2);
    Engine.TagVariables[2 * i + 1] = Cell(1);
    Engine.dataDepth -= 3;
}

// ------------------------------------------- label store and data space ---

void TagStoreGet(uint8_t, uint16_t) {
    if (!NeedData(2)) return;
    const uint16_t address = PopWord();
    if (address >= kLabelStoreSize) return void(Fail(kStatusAddressRange));
    Push(ReadStoreByte(address));
}

void TagStorePut(uint8_t, uint16_t) {
    if (!NeedData(3)) return;
    const uint16_t address = PopWord();
    // The byte below the address stays on the stack when the address is refused.
    if (address >= kLabelStoreSize) return void(Fail(kStatusAddressRange));
    WriteStoreByte(address, Pop());
}

// The processor data space is the module processor's own working memory. It
// is modelled as a separate 256-byte array, so these two tags can never reach
// module memory, the label store or the engine's own state. They follow the
// label store tags: a read past the array gives 0, a write past it is refused
// with status 9 and leaves the byte on the stack.
void TagPeek(uint8_t, uint16_t) {
    if (!NeedData(2)) return;
    const uint16_t address = PopWord();
    Push(address < kProcessorDataSpaceSize ? Engine.processorDataSpace[address] : 0);
}

void TagPoke(uint8_t, uint16_t) {
    if (!NeedData(3)) return;
    const uint16_t address = PopWord();
    if (address >= kProcessorDataSpaceSize) return void(Fail(kStatusAddressRange));
    Engine.processorDataSpace[address] = Pop();
}

// ------------------------------------------------- display conversions ---

// A timer setting counts 5-second steps from 1; v = 0 wraps to 11 s, 68 min.
void TagToMinSec(uint8_t, uint16_t) {
    if (!NeedData(1) || !RoomData(1)) return;
    const uint16_t steps = static_cast<uint16_t>(Cell(0) - 1);
    const uint16_t seconds = static_cast<uint16_t>(5u * steps);
    Cell(0) = static_cast<uint8_t>(seconds % 60);
    Push(static_cast<uint8_t>((seconds / 60) & 0xFF));
}

// The four top bytes (b0 deepest, least significant) form a 32-bit serial
// number, shown as a 20-bit high part in eight digits and a 12-bit low part
// in four, each as base-100 pairs.
void TagSplitSerial(uint8_t, uint16_t) {
    if (!NeedData(4) || !RoomData(2)) return;
    const uint32_t value = static_cast<uint32_t>(Cell(0)) << 24 | static_cast<uint32_t>(Cell(1)) << 16 |
                           static_cast<uint32_t>(Cell(2)) << 8 | Cell(3);
    const uint32_t low = value % 4096;
    const uint32_t high = value / 4096;
    Engine.dataDepth -= 4;
    Push(static_cast<uint8_t>(low % 100));
    Push(static_cast<uint8_t>(low / 100));
    Push(static_cast<uint8_t>(high % 100));
    Push(static_cast<uint8_t>((high / 100) % 100));
    Push(static_cast<uint8_t>((high / 10000) % 100));
    Push(static_cast<uint8_t>(high / 1000000));
}

}  // namespace lcdm
