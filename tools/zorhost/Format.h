// Small text helpers shared by the commands.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zorhost {

// "0A": two upper-case hexadecimal digits.
std::string Hex2(uint8_t byte);
// "01 02 FF".
std::string HexList(const std::vector<uint8_t>& bytes);
// "1 2 255".
std::string DecimalList(const std::vector<uint8_t>& values);
// `text` in double quotes for a message, cut after 60 bytes so that a huge
// token cannot make a huge message ("\"abc...\" (10000000 bytes)").
std::string Quoted(std::string_view text);
// Whether `text` ends with `suffix`, ignoring ASCII case.
bool EndsWithNoCase(const std::string& text, const std::string& suffix);

}  // namespace zorhost
