#include "Diagnostics.h"

namespace zorasm {

namespace {

// A quoted source line is cut to this many bytes around its column, so that
// a line of garbage shows as a screen line.
constexpr size_t kShownLine = 120;

// The line `number` (1-based) of `text`, without its line end; false when
// the text has fewer lines.
bool LineOf(const std::string& text, int number, std::string& line) {
    size_t start = 0;
    for (int i = 1; i < number; ++i) {
        start = text.find('\n', start);
        if (start == std::string::npos) return false;
        ++start;
    }
    if (start > text.size()) return false;
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

}  // namespace

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

std::string Place(const Position& position) {
    std::string text = position.file;
    if (position.line > 0) {
        text += ":" + std::to_string(position.line);
        if (position.column > 0) text += ":" + std::to_string(position.column);
    }
    return text;
}

std::string Where(const Position& position) {
    return Place(position) + ": ";
}

Position At(const Position& position, int column) {
    Position at = position;
    if (column > 0) at.column = column;
    return at;
}

std::string Diagnostic::Heading() const {
    return Where(position) + (warning ? "warning: " : "") + message;
}

void Diagnostics::Keep(Diagnostic diagnostic) {
    diagnostic.message = ShortenLongWords(diagnostic.message);
    std::vector<std::string>& list = diagnostic.warning ? warnings : errors;
    if (list.size() >= kMaxKept) {
        ++(diagnostic.warning ? warningsNotKept : notKept);
        return;
    }
    list.push_back(diagnostic.Heading());
    kept.push_back(std::move(diagnostic));
}

void Diagnostics::Add(const pixelart::Error& error) {
    if (const auto* source = dynamic_cast<const SourceError*>(&error))
        return Add(source->position(), source->message());
    // A picture or glyph file's error names its line; the line is the place.
    Add(Position{error.file(), error.line(), error.line() > 0 ? 1 : 0}, error.message());
}

void Diagnostics::Add(const Position& position, const std::string& message) {
    Keep(Diagnostic{false, position, message});
}

void Diagnostics::Warn(const Position& position, const std::string& message) {
    Keep(Diagnostic{true, position, message});
}

std::string Diagnostics::Render(const Diagnostic& diagnostic) const {
    std::string text = diagnostic.Heading() + "\n";
    const Position& at = diagnostic.position;
    const auto file = texts.find(at.file);
    std::string line;
    if (at.line <= 0 || at.column <= 0 || file == texts.end() ||
        !LineOf(file->second, at.line, line))
        return text;
    size_t column = static_cast<size_t>(at.column - 1);
    if (column > line.size()) column = line.size();
    // A long line is shown around its column.
    size_t from = 0;
    std::string lead;
    if (line.size() > kShownLine && column > kShownLine / 2) {
        from = column - kShownLine / 2;
        while (from < column && (static_cast<unsigned char>(line[from]) & 0xC0) == 0x80) ++from;
        lead = "...";
    }
    std::string shown = line.substr(from, kShownLine);
    while (!shown.empty() && (static_cast<unsigned char>(shown.back()) & 0xC0) == 0x80 &&
           from + shown.size() < line.size())
        shown.pop_back();
    std::string caret = lead.empty() ? "" : "   ";
    // Tabs stay tabs under the line, so that the caret lines up however wide
    // the terminal draws them; a character of several UTF-8 bytes takes one column.
    for (size_t i = from; i < column; ++i) {
        if ((static_cast<unsigned char>(line[i]) & 0xC0) == 0x80) continue;
        caret += line[i] == '\t' ? '\t' : ' ';
    }
    return text + lead + shown + (from + shown.size() < line.size() ? "..." : "") + "\n" + caret +
           "^\n";
}

}  // namespace zorasm
