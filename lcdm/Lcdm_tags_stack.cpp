// Constants, stack moves, arithmetic, comparisons, tag variables, label store
// bytes and the two display conversions. None of these moves the program counter.
#include "Lcdm_labels.h"
#include "Lcdm_tag_support.h"

namespace lcdm {
namespace {

constexpr uint8_t Flag(bool condition) { return condition ? 0xFF : 0x00; }

// Pops b, then replaces a by op(a, b): the shape of every two-operand byte tag.
template <typename Op>
void Binary(Op op) {
    if (!NeedData(2)) return;
    const uint8_t b = Pop();
    Cell(0) = static_cast<uint8_t>(op(Cell(0), b));
}

}  // namespace

// ------------------------------------------------------------- constants ---

void TagPush16(uint8_t, uint16_t value) {
    if (RoomData(2)) PushWord(value);
}

void TagPush8(uint8_t, uint16_t value) {
    if (RoomData(1)) Push(static_cast<uint8_t>(value));
}

void TagLit(uint8_t opcode, uint16_t) {
    if (RoomData(1)) Push(static_cast<uint8_t>(opcode - 32));
}

void TagPushFirmwareVersion(uint8_t, uint16_t) {
    if (RoomData(1)) Push(kFirmwareVersion);
}

// ----------------------------------------------------------- stack moves ---

void TagDup(uint8_t, uint16_t) {
    if (NeedData(1) && RoomData(1)) Push(Cell(0));
}

void TagDup2(uint8_t, uint16_t) {
    if (!NeedData(2) || !RoomData(2)) return;
    const uint8_t a = Cell(1), b = Cell(0);
    Push(a);
    Push(b);
}

void TagDrop(uint8_t, uint16_t) {
    if (NeedData(1)) Pop();
}

void TagDrop2(uint8_t, uint16_t) {
    if (!NeedData(2)) return;
    Pop();
    Pop();
}

void TagSwap(uint8_t, uint16_t) {
    if (!NeedData(2)) return;
    const uint8_t top = Cell(0);
    Cell(0) = Cell(1);
    Cell(1) = top;
}

void TagRot(uint8_t, uint16_t) {
    if (!NeedData(3)) return;
    const uint8_t a = Cell(2);
    Cell(2) = Cell(1);
    Cell(1) = Cell(0);
    Cell(0) = a;
}

void TagOver(uint8_t, uint16_t) {
    if (NeedData(2) && RoomData(1)) Push(Cell(1));
}

// Popping never clears a cell, so this re-exposes the byte last popped.
void TagUndrop(uint8_t, uint16_t) {
    if (RoomData(1)) ++Engine.dataDepth;
}

// ------------------------------------------------- logic and arithmetic ---

void TagAnd(uint8_t, uint16_t) {
    Binary([](uint8_t a, uint8_t b) { return a & b; });
}
void TagOr(uint8_t, uint16_t) {
    Binary([](uint8_t a, uint8_t b) { return a | b; });
}
void TagXor(uint8_t, uint16_t) {
    Binary([](uint8_t a, uint8_t b) { return a ^ b; });
}
void TagGreater(uint8_t, uint16_t) {
    Binary([](uint8_t a, uint8_t b) { return Flag(a > b); });
}
void TagGreaterSigned(uint8_t, uint16_t) {
    Binary([](uint8_t a, uint8_t b) { return Flag(static_cast<int8_t>(a) > static_cast<int8_t>(b)); });
}
void TagEqual(uint8_t, uint16_t) {
    Binary([](uint8_t a, uint8_t b) { return Flag(a == b); });
}
void TagAdd(uint8_t, uint16_t) {
    Binary([](uint8_t a, uint8_t b) { return (a + b) & 0xFF; });
}
// The count is taken mod 32: counts 8..31 give 0, and 32 shifts by nothing.
void TagShiftLeft(uint8_t, uint16_t) {
    Binary([](uint8_t a, uint8_t n) { return (static_cast<uint32_t>(a) << (n % 32)) & 0xFF; });
}
void TagShiftRight(uint8_t, uint16_t) {
    Binary([](uint8_t a, uint8_t n) { return static_cast<uint32_t>(a) >> (n % 32); });
}

void TagNot(uint8_t, uint16_t) {
    if (NeedData(1)) Cell(0) = Flag(Cell(0) == 0);
}

void TagNegate(uint8_t, uint16_t) {
    if (NeedData(1)) Cell(0) = static_cast<uint8_t>(256 - Cell(0));
}

void TagAdd16(uint8_t, uint16_t) {
    if (!NeedData(4)) return;
    const uint16_t w2 = PopWord();
    const uint16_t w1 = PopWord();
    PushWord(static_cast<uint16_t>(w1 + w2));
}

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

void TagVarGet(uint8_t, uint16_t) {
    if (!NeedData(1)) return;
    const uint8_t i = Cell(0);
    if (i >= kTagVariableCount) return void(Fail(kStatusIndexRange));
    Cell(0) = Engine.TagVariables[i];
}

void TagVarGet16(uint8_t, uint16_t) {
    if (!NeedData(1) || !RoomData(1)) return;
    const uint8_t i = Cell(0);
    if (i >= kTagVariableWordCount) return void(Fail(kStatusIndexRange));
    Cell(0) = Engine.TagVariables[2 * i];
    Push(Engine.TagVariables[2 * i + 1]);
}

void TagVarSet(uint8_t, uint16_t) {
    if (!NeedData(2)) return;
    const uint8_t i = Cell(0);
    if (i >= kTagVariableCount) return void(Fail(kStatusIndexRange));
    Engine.TagVariables[i] = Cell(1);
    Engine.dataDepth -= 2;
}

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
