// The messages of one assembly, each "FILE:LINE: message". Assembly goes on
// after an error where it can, so one run reports every independent fault.
#pragma once

#include <string>
#include <vector>

#include "Statement.h"
#include "pixelart/error.h"

namespace zorasm {

// A message quotes what the source says; a word of many kB (a line of
// garbage, a file that is no source) is shown by its start and its length,
// so that no message is larger than a screen.
std::string ShortenLongWords(const std::string& message);

struct Diagnostics {
    // Past this many, errors are only counted: a file that is no source at
    // all would otherwise give a message per line, millions of them.
    static constexpr size_t kMaxKept = 100;

    std::vector<std::string> errors;
    size_t notKept = 0;

    void Add(const pixelart::Error& error) {
        if (errors.size() < kMaxKept)
            errors.push_back(ShortenLongWords(error.what()));
        else
            ++notKept;
    }
    void Add(const Position& position, const std::string& message) {
        Add(pixelart::Error(position.file, position.line, message));
    }
    bool Failed() const { return !errors.empty(); }
};

[[noreturn]] inline void Fail(const Position& position, const std::string& message) {
    throw pixelart::Error(position.file, position.line, message);
}

}  // namespace zorasm
