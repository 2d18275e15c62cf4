#include "CommandTrace.h"

#include <cctype>
#include <cstdio>

#include "ModuleText.h"

namespace services {
namespace {

// 0x48 'H': the number, and the character when it is one.
std::string Byte(uint8_t byte) {
    std::string text = "0x" + Hex(byte);
    if (byte >= 0x20 && byte < 0x7F) text += std::string(" '") + static_cast<char>(byte) + "'";
    return text;
}

// "DATA_BYTE" reads "data byte".
std::string Humanised(const char* name) {
    std::string text = name;
    for (char& c : text) c = c == '_' ? ' ' : static_cast<char>(std::tolower(c));
    return text;
}

std::string Keys(uint32_t mask) {
    std::string text;
    for (int key = 1; key <= 32; ++key)
        if (mask & (1u << (key - 1))) text += (text.empty() ? "" : ", ") + std::to_string(key);
    return "{" + text + "}";
}

// Text bytes in quotes, those that are no printable ASCII as \xHH.
std::string Quoted(const uint8_t* bytes, int count) {
    std::string text = "\"";
    for (int i = 0; i < count; ++i) {
        if (bytes[i] >= 0x20 && bytes[i] < 0x7F && bytes[i] != '"' && bytes[i] != '\\')
            text += static_cast<char>(bytes[i]);
        else
            text += "\\x" + Hex(bytes[i]);
    }
    return text + "\"";
}

std::string Confirmed(uint8_t byte) {
    return byte == lcdm::kConfirm ? " (confirmed)"
                                  : " (not confirmed: " + Byte(byte) + ", expected 0xAC)";
}

}  // namespace

CommandTrace::CommandTrace() {
    Remember();
}

void CommandTrace::Remember() {
    before_ = lcdm::Link;
    statusBefore_ = lcdm::Engine.StatusRegister;
}

void CommandTrace::RunEnded(uint8_t number, uint8_t parameter, uint8_t status) {
    runs_.push_back({number, parameter, status});
}

std::string CommandTrace::Execute() const {
    const lcdm::LinkState& link = before_;
    const int length = link.DataLength;
    const std::string bytes = std::to_string(length) + (length == 1 ? " byte" : " bytes");
    switch (link.DataMode) {
        case lcdm::kModeMemory:
            return "write " + bytes + " to module memory at " + std::to_string(link.AddressPointer);
        case lcdm::kModeLabelStore:
            return "write " + bytes + " to the label store at " +
                   std::to_string(link.AddressPointer);
        case lcdm::kModeIconBegin: return "begin a dynamic icon with " + bytes;
        case lcdm::kModeIconAppend: return "append " + bytes + " to the dynamic icon";
        case lcdm::kModeBothLogos: return "store " + bytes + " of both logos";
        case lcdm::kModeOneLogo: return "store " + bytes + " of the selected logo";
        case lcdm::kModeStoreLabels:
            if (length == 0) return "store labels for keys " + Keys(link.KeySelectionMask);
            return "store labels for keys " + Keys(link.KeySelectionMask) + " (language " +
                   std::to_string(link.DataBuffer[0]) + ", " +
                   Quoted(link.DataBuffer + 1, length - 1) + ")";
        default: return "with no data mode chosen (" + bytes + " waiting)";
    }
}

std::string CommandTrace::Describe(uint8_t first, uint8_t a, uint8_t b) const {
    lcdm::CommandInfo info{};
    if (!lcdm::DescribeCommand(first, info)) return "unassigned command " + Byte(first);
    const std::string name = Humanised(info.name);
    const uint8_t low = first & 0x0F;
    using Operands = lcdm::CommandOperands;
    switch (info.operands) {
        case Operands::kNone: return first == 0x24 ? "execute: " + Execute() : name;
        case Operands::kValue: return name + " " + std::to_string(a);
        case Operands::kDataByte:
            return name + " " + Byte(a) + " (length " + std::to_string(lcdm::Link.DataLength) + ")";
        case Operands::kDataBytes:
            return name + " " + Byte(a) + " " + Byte(b) + " (length " +
                   std::to_string(lcdm::Link.DataLength) + ")";
        case Operands::kKey:
            return name + " " + std::to_string(a) +
                   (first == 0x61 ? " (keys " + Keys(lcdm::Link.KeySelectionMask) + ")" : "");
        case Operands::kLanguage: return name + " " + std::to_string(a);
        case Operands::kConfirm:
            return name + (first == 0x67 ? " at " + std::to_string(before_.AddressPointer) : "") +
                   Confirmed(a);
        case Operands::kNibbleAndValue:
            return first < 0x50
                       ? "set variable " + std::to_string(low) + " := " + std::to_string(a)
                       : "run script " + std::to_string(low) + " with " + std::to_string(a);
        case Operands::kIndexAndValue:
            return first == 0x80 ? "set variable " + std::to_string(a) + " := " + std::to_string(b)
                                 : "run script " + std::to_string(a) + " with " + std::to_string(b);
        case Operands::kAddress:
            return name + " " + std::to_string(static_cast<unsigned>(a << 8 | b));
        case Operands::kWordLowFirst:
            return name + " 0x" + Hex(b) + Hex(a) + " at " + std::to_string(before_.AddressPointer);
        case Operands::kLanguageAndConfirm: return name + " " + std::to_string(a) + Confirmed(b);
        case Operands::kValuePair: return name + " " + Byte(a) + " " + Byte(b);
    }
    return name;
}

std::string CommandTrace::Outcome(uint8_t first, uint8_t reply, uint8_t statusAfter) const {
    std::string text = reply == first ? "ok" : reply == 0 ? "refused" : "answer " + Byte(reply);
    bool statusTold = false;
    for (const Run& run : runs_) {
        if (run.number == 10 && run.parameter == 255 && run.status == lcdm::kStatusEnded) {
            text += ", refresh";
            continue;
        }
        text += ", script " + std::to_string(run.number) + " (" + std::to_string(run.parameter) +
                ") " +
                (run.status == lcdm::kStatusEnded ? "ended" : "stopped: " + StatusText(run.status));
        statusTold = statusTold || run.status == statusAfter;
    }
    if (statusAfter != statusBefore_ && !statusTold) text += ", status " + StatusText(statusAfter);
    return text;
}

std::vector<std::string> CommandTrace::Incomplete(const std::string& why) {
    std::vector<std::string> lines;
    for (auto& [depth, pending] : pending_) {
        if (pending.empty()) continue;
        std::string bytes, links;
        for (const panel::PortEvent& e : pending) {
            bytes += (bytes.empty() ? "" : " ") + Hex(e.byte);
            links += (links.empty() ? "" : "/") + std::to_string(e.linkCode);
        }
        lcdm::CommandInfo info{};
        const std::string name = lcdm::DescribeCommand(pending.front().byte, info)
                                     ? Humanised(info.name)
                                     : "unassigned command";
        lines.push_back("> " + bytes + " " + links + " " + Hex(pending.back().reply) + "   " +
                        name + ": incomplete, " + why);
        pending.clear();
    }
    return lines;
}

std::optional<TracedEvent> CommandTrace::Take(const panel::PortEvent& event) {
    TracedEvent traced;
    if (event.kind == panel::PortEvent::Kind::kDirect) {
        Remember();
        traced.description = event.access;
        traced.line = "! " + event.access;
        // A link reset discards a command begun: say so before it.
        if (event.direct == panel::DirectAccess::kLinkReset)
            for (const std::string& line : Incomplete("discarded by the link reset"))
                traced.line = line + "\n" + traced.line;
        return traced;
    }
    std::vector<panel::PortEvent>& pending = pending_[event.depth];
    pending.push_back(event);
    if (event.linkCode == lcdm::kLinkMore) return std::nullopt;
    std::string bytes, links;
    for (const panel::PortEvent& e : pending) {
        traced.bytes.push_back(e.byte);
        bytes += (bytes.empty() ? "" : " ") + Hex(e.byte);
        links += (links.empty() ? "" : "/") + std::to_string(e.linkCode);
    }
    if (event.linkCode == lcdm::kLinkRejected) {
        traced.description = "not a first byte (0xC0 to 0xFF): discarded";
    } else {
        const uint8_t first = pending.front().byte;
        const uint8_t a = pending.size() > 1 ? pending[1].byte : 0;
        const uint8_t b = pending.size() > 2 ? pending[2].byte : 0;
        traced.description = Describe(first, a, b) + " -> " +
                             Outcome(first, event.reply, lcdm::Engine.StatusRegister);
    }
    traced.line = "> " + bytes + " " + links + " " + Hex(event.reply) + "   " + traced.description;
    pending.clear();
    runs_.clear();
    Remember();
    return traced;
}

std::vector<std::string> CommandTrace::Lines(const panel::PortEvent& event) {
    const std::optional<TracedEvent> traced = Take(event);
    if (!traced) return {};
    return {traced->line};
}

}  // namespace services
