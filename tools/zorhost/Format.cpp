#include "Format.h"

#include <cctype>

namespace zorhost {

std::string Hex2(uint8_t byte) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    return {kDigits[byte >> 4], kDigits[byte & 0x0F]};
}

std::string HexList(const std::vector<uint8_t>& bytes) {
    std::string text;
    for (uint8_t byte : bytes) text += (text.empty() ? "" : " ") + Hex2(byte);
    return text;
}

std::string DecimalList(const std::vector<uint8_t>& values) {
    std::string text;
    for (uint8_t value : values) text += (text.empty() ? "" : " ") + std::to_string(value);
    return text;
}

std::string Quoted(std::string_view text) {
    constexpr size_t kShown = 60;
    if (text.size() <= kShown) return "\"" + std::string(text) + "\"";
    size_t cut = kShown;
    // Never end in the middle of a UTF-8 character.
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    return "\"" + std::string(text.substr(0, cut)) + "...\" (" + std::to_string(text.size()) +
           " bytes)";
}

bool EndsWithNoCase(const std::string& text, const std::string& suffix) {
    if (text.size() < suffix.size()) return false;
    for (size_t i = 0; i < suffix.size(); ++i) {
        const auto a = static_cast<unsigned char>(text[text.size() - suffix.size() + i]);
        const auto b = static_cast<unsigned char>(suffix[i]);
        if (std::tolower(a) != std::tolower(b)) return false;
    }
    return true;
}

}  // namespace zorhost
