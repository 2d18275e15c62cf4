// The disassembler: any image back to source that assembles to the same
// bytes. Procedures and scripts become tags with labels for the jumps and
// branches that land inside them; clean strings become .string; everything
// else (bitmaps, fonts, icon sets, odd bytes) is shown as data.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zorasm {

// `name` is the image's file name, for the leading comment. The image must
// fit in module memory from `base`.
std::string Disassemble(const std::vector<uint8_t>& image, uint32_t base, const std::string& name);

}  // namespace zorasm
