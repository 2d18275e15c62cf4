// Where the byte link is served: "pty" or "pty:LINKPATH" (a pseudo-terminal,
// with a fixed symbolic link to it), "tcp:PORT" or "tcp:ADDRESS:PORT".
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace services {

struct LinkEndpoint {
    enum class Kind { kPty, kTcp };
    Kind kind = Kind::kTcp;
    std::string linkPath;               // kPty: where the symbolic link goes (empty: none)
    std::string address = "127.0.0.1";  // kTcp: only this machine unless told otherwise
    uint16_t port = 0;                  // kTcp: 0 picks a free one
};

// The endpoint `text` names, or nothing with `error` saying what was expected.
std::optional<LinkEndpoint> ParseLinkEndpoint(const std::string& text, std::string& error);

}  // namespace services
