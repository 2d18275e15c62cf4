// Module memory: the flat 37344-byte space that holds the vocabulary, and the
// byte and word accesses every other unit reads it through.
#include "Lcdm_memory.h"
#include "Lcdm_fonts.h"
#include "Lcdm_lookup_caches.h"
#include "Lcdm_status.h"

namespace lcdm {

void MemoryWritten() {
    ++LookupCaches.memoryEpoch;
}

uint8_t CheckMemoryAddress(uint16_t address) {
    return address < kModuleMemorySize ? kStatusOk : kStatusAddressRange;
}

uint8_t ReadMemoryByte(uint16_t address) {
    // Reading beyond the end never fails; the vocabulary walk takes the 0 as
    // an end marker.
    return address < kModuleMemorySize ? Memory.ModuleMemory[address] : 0;
}

uint16_t ReadMemoryWord(uint16_t address) {
    if (address >= kModuleMemorySize) {
        return 0;
    }
    // A word at the last address has its low byte past the end; like any read
    // past the end, that byte reads as 0. The address + 1 cannot wrap here.
    const uint16_t next = static_cast<uint16_t>(address + 1);
    return MakeWord(Memory.ModuleMemory[address], ReadMemoryByte(next));
}

uint8_t WriteMemoryByte(uint8_t value, uint16_t address) {
    if (address >= kModuleMemorySize) {
        return kStatusAddressRange;
    }
    Memory.ModuleMemory[address] = value;
    MemoryWritten();
    return kStatusOk;
}

uint8_t WriteMemoryWord(uint16_t value, uint16_t address) {
    // A word at the last address would be half written; it is refused whole
    // with 9, so a failed write never changes memory.
    if (address >= kModuleMemorySize - 1) {
        return kStatusAddressRange;
    }
    Memory.ModuleMemory[address] = HighByte(value);
    Memory.ModuleMemory[address + 1] = LowByte(value);
    MemoryWritten();
    return kStatusOk;
}

uint8_t ReadFontByte(uint16_t offset, bool fromBuiltIn) {
    if (!fromBuiltIn) {
        return ReadMemoryByte(offset);
    }
    // Well-formed fonts never read past the built-in table; if one does, the
    // byte reads as 0, as module memory does past its end.
    return offset < kBuiltInFontSize ? BuiltInFont[offset] : 0;
}

ByteView MemoryView(uint16_t address) {
    if (address >= kModuleMemorySize) {
        return ByteView{};
    }
    return ByteView{Memory.ModuleMemory + address,
                    static_cast<uint32_t>(kModuleMemorySize - address)};
}

void MemoryOpenHook() {}

void MemoryCloseHook() {}

}  // namespace lcdm
