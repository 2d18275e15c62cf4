// The image as a C++ source that defines it as constant data of the module.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zorasm {

// `const uint8_t lcdm::SYMBOL[N]`, led by a line naming zorasm and the sources.
std::string RenderCpp(const std::vector<uint8_t>& bytes, const std::string& symbol,
                      const std::vector<std::string>& sources);

}  // namespace zorasm
