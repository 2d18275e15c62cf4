// The messages of one assembly, each "FILE:LINE:COLUMN: message" (warnings
// "FILE:LINE:COLUMN: warning: message"), printed with the source line and a
// caret under the column, as compilers print theirs. Assembly goes on after
// an error where it can, so one run reports every independent fault.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "Statement.h"
#include "pixelart/error.h"

namespace zorasm {

// A message quotes what the source says; a word of many kB (a line of
// garbage, a file that is no source) is shown by its start and its length,
// so that no message is larger than a screen.
std::string ShortenLongWords(const std::string& message);

// "FILE:LINE:COLUMN" (or as much of the position as is known), for messages
// that name a second place; Where adds the ": " that leads a message.
std::string Place(const Position& position);
std::string Where(const Position& position);

// An error at a place in a source: thrown by the assembler's parts, caught
// where assembly can go on. Errors of the picture and glyph files are plain
// pixelart::Error (file and line).
class SourceError : public pixelart::Error {
public:
    SourceError(const Position& position, const std::string& message)
        : pixelart::Error(position.file, position.line, message), position_(position) {}
    const Position& position() const { return position_; }

private:
    Position position_;
};

struct Diagnostic {
    bool warning = false;
    Position position;
    std::string message;  // shortened
    // "FILE:LINE:COLUMN: message", "FILE:LINE:COLUMN: warning: message".
    std::string Heading() const;
};

struct Diagnostics {
    // Past this many, errors (and warnings) are only counted: a file that is
    // no source at all would otherwise give a message per line, millions of them.
    static constexpr size_t kMaxKept = 100;

    std::vector<std::string> errors;    // headings of the errors kept, in order
    std::vector<std::string> warnings;  // headings of the warnings kept, in order
    std::vector<Diagnostic> kept;       // both, in the order they were found
    size_t notKept = 0;                 // errors past kMaxKept
    size_t warningsNotKept = 0;
    // The text of every file read, so that a message can quote its line.
    std::map<std::string, std::string> texts;

    void Add(const pixelart::Error& error);
    void Add(const Position& position, const std::string& message);
    void Warn(const Position& position, const std::string& message);
    bool Failed() const { return !errors.empty(); }

    // The heading, then (when the file and line are known) the source line
    // and a caret under the column.
    std::string Render(const Diagnostic& diagnostic) const;

private:
    void Keep(Diagnostic diagnostic);
};

// The position with the column of an operand (when it has one).
Position At(const Position& position, int column);

[[noreturn]] inline void Fail(const Position& position, const std::string& message) {
    throw SourceError(position, message);
}

}  // namespace zorasm
