#include "ScriptLexer.h"

#include <cstdint>

#include "ScriptError.h"

namespace zorhost {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Length of the UTF-8 sequence starting with `lead`, or 0 if it starts none.
size_t Utf8Length(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 0;
}

// Appends one literal character of a string starting at line[i]; returns its
// length in bytes. Bytes that are not valid UTF-8 pass through unchanged.
size_t TakeCharacter(std::string_view line, size_t i, Token& token) {
    const auto lead = static_cast<unsigned char>(line[i]);
    size_t length = Utf8Length(lead);
    bool valid = length > 0 && i + length <= line.size();
    uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
    for (size_t k = 1; valid && k < length; ++k) {
        const auto next = static_cast<unsigned char>(line[i + k]);
        valid = (next & 0xC0) == 0x80;
        code = (code << 6) | (next & 0x3F);
    }
    if (!valid) {
        length = 1;
        code = lead;
    }
    token.text.append(line.substr(i, length));
    if (code <= 0xFF)
        token.bytes.push_back(static_cast<char>(code));
    else
        token.hasWideCharacter = true;
    return length;
}

// Reads the string whose opening quote is at line[i]; returns the index after
// its closing quote.
size_t TakeString(std::string_view line, size_t i, Token& token) {
    token.quoted = true;
    ++i;
    while (i < line.size() && line[i] != '"') {
        if (line[i] != '\\') {
            i += TakeCharacter(line, i, token);
            continue;
        }
        const char kind = i + 1 < line.size() ? line[i + 1] : '\0';
        if (kind == '"' || kind == '\\') {
            token.text.push_back(kind);
            token.bytes.push_back(kind);
            i += 2;
        } else if (kind == 'x' && i + 3 < line.size() && HexValue(line[i + 2]) >= 0 &&
                   HexValue(line[i + 3]) >= 0) {
            const char byte = static_cast<char>(HexValue(line[i + 2]) * 16 + HexValue(line[i + 3]));
            token.text.push_back(byte);
            token.bytes.push_back(byte);
            i += 4;
        } else {
            throw ScriptError("unknown escape in a string (expected \\\", \\\\ or \\xHH)");
        }
    }
    if (i >= line.size()) throw ScriptError("unterminated string (expected a closing \")");
    return i + 1;
}

}  // namespace

std::vector<Token> SplitLine(std::string_view line) {
    std::vector<Token> tokens;
    size_t i = 0;
    while (i < line.size()) {
        if (IsBlank(line[i])) {
            ++i;
            continue;
        }
        if (line[i] == '#') break;
        Token token;
        if (line[i] == '"') {
            i = TakeString(line, i, token);
            if (i < line.size() && !IsBlank(line[i]) && line[i] != '#')
                throw ScriptError("a string must be followed by a space");
        } else {
            while (i < line.size() && !IsBlank(line[i]) && line[i] != '#') {
                if (line[i] == '"') throw ScriptError("a quote in the middle of a word");
                i += TakeCharacter(line, i, token);
            }
        }
        tokens.push_back(std::move(token));
    }
    return tokens;
}

}  // namespace zorhost
