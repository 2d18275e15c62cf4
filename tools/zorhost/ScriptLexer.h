// Splits one script line into tokens: words separated by spaces or tabs, and
// double-quoted strings with the escapes \" \\ and \xHH. '#' outside a string
// starts a comment that runs to the end of the line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zorhost {

struct Token {
    std::string text;  // as written (escapes applied), UTF-8 like the script
    // The text in the window's 8-bit character set, one byte per character:
    // characters up to U+00FF become that byte, a string's \xHH gives HH.
    std::string bytes;
    bool quoted = false;
    bool hasWideCharacter = false;  // a character above U+00FF: no 8-bit byte for it
};

// Throws ScriptError for an unterminated string, an unknown escape or a quote
// in the middle of a word.
std::vector<Token> SplitLine(std::string_view line);

}  // namespace zorhost
