// Bytes as data statements: `.byte` lines of 16, runs of 8 or more equal
// bytes as `.repeat`. The disassembler writes everything it shows as bytes
// this way.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace zorasm {

std::string DataLines(const uint8_t* begin, const uint8_t* end, const std::string& indent);

// "0x2A"
std::string HexByte(uint8_t value);

}  // namespace zorasm
