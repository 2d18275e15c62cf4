#include "Diagnostics.h"

namespace zorasm {

std::string ShortenLongWords(const std::string& message) {
    constexpr size_t kLongestWord = 80;
    constexpr size_t kShown = 60;
    std::string shown;
    size_t start = 0;
    while (start < message.size()) {
        size_t end = message.find(' ', start);
        if (end == std::string::npos) end = message.size();
        if (end - start <= kLongestWord) {
            shown.append(message, start, end - start);
        } else {
            size_t cut = kShown;
            // Never end in the middle of a UTF-8 character.
            while (cut > 0 && (static_cast<unsigned char>(message[start + cut]) & 0xC0) == 0x80)
                --cut;
            shown.append(message, start, cut)
                .append("... (" + std::to_string(end - start) + " bytes)");
        }
        if (end < message.size()) shown.push_back(' ');
        start = end + 1;
    }
    return shown;
}

}  // namespace zorasm
