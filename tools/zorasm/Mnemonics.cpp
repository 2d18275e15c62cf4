#include "Mnemonics.h"

#include <map>

namespace zorasm {

namespace {

std::map<std::string, Mnemonic> BuildNames() {
    std::map<std::string, Mnemonic> names;
    for (int op = 0; op < 256; ++op) {
        const auto opcode = static_cast<uint8_t>(op);
        const lcdm::OpcodeInfo& info = lcdm::Opcode(opcode);
        if (info.mnemonic == nullptr) continue;
        const auto found = names.find(info.mnemonic);
        if (found == names.end()) {
            names.emplace(info.mnemonic, Mnemonic{opcode, 1, info.operand});
            continue;
        }
        // A value in the opcode: consecutive opcodes of one name.
        Mnemonic& entry = found->second;
        if (info.operand == lcdm::OperandKind::kInOpcode && entry.opcode + entry.span == op)
            ++entry.span;
    }
    return names;
}

const std::map<std::string, Mnemonic>& Names() {
    static const std::map<std::string, Mnemonic> names = BuildNames();
    return names;
}

}  // namespace

const Mnemonic* FindMnemonic(const std::string& name) {
    const auto found = Names().find(name);
    return found == Names().end() ? nullptr : &found->second;
}

std::vector<std::string> MnemonicNames() {
    std::vector<std::string> names;
    for (const auto& [name, entry] : Names()) names.push_back(name);
    return names;
}

bool WrittenByMnemonic(uint8_t opcode) {
    const char* name = lcdm::Opcode(opcode).mnemonic;
    if (name == nullptr) return false;
    const Mnemonic* entry = FindMnemonic(name);
    return entry != nullptr && opcode >= entry->opcode && opcode < entry->opcode + entry->span;
}

}  // namespace zorasm
