#include "DataLines.h"

#include <cstdio>

namespace zorasm {

namespace {

constexpr size_t kBytesPerLine = 16;
constexpr size_t kMinRepeat = 8;  // runs of one byte at least this long become .repeat

}  // namespace

std::string HexByte(uint8_t value) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", value);
    return text;
}

std::string DataLines(const uint8_t* begin, const uint8_t* end, const std::string& indent) {
    std::string out, row;
    size_t inRow = 0;
    auto flush = [&] {
        if (inRow > 0) out += indent + ".byte " + row + "\n";
        row.clear();
        inRow = 0;
    };
    for (const uint8_t* i = begin; i < end;) {
        size_t run = 1;
        while (i + run < end && i[run] == *i) ++run;
        if (run >= kMinRepeat) {
            flush();
            out += indent + ".repeat " + std::to_string(run) + ", " + HexByte(*i) + "\n";
            i += run;
            continue;
        }
        row += (inRow == 0 ? "" : ", ") + HexByte(*i);
        if (++inRow == kBytesPerLine) flush();
        ++i;
    }
    flush();
    return out;
}

}  // namespace zorasm
