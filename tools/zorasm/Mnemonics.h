// The module's opcode table seen by name: which opcode a mnemonic writes and
// how its operand is written. Everything here is derived from lcdm::Opcode,
// the table the engine dispatches on; nothing repeats it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Lcdm_opcodes.h"

namespace zorasm {

struct Mnemonic {
    uint8_t opcode;  // the first opcode of the name
    uint8_t span;    // opcodes opcode..opcode + span - 1 carry a value 0..span - 1 (LIT)
    lcdm::OperandKind operand;
};

// The mnemonic's entry, or nullptr if the table has no such name.
const Mnemonic* FindMnemonic(const std::string& name);
// Every mnemonic, for suggestions.
std::vector<std::string> MnemonicNames();

// True when writing the opcode's mnemonic assembles to this very opcode (not
// so for the second opcode of a name that two share).
bool WrittenByMnemonic(uint8_t opcode);

}  // namespace zorasm
