// The messages of one assembly, each "FILE:LINE: message". Assembly goes on
// after an error where it can, so one run reports every independent fault.
#pragma once

#include <string>
#include <vector>

#include "Statement.h"
#include "pixelart/error.h"

namespace zorasm {

struct Diagnostics {
    std::vector<std::string> errors;

    void Add(const pixelart::Error& error) { errors.emplace_back(error.what()); }
    void Add(const Position& position, const std::string& message) {
        Add(pixelart::Error(position.file, position.line, message));
    }
    bool Failed() const { return !errors.empty(); }
};

[[noreturn]] inline void Fail(const Position& position, const std::string& message) {
    throw pixelart::Error(position.file, position.line, message);
}

}  // namespace zorasm
