// The module's state in words, for traces and fault reports: a tag as its
// mnemonic and operands, an address as its place in the vocabulary, the
// stacks, and the line that says why a run stopped.
#pragma once

#include <cstdint>
#include <string>

namespace zorasm {
class SourceMap;
}

namespace services {

using zorasm::SourceMap;

// "0A": a byte as two upper-case hexadecimal digits.
std::string Hex(uint8_t byte);
// "3 (data stack underflow)": a status with its name.
std::string StatusText(uint8_t status);
// "PUSH8 9", "BRANCH -3 (to 18840)", "LIT 5"; "invalid opcode 0xC8".
std::string TagText(uint16_t address);
// "18846 = procedure 12 + 7", or "18846 (outside the vocabulary)".
std::string PlaceText(uint16_t address);
// "data [01 2A], return [48 90]": the stacks from the bottom up, in hex.
std::string StacksText();
// The line for a run that ended with an error status, as the run-end hook
// sees it:
//   ! script 10 (255) stopped: data stack underflow at 18846 = procedure 12 + 7:
//   DROP; data [ ], return [48 90]
// With a map that matches the image, the tag's source line follows its
// place ("(page.zasm:31)"); a run-guard stop names the loop's address range.
std::string RunStoppedText(uint8_t number, uint8_t parameter, const SourceMap* map);

}  // namespace services
