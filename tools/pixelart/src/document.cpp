// Reads the pixel-art text format into directives and their pictures.
#include "pixelart/document.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "pixelart/error.h"

namespace pixelart {

std::string Hex(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%02X", value);
    return text;
}

bool Picture::RowBlank(int y) const {
    for (bool dark : rows[y])
        if (dark) return false;
    return true;
}

void Document::Fail(const Directive& directive, const std::string& message) const {
    throw Error(file, directive.line, message);
}

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (IsSpace(text.front()) || text.front() == '\r')) text.remove_prefix(1);
    while (!text.empty() && (IsSpace(text.back()) || text.back() == '\r')) text.remove_suffix(1);
    return text;
}

// Cuts a "//" comment off a picture row or baseline (they hold no '/').
std::string_view CutComment(std::string_view text) {
    const size_t at = text.find("//");
    return Trim(at == std::string_view::npos ? text : text.substr(0, at));
}

class Parser {
public:
    Parser(const std::string& file) { document_.file = file; }

    void Line(std::string_view raw, int number) {
        line_ = number;
        const std::string_view text = Trim(raw);
        if (text.empty()) {
            EndPicture();
            return;
        }
        if (text.rfind("//", 0) == 0) return;  // a comment line does not end a picture
        const char first = text.front();
        if (first == '#' || first == '.') {
            Row(CutComment(text));
        } else if (first == '-') {
            Baseline(CutComment(text));
        } else if (std::isalpha(static_cast<unsigned char>(first))) {
            EndPicture();
            StartDirective(text);
        } else {
            Fail(std::string("unexpected '") + first +
                 "' at the start of a line (expected a directive word, a picture row of '#' and "
                 "'.', or a baseline of '-')");
        }
    }

    Document Finish(int lastLine) {
        EndPicture();
        document_.lastLine = lastLine;
        return std::move(document_);
    }

private:
    [[noreturn]] void Fail(const std::string& message) const {
        throw Error(document_.file, line_, message);
    }

    Picture& OpenPicture() {
        if (!pictureOpen_)
            Fail(document_.directives.empty()
                     ? "picture row before any directive"
                     : "picture row without a directive above it (a blank line ends a picture)");
        return document_.directives.back().picture;
    }

    void Row(std::string_view text) {
        Picture& picture = OpenPicture();
        std::vector<bool> row;
        for (size_t i = 0; i < text.size(); ++i) {
            const char c = text[i];
            if (c != '#' && c != '.')
                Fail(std::string("unexpected '") + c + "' in column " + std::to_string(i + 1) +
                     " of a picture row (expected '#' for dark or '.' for light)");
            row.push_back(c == '#');
        }
        if (picture.empty()) {
            picture.width = static_cast<int>(row.size());
            picture.firstLine = line_;
        } else if (static_cast<int>(row.size()) != picture.width) {
            Fail("picture row is " + std::to_string(row.size()) + " pixels wide, expected " +
                 std::to_string(picture.width) + " like the first row (line " +
                 std::to_string(picture.firstLine) + ")");
        }
        picture.rows.push_back(std::move(row));
    }

    void Baseline(std::string_view text) {
        Picture& picture = OpenPicture();
        if (text.find_first_not_of('-') != std::string_view::npos)
            Fail("a baseline line holds only '-'");
        if (picture.baseline)
            Fail("second baseline in one picture (the first is on line " +
                 std::to_string(baselineLine_) + ")");
        picture.baseline = picture.height();
        baselineLine_ = line_;
        baselineLength_ = static_cast<int>(text.size());
    }

    // Checks what can only be checked once the whole picture is drawn.
    void EndPicture() {
        if (!pictureOpen_) return;
        pictureOpen_ = false;
        const Picture& picture = document_.directives.back().picture;
        if (!picture.baseline) return;
        const int savedLine = line_;
        line_ = baselineLine_;
        if (picture.empty()) Fail("baseline without picture rows");
        if (baselineLength_ != picture.width)
            Fail("baseline is " + std::to_string(baselineLength_) + " characters long, expected " +
                 std::to_string(picture.width) + " like the picture's rows");
        line_ = savedLine;
    }

