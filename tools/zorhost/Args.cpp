#include <cctype>
#include <sstream>

#include "Command.h"
#include "Format.h"
#include "ScriptError.h"

namespace zorhost {
namespace {

// Parses digits in `base` from text[start..]; false on no digits, a bad digit
// or overflow past `limit`.
bool ParseDigits(const std::string& text, size_t start, int base, long limit, long& value) {
    if (start >= text.size()) return false;
    value = 0;
    for (size_t i = start; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        int digit = std::isdigit(c) ? c - '0' : std::isxdigit(c) ? std::tolower(c) - 'a' + 10 : 99;
        if (digit >= base) return false;
        value = value * base + digit;
        if (value > limit) return false;
    }
    return true;
}

bool HasHexPrefix(const std::string& text, size_t at) {
    return text.size() > at + 1 && text[at] == '0' && (text[at + 1] == 'x' || text[at + 1] == 'X');
}

}  // namespace

void Args::RequireCount(size_t min, size_t max) const {
    if (tokens_.size() < min) Fail("missing " + ArgumentName(tokens_.size()));
    if (tokens_.size() > max) Fail("unexpected argument " + Quoted(tokens_[max].text));
}

long Args::Number(size_t i, long min, long max) const {
    const std::string& text = Text(i);
    const bool negative = min < 0 && !text.empty() && text[0] == '-';
    const size_t start = negative ? 1 : 0;
    long value = 0;
    const long limit = negative ? -min : max;
    const bool ok = HasHexPrefix(text, start) ? ParseDigits(text, start + 2, 16, limit, value)
                                              : ParseDigits(text, start, 10, limit, value);
    if (negative) value = -value;
    std::ostringstream expected;
    expected << min << " to " << max;
    if (!ok || value < min || value > max)
        Fail(ArgumentName(i) + " " + Quoted(text) + " is not a number from " + expected.str());
    return value;
}

uint8_t Args::HexByte(size_t i) const {
    const std::string& text = Text(i);
    const size_t start = HasHexPrefix(text, 0) ? 2 : 0;
    long value = 0;
    if (At(i).quoted || text.size() - start > 2 || !ParseDigits(text, start, 16, 0xFF, value))
        Fail(ArgumentName(i) + " " + Quoted(text) + " is not a hexadecimal byte (00 to FF)");
    return static_cast<uint8_t>(value);
}

std::vector<uint8_t> Args::HexBytes(size_t from) const {
    std::vector<uint8_t> bytes;
    for (size_t i = from; i < tokens_.size(); ++i) bytes.push_back(HexByte(i));
    return bytes;
}

void Args::Fail(const std::string& message) const {
    throw ScriptError(std::string(spec_.name) + ": " + message +
                      " (usage: " + std::string(spec_.usage) + ")");
}

std::string Args::ArgumentName(size_t i) const {
    // The usage line's words after the command's own name, brackets dropped;
    // a trailing "..." repeats the word before it.
    std::istringstream words{std::string(spec_.usage.substr(spec_.name.size()))};
    std::vector<std::string> names;
    for (std::string word; words >> word;) {
        std::string name;
        for (char c : word)
            if (c != '[' && c != ']') name.push_back(c);
        if (name == "..." && !names.empty()) break;
        names.push_back(name);
    }
    if (names.empty()) return "argument";
    return i < names.size() ? names[i] : names.back();
}

}  // namespace zorhost
