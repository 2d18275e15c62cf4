// The conversation with the module as people read it: each completed host
// command on one line, with its bytes, link codes and reply, what its table
// calls it, what its operands mean and what came of it:
//
//   > 60 48 7/0 60   data byte 0x48 'H' (length 3) -> ok
//   > 24 0 24   execute: store labels for keys {2} (language 1, "Hi") -> ok, refresh
//
// Names and operand meanings come from the module's command tables.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "Lcdm.h"
#include "panel/HostPort.h"

namespace services {

// One completed command, or one direct access.
struct TracedEvent {
    std::vector<uint8_t> bytes;  // the command's bytes; empty for a direct access
    std::string line;            // the whole trace line
    std::string description;     // what the command did, without bytes and codes
};

class CommandTrace {
public:
    CommandTrace();

    // What one port event completes: nothing for a byte that only began a
    // command (it waits for the rest), the command for the byte that
    // completed it, the access for a direct access ("! status := 0").
    std::optional<TracedEvent> Take(const panel::PortEvent& event);
    // The same as trace lines.
    std::vector<std::string> Lines(const panel::PortEvent& event);
    // Lines for the commands still waiting for bytes (at the end of a run),
    // which are then forgotten.
    std::vector<std::string> Incomplete(const std::string& why);

    // A script run ended while the coming command was carried out (the
    // module's run-end hook): its line names it.
    void RunEnded(uint8_t number, uint8_t parameter, uint8_t status);

private:
    std::string Describe(uint8_t first, uint8_t a, uint8_t b) const;
    std::string Execute() const;
    std::string Outcome(uint8_t first, uint8_t reply, uint8_t statusAfter) const;
    void Remember();

    struct Run {
        uint8_t number, parameter, status;
    };
    // The bytes of commands not yet complete, by depth: a command sent during
    // another's DELAY wait is framed on its own.
    std::map<int, std::vector<panel::PortEvent>> pending_;
    std::vector<Run> runs_;     // scripts run during the coming command
    lcdm::LinkState before_{};  // the link as the coming command found it
    uint8_t statusBefore_ = 0;
};

}  // namespace services