    void StartDirective(std::string_view text) {
        Directive directive;
        directive.line = line_;
        size_t pos = 0;
        while (true) {
            while (pos < text.size() && IsSpace(text[pos])) ++pos;
            if (pos >= text.size() || text.compare(pos, 2, "//") == 0) break;
            pos = text[pos] == '\'' ? Label(text, pos, directive) : Word(text, pos, directive);
        }
        directive.keyword = directive.words.front();
        directive.words.erase(directive.words.begin());
        document_.directives.push_back(std::move(directive));
        pictureOpen_ = true;
    }

    // A label runs to the next quote that ends a word, so that ''' is the
    // apostrophe and ' ' is a space. Returns the position after it.
    size_t Label(std::string_view text, size_t pos, Directive& directive) {
        size_t end = pos + 2;
        while (end < text.size() &&
               !(text[end] == '\'' && (end + 1 == text.size() || IsSpace(text[end + 1]))))
            ++end;
        if (end >= text.size()) Fail("label without its closing quote (expected 'x')");
        directive.labels.emplace_back(text.substr(pos + 1, end - pos - 1));
        return end + 1;
    }

    size_t Word(std::string_view text, size_t pos, Directive& directive) {
        size_t end = pos;
        while (end < text.size() && !IsSpace(text[end])) ++end;
        const std::string_view word = text.substr(pos, end - pos);
        const size_t equals = word.find('=');
        if (equals == std::string_view::npos || equals == 0 || directive.words.empty()) {
            directive.words.emplace_back(word);
            return end;
        }
        const std::string key(word.substr(0, equals));
        if (directive.fields.count(key)) Fail("field " + key + "= given twice");
        directive.fields[key] = std::string(word.substr(equals + 1));
        return end;
    }

    Document document_;
    int line_ = 0;
    bool pictureOpen_ = false;
    int baselineLine_ = 0;
    int baselineLength_ = 0;
};

}  // namespace

Document ParseDocument(std::string_view text, const std::string& file) {
    Parser parser(file);
    int number = 0;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        parser.Line(text.substr(start, end - start), ++number);
        start = end + 1;
    }
    return parser.Finish(number);
}

Document ReadDocument(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw Error(path, 0, "cannot open the file for reading");
    std::ostringstream text;
    text << in.rdbuf();
    return ParseDocument(text.str(), path);
}

std::optional<long> ParseNumber(std::string_view text) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty() || text.size() > 9) return std::nullopt;
    long value = 0;
    for (char c : text) {
        const int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                          : (base == 16 && std::isxdigit(static_cast<unsigned char>(c)))
                              ? std::tolower(static_cast<unsigned char>(c)) - 'a' + 10
                              : -1;
        if (digit < 0) return std::nullopt;
        value = value * base + digit;
    }
    return value;
}

std::optional<int> OptionalFieldNumber(const Document& document, const Directive& directive,
                                       const std::string& key, int min, int max) {
    const auto found = directive.fields.find(key);
    if (found == directive.fields.end()) return std::nullopt;
    const std::string range = std::to_string(min) + " to " + std::to_string(max);
    const std::optional<long> value = ParseNumber(found->second);
    if (!value)
        document.Fail(directive, key + "=" + found->second +
                                     " is not a number (expected decimal or 0x hexadecimal, " +
                                     range + ")");
    if (*value < min || *value > max)
        document.Fail(directive,
                      key + "=" + found->second + " is out of range (expected " + range + ")");
    return static_cast<int>(*value);
}

int FieldNumber(const Document& document, const Directive& directive, const std::string& key,
                int min, int max) {
    const std::optional<int> value = OptionalFieldNumber(document, directive, key, min, max);
    if (!value)
        document.Fail(directive, "missing field " + key + "= (expected a number from " +
                                     std::to_string(min) + " to " + std::to_string(max) + ")");
    return *value;
}

void RequireOnlyFields(const Document& document, const Directive& directive,
                       const std::vector<std::string>& allowed) {
    for (const auto& [key, value] : directive.fields) {
        bool known = false;
        for (const std::string& name : allowed) known = known || name == key;
        if (known) continue;
        std::string list;
        for (const std::string& name : allowed) list += (list.empty() ? "" : ", ") + name + "=";
        document.Fail(directive, "unknown field " + key + "= on '" + directive.keyword +
                                     "' (expected " + list + ")");
    }
}

}  // namespace pixelart
