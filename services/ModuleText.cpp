#include "ModuleText.h"

#include <algorithm>
#include <cstdio>

#include "ChainWalk.h"
#include "Lcdm.h"
#include "Lcdm_opcodes.h"
#include "SourceMap.h"

namespace services {
namespace {

const char* TypeName(uint8_t type) {
    switch (type) {
        case lcdm::kItemHeader: return "header";
        case lcdm::kItemProcedure: return "procedure";
        case lcdm::kItemBitmap: return "bitmap";
        case lcdm::kItemTextFont: return "text font";
        case lcdm::kItemString: return "string";
        case lcdm::kItemScript: return "script";
        case lcdm::kItemIconSet: return "icon set";
        default: return "item";
    }
}

std::string Stack(const uint8_t* cells, uint8_t depth) {
    std::string text;
    for (int i = 1; i <= depth; ++i) text += (text.empty() ? "" : " ") + Hex(cells[i]);
    return "[" + (text.empty() ? std::string(" ") : text) + "]";
}

}  // namespace

std::string Hex(uint8_t byte) {
    char text[3];
    std::snprintf(text, sizeof text, "%02X", byte);
    return text;
}

std::string StatusText(uint8_t status) {
    return std::to_string(status) + " (" + lcdm::StatusName(status) + ")";
}

std::string TagText(uint16_t address) {
    const uint8_t opcode = lcdm::ReadMemoryByte(address);
    const lcdm::OpcodeInfo& info = lcdm::Opcode(opcode);
    if (info.mnemonic == nullptr) return "invalid opcode 0x" + Hex(opcode);
    const uint8_t b1 = lcdm::ReadMemoryByte(static_cast<uint16_t>(address + 1));
    const uint8_t b2 = lcdm::ReadMemoryByte(static_cast<uint16_t>(address + 2));
    const std::string name = info.mnemonic;
    switch (info.operand) {
        case lcdm::OperandKind::kNone: return name;
        case lcdm::OperandKind::kInOpcode: return name + " " + std::to_string(opcode & 0x0F);
        case lcdm::OperandKind::kByte:
        case lcdm::OperandKind::kCount: return name + " " + std::to_string(b1);
        case lcdm::OperandKind::kOffset: {
            const int offset = static_cast<int8_t>(b1);
            return name + " " + std::to_string(offset) + " (to " +
                   std::to_string(static_cast<uint16_t>(address + 2 + offset)) + ")";
        }
        case lcdm::OperandKind::kWord:
        case lcdm::OperandKind::kAddress:
            return name + " " + std::to_string(static_cast<unsigned>(b1 << 8 | b2));
    }
    return name;
}

std::string PlaceText(uint16_t address) {
    const std::string at = std::to_string(address);
    for (const ChainItem& item : WalkChain(lcdm::Vocabulary.vocabularyStart))
        if (address >= item.address && address < item.address + item.length)
            return at + " = " + TypeName(item.type) + " " + std::to_string(item.number) + " + " +
                   std::to_string(address - item.address);
    return at + " (outside the vocabulary)";
}

std::string StacksText() {
    return "data " + Stack(lcdm::Engine.dataStack, lcdm::Engine.dataDepth) + ", return " +
           Stack(lcdm::Engine.returnStack, lcdm::Engine.returnDepth);
}

std::string RunStoppedText(uint8_t number, uint8_t parameter, const SourceMap* map) {
    const uint8_t status = lcdm::Engine.StatusRegister;
    const uint16_t tag = lcdm::Engine.lastTagAddress;
    std::string where = PlaceText(tag);
    const std::string source = map ? map->Where(tag) : std::string();
    if (!source.empty()) where += " (" + source + ")";
    std::string text = "! script " + std::to_string(number) + " (" + std::to_string(parameter) +
                       ") stopped: " + lcdm::StatusName(status) + " at " + where + ": " +
                       TagText(tag) + "; " + StacksText();
    if (status == lcdm::kStatusRunGuard) {
        const auto [low, high] = std::minmax_element(std::begin(lcdm::Engine.guardTrail),
                                                     std::end(lcdm::Engine.guardTrail));
        text += "; it ran " + std::to_string(lcdm::kRunGuardTags) +
                " tags without waiting, the last of them in " + std::to_string(*low) + " to " +
                std::to_string(*high);
    }
    return text;
}

}  // namespace services
