// Small routines shared by every unit of the module.
#pragma once

#include <cstdint>

namespace lcdm {

// "0".."9", "A".."F" for 0..15 (upper case); the hexadecimal print uses it.
uint8_t HexDigit(uint8_t value);

// The font class (0..10) that serves a language byte.
uint8_t FontClassOf(uint8_t language);

// Big-endian 16-bit values, as module memory, item headers, the label store
// and tag operands all keep them.
inline constexpr uint16_t MakeWord(uint8_t high, uint8_t low) {
    return static_cast<uint16_t>((high << 8) | low);
}
inline constexpr uint8_t HighByte(uint16_t word) { return static_cast<uint8_t>(word >> 8); }
inline constexpr uint8_t LowByte(uint16_t word) { return static_cast<uint8_t>(word & 0xFF); }

// A read-only window onto one of the module's arrays (module memory, the
// built-in font, the label store's scratch buffer). Reads past its end give 0,
// as module memory reads past its last address do, so that a malformed image
// header or a truncated stream can never read outside the array it names.
struct ByteView {
    const uint8_t* bytes = nullptr;
    uint32_t size = 0;

    uint8_t At(uint32_t index) const { return index < size ? bytes[index] : 0; }
    uint16_t WordAt(uint32_t index) const { return MakeWord(At(index), At(index + 1)); }
    // The view that starts offset bytes further on (empty past the end).
    ByteView From(uint32_t offset) const {
        return offset < size ? ByteView{bytes + offset, size - offset} : ByteView{};
    }
};

}  // namespace lcdm
