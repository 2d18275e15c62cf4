// Records what passes through a host port as text in the notation of the
// front panel's byte tables: host bytes as two hex digits separated by
// spaces, direct accesses between commas ("00 00 00, status := 0, 81 09 01").
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "panel/HostPort.h"

namespace zortest {

class PortRecorder {
public:
    explicit PortRecorder(panel::HostPort& port) {
        port.SetObserver([this](const panel::PortEvent& event) { events_.push_back(event); });
    }

    std::string Text() const {
        std::string text;
        bool afterAccess = false;
        for (const panel::PortEvent& event : events_) {
            if (event.kind == panel::PortEvent::Kind::kDirect) {
                text += (text.empty() ? "" : ", ") + event.access;
                afterAccess = true;
                continue;
            }
            char hex[3];
            std::snprintf(hex, sizeof hex, "%02X", event.byte);
            text += (text.empty() ? "" : afterAccess ? ", " : " ") + std::string(hex);
            afterAccess = false;
        }
        return text;
    }

    // Replies of the host bytes, in order.
    std::vector<int> Replies() const {
        std::vector<int> replies;
        for (const panel::PortEvent& event : events_)
            if (event.kind == panel::PortEvent::Kind::kByte) replies.push_back(event.reply);
        return replies;
    }

    void Clear() { events_.clear(); }

private:
    std::vector<panel::PortEvent> events_;
};

}  // namespace zortest
