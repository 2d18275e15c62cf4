#include "LinkEndpoint.h"

#include <cctype>

namespace services {
namespace {

constexpr const char* kForms = "expected pty, pty:LINKPATH, tcp:PORT or tcp:ADDRESS:PORT";

bool ParsePort(const std::string& text, uint16_t& port) {
    if (text.empty() || text.size() > 5) return false;
    long value = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
        value = value * 10 + (c - '0');
    }
    if (value > 65535) return false;
    port = static_cast<uint16_t>(value);
    return true;
}

}  // namespace

std::optional<LinkEndpoint> ParseLinkEndpoint(const std::string& text, std::string& error) {
    LinkEndpoint endpoint;
    if (text == "pty" || text.rfind("pty:", 0) == 0) {
        endpoint.kind = LinkEndpoint::Kind::kPty;
        if (text.size() > 4) endpoint.linkPath = text.substr(4);
        if (text == "pty:") {
            error = "link endpoint \"pty:\" names no LINKPATH (" + std::string(kForms) + ")";
            return std::nullopt;
        }
        return endpoint;
    }
    if (text.rfind("tcp:", 0) == 0) {
        endpoint.kind = LinkEndpoint::Kind::kTcp;
        const std::string rest = text.substr(4);
        // The port follows the last colon, so that an IPv6 address keeps its own.
        const size_t colon = rest.rfind(':');
        const std::string port = colon == std::string::npos ? rest : rest.substr(colon + 1);
        if (colon != std::string::npos) endpoint.address = rest.substr(0, colon);
        if (endpoint.address.size() > 2 && endpoint.address.front() == '[' &&
            endpoint.address.back() == ']')
            endpoint.address = endpoint.address.substr(1, endpoint.address.size() - 2);
        if (endpoint.address.empty() || !ParsePort(port, endpoint.port)) {
            error = "link endpoint \"" + text + "\": \"" + port +
                    "\" is not a port from 0 to 65535 (" + kForms + ")";
            return std::nullopt;
        }
        return endpoint;
    }
    error = "unknown link endpoint \"" + text + "\" (" + kForms + ")";
    return std::nullopt;
}

}  // namespace services
