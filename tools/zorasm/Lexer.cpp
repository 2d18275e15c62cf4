// Splits a source line into tokens and groups them into a statement.
#include <cctype>
#include <optional>

#include "Diagnostics.h"
#include "Statement.h"

namespace zorasm {

namespace {

struct Token {
    enum class Kind { kName, kNumber, kString, kComma, kColon };
    Kind kind;
    Operand operand;  // for names, numbers and strings; its column for every token
};

bool IsNameStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}
bool IsNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

class Lexer {
public:
    Lexer(const std::string& line, const Position& position) : line_(line), position_(position) {}

    std::vector<Token> Tokens() {
        std::vector<Token> tokens;
        while (true) {
            while (pos_ < line_.size() && std::isspace(static_cast<unsigned char>(line_[pos_])))
                ++pos_;
            if (pos_ >= line_.size() || line_[pos_] == ';') break;
            start_ = pos_;
            Token token = Next();
            token.operand.column = static_cast<int>(start_) + 1;
            tokens.push_back(std::move(token));
        }
        return tokens;
    }

private:
    // At the start of the token being read.
    [[noreturn]] void Fail(const std::string& message) const {
        zorasm::Fail(At(position_, static_cast<int>(start_) + 1), message);
    }

    Token Next() {
        const char c = line_[pos_];
        if (c == ',') return ++pos_, Token{Token::Kind::kComma, {}};
        if (c == ':') return ++pos_, Token{Token::Kind::kColon, {}};
        if (c == '"') return String();
        if (c == '\'') return Character();
        if (std::isdigit(static_cast<unsigned char>(c)) ||
            ((c == '+' || c == '-') && pos_ + 1 < line_.size() &&
             std::isdigit(static_cast<unsigned char>(line_[pos_ + 1]))))
            return Number();
        if (IsNameStart(c) || (c == '.' && pos_ + 1 < line_.size() && IsNameStart(line_[pos_ + 1])))
            return Name();
        Fail(std::string("unexpected character '") + c +
             "' (expected a name, a number, a string, ',' or ':')");
    }

    Token Name() {
        const size_t start = pos_++;
        while (pos_ < line_.size() && IsNameChar(line_[pos_])) ++pos_;
        Token token{Token::Kind::kName, {}};
        token.operand.kind = Operand::Kind::kName;
        token.operand.text = line_.substr(start, pos_ - start);
        token.operand.source = token.operand.text;
        return token;
    }

    Token Number() {
        const size_t start = pos_;
        const bool negative = line_[pos_] == '-';
        const bool sign = line_[pos_] == '-' || line_[pos_] == '+';
        if (sign) ++pos_;
        int base = 10;
        if (line_.compare(pos_, 2, "0x") == 0 || line_.compare(pos_, 2, "0X") == 0) {
            base = 16;
            pos_ += 2;
        }
        const size_t digits = pos_;
        while (pos_ < line_.size() && IsNameChar(line_[pos_])) ++pos_;
        const std::string text = line_.substr(start, pos_ - start);
        long value = 0;
        for (size_t i = digits; i < pos_; ++i) {
            const char d = static_cast<char>(std::tolower(static_cast<unsigned char>(line_[i])));
            const int digit = std::isdigit(static_cast<unsigned char>(d)) ? d - '0'
                              : (base == 16 && d >= 'a' && d <= 'f')      ? d - 'a' + 10
                                                                          : -1;
            if (digit < 0)
                Fail("'" + text + "' is not a number (expected decimal, or hexadecimal after 0x)");
            value = value * base + digit;
            if (value > 0xFFFFFF) Fail("'" + text + "' is far too large a number");
        }
        if (pos_ == digits) Fail("'" + text + "' has no digits after 0x");
        Token token{Token::Kind::kNumber, {}};
        token.operand.number = negative ? -value : value;
        token.operand.source = text;
        token.operand.sign = sign;
        return token;
    }

    // One character of a string or a character literal, escapes decoded.
    unsigned char Char(char quote) {
        if (pos_ >= line_.size()) Fail(std::string("missing closing ") + quote);
        const char c = line_[pos_++];
        if (c != '\\') return static_cast<unsigned char>(c);
        if (pos_ >= line_.size()) Fail(std::string("missing closing ") + quote);
        const char e = line_[pos_++];
        if (e == '"' || e == '\'' || e == '\\') return static_cast<unsigned char>(e);
        if (e == 'n') return '\n';
        if (e == 'x' && pos_ + 2 <= line_.size() &&
            std::isxdigit(static_cast<unsigned char>(line_[pos_])) &&
            std::isxdigit(static_cast<unsigned char>(line_[pos_ + 1]))) {
            const auto value = std::stoi(line_.substr(pos_, 2), nullptr, 16);
            pos_ += 2;
            return static_cast<unsigned char>(value);
        }
        Fail(std::string("unknown escape '\\") + e +
             "' (expected \\\", \\', \\\\, \\n or \\xHH with two hexadecimal digits)");
    }

