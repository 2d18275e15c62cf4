// One source line as the assembler sees it: an optional label, a directive
// or mnemonic, and its comma-separated operands.
#pragma once

#include <string>
#include <vector>

namespace zorasm {

struct Position {
    std::string file;
    int line = 0;
    int column = 0;  // 1-based, in bytes; 0: the line (or file) as a whole
};

struct Operand {
    enum class Kind { kNumber, kName, kString };
    Kind kind = Kind::kNumber;
    long number = 0;     // kNumber (characters in quotes are numbers too)
    std::string text;    // kName: the name; kString: the decoded characters
    std::string source;  // as written, for messages
    bool to = false;     // written as "to VALUE" (an item length given by its end)
    bool sign = false;   // written with a leading + or -
    int column = 0;      // where it starts on its line, for messages
};

struct Statement {
    Position position;  // its column is the directive's or mnemonic's
    std::string label;  // "" when the line defines none
    int labelColumn = 0;
    std::string name;  // directive (".byte") or mnemonic ("DUP"); "" for a label alone
    std::vector<Operand> operands;
    std::string text;  // the source line, for listings
};

// Reads one line; false for a line without a label or statement (blank or
// comment only). Throws pixelart::Error naming the position.
bool LexLine(const std::string& line, const Position& position, Statement& statement);

bool IsIdentifier(const std::string& text);

}  // namespace zorasm
