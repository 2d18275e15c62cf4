// What the tag set says about each opcode: mnemonic, length, operand kind and
// stack effect, expanded from the one list in Lcdm_opcode_list.h that also
// gives the engine its dispatch table. The fetch cycle, the skip tags, the
// assembler, the disassembler and tracers all read it.
#pragma once

#include <cstdint>

namespace lcdm {

// What follows the opcode byte.
enum class OperandKind : uint8_t {
    kNone,      // one-byte tag
    kInOpcode,  // LIT: the value 0..15 is the opcode's low four bits
    kByte,      // PUSH8: an 8-bit constant
    kOffset,    // branches: a signed 8-bit offset from the next tag
    kCount,     // SELECT: an entry count; a table of 2-byte entries follows the tag
    kWord,      // PUSH16 (and END, which ignores it): a 16-bit constant
    kAddress,   // JUMP, CALL: a module memory address
};

struct OpcodeInfo {
    const char* mnemonic;     // nullptr for an invalid opcode
    uint8_t length;           // 1, 2 or 3 bytes, by the encoding of the opcode range
    OperandKind operand;
    const char* stackEffect;  // data stack before -> after, top on the right
    const char* summary;      // one line for listings and traces
};

// Tag length by opcode range: 0..15 carry a 16-bit operand, 16..31 an 8-bit one.
inline constexpr uint8_t EncodedLength(uint8_t opcode) {
    return opcode < 16 ? 3 : opcode < 32 ? 2 : 1;
}

const OpcodeInfo& Opcode(uint8_t opcode);
inline uint8_t TagLength(uint8_t opcode) { return Opcode(opcode).length; }
inline bool IsValidOpcode(uint8_t opcode) { return Opcode(opcode).mnemonic != nullptr; }

// Stored programs write END as three zero bytes.
inline constexpr uint8_t kOpEnd = 0;
inline constexpr uint8_t kOpPush8 = 16;
inline constexpr uint8_t kOpSelect = 20;
inline constexpr uint8_t kOpLit = 32;
inline constexpr uint8_t kOpNop = 48;
inline constexpr uint8_t kOpClear = 80;
inline constexpr uint8_t kOpSetLanguage = 98;
inline constexpr uint8_t kOpRunItem = 113;
inline constexpr uint8_t kOpSelectFont = 115;
inline constexpr uint8_t kOpSelectIconSet = 118;

}  // namespace lcdm
