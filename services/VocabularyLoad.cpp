#include "VocabularyLoad.h"

#include <algorithm>

#include "Assembler.h"
#include "ChainWalk.h"
#include "Lcdm.h"
#include "files/Files.h"

namespace services {
namespace {

// Sends a command; false when the module did not take it (no echo).
bool Accepted(panel::HostPort& port, std::initializer_list<uint8_t> bytes) {
    for (uint8_t byte : bytes) port.Send(byte);
    return port.LastReply() == *bytes.begin();
}

bool Pointer(panel::HostPort& port, uint16_t address) {
    return Accepted(
        port, {0x82, static_cast<uint8_t>(address >> 8), static_cast<uint8_t>(address & 0xFF)});
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

LoadedVocabulary WriteVocabulary(panel::HostPort& port, uint16_t address,
                                 const std::vector<uint8_t>& bytes) {
    LoadedVocabulary result;
    for (int i = 0; i < 3; ++i) port.Send(0x00);
    if (!Pointer(port, address)) {
        result.error = "the module refused the address " + std::to_string(address);
        return result;
    }
    if (!Accepted(port, {0x0A})) {
        result.error = "the module refused memory mode";
        return result;
    }
    for (size_t chunk = 0; chunk < bytes.size(); chunk += lcdm::kDataBufferHostBytes) {
        const size_t end = std::min(bytes.size(), chunk + lcdm::kDataBufferHostBytes);
        bool ok = Accepted(port, {0x09});
        size_t i = chunk;
        for (; ok && i + 1 < end; i += 2) ok = Accepted(port, {0x84, bytes[i], bytes[i + 1]});
        if (ok && i < end) ok = Accepted(port, {0x60, bytes[i]});
        if (ok) ok = Accepted(port, {0x24});
        if (!ok) {
            result.error = "the module refused the bytes from offset " + std::to_string(chunk);
            return result;
        }
    }
    if (!Pointer(port, address)) {
        result.error = "the module refused the address " + std::to_string(address);
        return result;
    }
    port.Send(0x67);
    port.Send(lcdm::kConfirm);
    // The reply is the item count modulo 256; the chain itself gives it whole.
    result.items = WalkChain(address).size();
    result.ok = true;
    return result;
}

bool ReadVocabulary(const std::vector<std::string>& files, uint16_t address,
                    std::vector<uint8_t>& bytes, std::vector<std::string>& errors) {
    if (files.empty()) {
        errors.push_back("no vocabulary file given");
        return false;
    }
    const bool sources = std::all_of(files.begin(), files.end(),
                                     [](const std::string& f) { return EndsWith(f, ".zasm"); });
    if (!sources) {
        if (files.size() != 1) {
            errors.push_back("give one image file, or zorasm sources (.zasm) only");
            return false;
        }
        files::ReadError failure;
        const auto text =
            files::ReadFile(files.front(), lcdm::kModuleMemorySize - address, failure);
        if (!text) {
            errors.push_back(failure.Message(files.front()) +
                             (failure.kind == files::ReadError::Kind::kTooLarge
                                  ? " (the most module memory holds from address " +
                                        std::to_string(address) + ")"
                                  : ""));
            return false;
        }
        bytes.assign(text->begin(), text->end());
        return true;
    }
    const zorasm::Assembly assembly = zorasm::Assemble(files, zorasm::DiskFiles(), {address});
    errors.insert(errors.end(), assembly.unreadable.begin(), assembly.unreadable.end());
    errors.insert(errors.end(), assembly.diagnostics.errors.begin(),
                  assembly.diagnostics.errors.end());
    if (!assembly.Ok()) return false;
    bytes = assembly.bytes;
    return true;
}

}  // namespace services
