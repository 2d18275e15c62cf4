// What the tag set says about each of the 256 opcode values, expanded from
// the one list without the handlers (so the assembler can use it without the
// engine).
#include "Lcdm_opcodes.h"

#include "Lcdm_opcode_list.h"

namespace lcdm {
namespace {

struct Table {
    OpcodeInfo entries[256];
};

constexpr OperandKind InvalidOperand(uint8_t opcode) {
    return opcode < 16 ? OperandKind::kWord : opcode < 32 ? OperandKind::kByte : OperandKind::kNone;
}

constexpr Table BuildTable() {
    Table table{};
    for (int op = 0; op < 256; ++op) {
        const auto code = static_cast<uint8_t>(op);
        table.entries[op] = {nullptr, EncodedLength(code), InvalidOperand(code), "->",
                             "invalid opcode: status 8"};
    }
#define LCDM_INFO_ROW(first, last, mnemonic, operand, stack, summary, handler) \
    for (int op = first; op <= last; ++op)                                     \
        table.entries[op] = {#mnemonic, EncodedLength(static_cast<uint8_t>(op)), \
                             OperandKind::operand, stack, summary};
    LCDM_OPCODE_LIST(LCDM_INFO_ROW)
#undef LCDM_INFO_ROW
    return table;
}

constexpr Table kTable = BuildTable();

}  // namespace

const OpcodeInfo& Opcode(uint8_t opcode) { return kTable.entries[opcode]; }

}  // namespace lcdm
