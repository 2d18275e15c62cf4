// The tags the fast loop runs in place (stack moves, arithmetic, variables,
// jumps, branches, calls and returns), each written once over a set of
// registers: the handlers in Lcdm_tags_*.cpp run them on the engine's own
// registers, the fast loop in Lcdm_tag_loop.cpp on its local copies of the
// program counter and the data stack depth. So both do exactly the same.
//
// A body returns true when the run may go on; false when the tag failed (its
// status is set, nothing else changed) or ended the run.
#pragma once

#include <cstdint>

#include "Lcdm_memory.h"
#include "Lcdm_opcodes.h"
#include "Lcdm_tag_support.h"

namespace lcdm::hot {

// The engine's registers, as every handler works on them. A register set R
// has `depth` (data stack depth) and `pc` (program counter), of any unsigned
// type that holds their values.
struct EngineRegisters {
    uint8_t& depth = Engine.dataDepth;
    uint16_t& pc = Engine.programCounter;
};

// ------------------------------------------------------ the data stack ---

template <class R>
inline bool Need(R& r, uint32_t n) {
    return r.depth >= n || Fail(kStatusDataUnderflow);
}
template <class R>
inline bool Room(R& r, uint32_t n) {
    return r.depth + n <= kMaxStackDepth || Fail(kStatusDataOverflow);
}
template <class R>
inline void Put(R& r, uint8_t value) {
    r.depth += 1;
    Engine.dataStack[r.depth] = value;
}
// Popping never clears a cell: UNDROP re-exposes the byte last popped.
template <class R>
inline uint8_t Take(R& r) {
    const uint8_t value = Engine.dataStack[r.depth];
    r.depth -= 1;
    return value;
}
template <class R>
inline uint8_t& Top(R& r, uint32_t below = 0) {
    return Engine.dataStack[r.depth - below];
}
template <class R>
inline uint16_t TakeWord(R& r) {
    const uint8_t low = Take(r);
    return static_cast<uint16_t>((Take(r) << 8) | low);
}
template <class R>
inline void PutWord(R& r, uint16_t word) {
    Put(r, static_cast<uint8_t>(word >> 8));
    Put(r, static_cast<uint8_t>(word & 0xFF));
}

inline constexpr uint8_t Flag(bool condition) {
    return condition ? 0xFF : 0x00;
}

// ---------------------------------------------------------- constants ---

template <class R>
inline bool Push16(R& r, uint16_t value) {
    if (!Room(r, 2)) return false;
    PutWord(r, value);
    return true;
}
template <class R>
inline bool Push8(R& r, uint8_t value) {
    if (!Room(r, 1)) return false;
    Put(r, value);
    return true;
}
template <class R>
inline bool Lit(R& r, uint8_t opcode) {
    return Push8(r, static_cast<uint8_t>(opcode - kOpLit));
}

// -------------------------------------------------------- stack moves ---

// Both checks at once: a depth of 1 to 30 needs neither status.
template <class R>
inline bool Dup(R& r) {
    if (r.depth - 1u >= kMaxStackDepth - 1u) [[unlikely]]
        if (!Need(r, 1) || !Room(r, 1)) return false;
    Put(r, Top(r));
    return true;
}
template <class R>
inline bool Dup2(R& r) {
    if (!Need(r, 2) || !Room(r, 2)) return false;
    const uint8_t a = Top(r, 1), b = Top(r);
    Put(r, a);
    Put(r, b);
    return true;
}
template <class R>
inline bool Drop(R& r) {
    if (!Need(r, 1)) return false;
    Take(r);
    return true;
}
template <class R>
inline bool Drop2(R& r) {
    if (!Need(r, 2)) return false;
    Take(r);
    Take(r);
    return true;
}
template <class R>
inline bool Swap(R& r) {
    if (!Need(r, 2)) return false;
    const uint8_t top = Top(r);
    Top(r) = Top(r, 1);
    Top(r, 1) = top;
    return true;
}
template <class R>
inline bool Rot(R& r) {
    if (!Need(r, 3)) return false;
    const uint8_t a = Top(r, 2);
    Top(r, 2) = Top(r, 1);
    Top(r, 1) = Top(r);
    Top(r) = a;
    return true;
}
template <class R>
inline bool Over(R& r) {
    if (!Need(r, 2) || !Room(r, 1)) return false;
    Put(r, Top(r, 1));
    return true;
}

// -------------------------------------------- logic and arithmetic ---

// Pops b, then replaces a by op(a, b): the shape of every two-operand byte tag.
template <class R, typename Op>
inline bool Binary(R& r, Op op) {
    if (!Need(r, 2)) return false;
    const uint8_t b = Take(r);
    Top(r) = static_cast<uint8_t>(op(Top(r), b));
    return true;
}
template <class R>
inline bool And(R& r) {
    return Binary(r, [](uint8_t a, uint8_t b) { return a & b; });
}
template <class R>
inline bool Or(R& r) {
    return Binary(r, [](uint8_t a, uint8_t b) { return a | b; });
}
template <class R>
inline bool Xor(R& r) {
    return Binary(r, [](uint8_t a, uint8_t b) { return a ^ b; });
}
template <class R>
inline bool Greater(R& r) {
    return Binary(r, [](uint8_t a, uint8_t b) { return Flag(a > b); });
}
template <class R>
inline bool GreaterSigned(R& r) {
    return Binary(r, [](uint8_t a, uint8_t b) {
        return Flag(static_cast<int8_t>(a) > static_cast<int8_t>(b));
    });
}
template <class R>
inline bool Equal(R& r) {
    return Binary(r, [](uint8_t a, uint8_t b) { return Flag(a == b); });
}
template <class R>
inline bool Add(R& r) {
    return Binary(r, [](uint8_t a, uint8_t b) { return (a + b) & 0xFF; });
}
// The count is taken mod 32: counts 8..31 give 0, and 32 shifts by nothing.
template <class R>
inline bool ShiftLeft(R& r) {
    return Binary(
        r, [](uint8_t a, uint8_t n) { return (static_cast<uint32_t>(a) << (n % 32)) & 0xFF; });
}
template <class R>
inline bool ShiftRight(R& r) {
    return Binary(r, [](uint8_t a, uint8_t n) { return static_cast<uint32_t>(a) >> (n % 32); });
}
template <class R>
inline bool Not(R& r) {
    if (!Need(r, 1)) return false;
    Top(r) = Flag(Top(r) == 0);
    return true;
}
template <class R>
inline bool Negate(R& r) {
    if (!Need(r, 1)) return false;
    Top(r) = static_cast<uint8_t>(256 - Top(r));
    return true;
}
template <class R>
inline bool Add16(R& r) {
    if (!Need(r, 4)) return false;
    const uint16_t w2 = TakeWord(r);
    const uint16_t w1 = TakeWord(r);
    PutWord(r, static_cast<uint16_t>(w1 + w2));
    return true;
}

// ------------------------------------------------------ tag variables ---

template <class R>
inline bool VarGet(R& r) {
    if (!Need(r, 1)) return false;
    const uint8_t i = Top(r);
    if (i >= kTagVariableCount) return Fail(kStatusIndexRange);
    Top(r) = Engine.TagVariables[i];
    return true;
}
template <class R>
inline bool VarSet(R& r) {
    if (!Need(r, 2)) return false;
    const uint8_t i = Top(r);
    if (i >= kTagVariableCount) return Fail(kStatusIndexRange);
    Engine.TagVariables[i] = Top(r, 1);
    r.depth -= 2;
    return true;
}

// -------------------------------------------------------- control flow ---
// The program counter already points past the whole tag while a tag runs, so
// relative branches and CALL count from the next tag.

template <class R>
inline bool Jump(R& r, uint16_t address) {
    if (address >= kModuleMemorySize) return Fail(kStatusAddressRange);
    r.pc = address;
    return true;
}
template <class R>
inline bool Call(R& r, uint16_t address) {
    if (address >= kModuleMemorySize) return Fail(kStatusAddressRange);
    if (!RoomReturn(2)) return false;
    PushReturnWord(static_cast<uint16_t>(r.pc));
    r.pc = address;
    return true;
}
// A branch may land exactly on 37344: the fetch there reads 0, which is END.
template <class R>
inline bool BranchBy(R& r, uint16_t offset) {
    const int target = static_cast<int>(r.pc) + static_cast<int8_t>(offset & 0xFF);
    if (target < 0 || target > kModuleMemorySize) return Fail(kStatusAddressRange);
    r.pc = static_cast<uint16_t>(target);
    return true;
}
// The flag stays popped even when the branch itself is refused.
template <class R>
inline bool BranchIfZero(R& r, uint16_t offset) {
    if (!Need(r, 1)) return false;
    return Take(r) != 0 || BranchBy(r, offset);
}
template <class R>
inline bool BranchIfNonzero(R& r, uint16_t offset) {
    if (!Need(r, 1)) return false;
    return Take(r) == 0 || BranchBy(r, offset);
}
// Not compared with the memory size: a counter beyond memory reads END.
template <class R>
inline bool Return(R& r) {
    if (!NeedReturn(2)) return false;
    r.pc = PopReturnWord();
    return true;
}
template <class R>
inline bool ToRstack(R& r) {
    if (!Need(r, 1) || !RoomReturn(1)) return false;
    PushReturn(Take(r));
    return true;
}
template <class R>
inline bool FromRstack(R& r) {
    if (!NeedReturn(1) || !Room(r, 1)) return false;
    Put(r, PopReturn());
    return true;
}
// Steps over the tag at the program counter by the same length rule as the
// fetch cycle; a skipped SELECT loses only its opcode and count byte.
template <class R>
inline bool SkipIf(R& r, bool zero) {
    if (!Need(r, 1)) return false;
    if ((Take(r) == 0) == zero) {
        const uint8_t opcode = ReadMemoryByte(static_cast<uint16_t>(r.pc));
        r.pc = static_cast<uint16_t>(r.pc + EncodedLength(opcode));
    }
    return true;
}
template <class R>
inline bool End(R& r) {
    r.depth = 0;
    Engine.returnDepth = 0;
    Engine.StatusRegister = kStatusEnded;
    return false;
}

}  // namespace lcdm::hot

// The handler of a tag whose body is above: it runs the body on the engine's
// own registers, with the operands given after the body's name.
#define LCDM_HOT_TAG(handler, body, ...)                                               \
    void handler([[maybe_unused]] uint8_t opcode, [[maybe_unused]] uint16_t operand) { \
        hot::EngineRegisters r;                                                        \
        hot::body(r __VA_OPT__(, ) __VA_ARGS__);                                       \
    }
