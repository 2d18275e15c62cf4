// A script error: unknown command, missing or malformed argument, unreadable
// file. It stops the run; the runner puts FILE:LINE in front of the message.
#pragma once

#include <stdexcept>
#include <string>

namespace zorhost {

class ScriptError : public std::runtime_error {
public:
    explicit ScriptError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace zorhost
