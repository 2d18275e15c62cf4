// Errors of the pixel-art tools: every message names the file and line it is
// about, in the form "FILE:LINE: message", so editors can jump to it. Line 0
// stands for the file as a whole ("FILE: message").
#pragma once

#include <stdexcept>
#include <string>

namespace pixelart {

class Error : public std::runtime_error {
public:
    Error(const std::string& file, int line, const std::string& message)
        : std::runtime_error(Text(file, line, message)),
          file_(file),
          line_(line),
          message_(message) {}

    // The parts of what(), for tools that print the place their own way.
    const std::string& file() const { return file_; }
    int line() const { return line_; }
    const std::string& message() const { return message_; }

private:
    // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) about the
    // same text built with operator+ in an optimised build.
    static std::string Text(const std::string& file, int line, const std::string& message) {
        std::string text = file;
        if (line > 0) text.append(1, ':').append(std::to_string(line));
        text.append(": ").append(message);
        return text;
    }

    std::string file_;
    int line_;
    std::string message_;
};

// "0x41" for messages about codes and bytes.
std::string Hex(int value);

}  // namespace pixelart