    Token String() {
        const size_t start = pos_++;
        std::string text;
        while (pos_ >= line_.size() || line_[pos_] != '"')
            text.push_back(static_cast<char>(Char('"')));
        ++pos_;
        Token token{Token::Kind::kString, {}};
        token.operand.kind = Operand::Kind::kString;
        token.operand.text = text;
        token.operand.source = line_.substr(start, pos_ - start);
        return token;
    }

    Token Character() {
        const size_t start = pos_++;
        if (pos_ < line_.size() && line_[pos_] == '\'') Fail("empty character '' (expected 'c')");
        const unsigned char c = Char('\'');
        if (pos_ >= line_.size() || line_[pos_] != '\'')
            Fail("a character in quotes holds one character (expected 'c' or an escape)");
        ++pos_;
        Token token{Token::Kind::kNumber, {}};
        token.operand.number = c;
        token.operand.source = line_.substr(start, pos_ - start);
        return token;
    }

    const std::string& line_;
    const Position& position_;
    size_t pos_ = 0;
    size_t start_ = 0;
};

// One operand: a value, or "to" and a value.
Operand ReadOperand(const std::vector<Token>& tokens, size_t begin, size_t end,
                    const Position& position, const std::string& name) {
    if (begin == end) {
        // At the comma that follows the missing operand (or ends the line).
        const int column =
            end < tokens.size() ? tokens[end].operand.column : tokens[end - 1].operand.column + 1;
        Fail(At(position, column), "empty operand of " + name + " (two commas in a row?)");
    }
    const Token& first = tokens[begin];
    if (end - begin == 2 && first.kind == Token::Kind::kName && first.operand.text == "to" &&
        tokens[begin + 1].kind != Token::Kind::kString) {
        Operand operand = tokens[begin + 1].operand;
        operand.to = true;
        operand.source = "to " + operand.source;
        operand.column = first.operand.column;
        return operand;
    }
    if (end - begin != 1)
        Fail(At(position, tokens[begin + 1].operand.column),
             "operands of " + name + " are separated by commas (after '" + first.operand.source +
                 "')");
    return first.operand;
}

}  // namespace

bool IsIdentifier(const std::string& text) {
    if (text.empty() || !IsNameStart(text[0])) return false;
    for (char c : text)
        if (!IsNameChar(c)) return false;
    return true;
}

bool LexLine(const std::string& line, const Position& position, Statement& statement) {
    const std::vector<Token> tokens = Lexer(line, position).Tokens();
    if (tokens.empty()) return false;
    statement = Statement{};
    statement.position = At(position, tokens[0].operand.column);
    statement.text = line;
    size_t i = 0;
    if (tokens.size() >= 2 && tokens[0].kind == Token::Kind::kName &&
        tokens[1].kind == Token::Kind::kColon) {
        statement.label = tokens[0].operand.text;
        statement.labelColumn = tokens[0].operand.column;
        if (!IsIdentifier(statement.label))
            Fail(statement.position, "'" + statement.label +
                                         "' is not a label name (expected letters, "
                                         "digits and _, not starting with a digit)");
        i = 2;
    }
    if (i == tokens.size()) return true;
    statement.position.column = tokens[i].operand.column;
    if (tokens[i].kind != Token::Kind::kName)
        Fail(statement.position,
             "expected a directive or a mnemonic at the start of the statement");
    statement.name = tokens[i].operand.text;
    size_t begin = ++i;
    if (begin == tokens.size()) return true;
    for (size_t j = begin; j <= tokens.size(); ++j) {
        if (j < tokens.size() && tokens[j].kind == Token::Kind::kColon)
            Fail(At(position, tokens[j].operand.column),
                 "unexpected ':' (a label stands first on its line)");
        if (j == tokens.size() || tokens[j].kind == Token::Kind::kComma) {
            statement.operands.push_back(ReadOperand(tokens, begin, j, position, statement.name));
            begin = j + 1;
        }
    }
    return true;
}

}  // namespace zorasm
