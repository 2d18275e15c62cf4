// A recording of the host bytes a run carried out, as a zorhost scenario that
// replays them: one `send` line per command with its decoded meaning as a
// comment, the simulator's direct accesses as their commands (`set-status`,
// `tick N`, ...), notes of what sent them, and at the end `expect frame` with
// a golden frame, so that the replay checks it arrives where the run did.
//
// Timer ticks that count down a DELAY wait inside a command are left out: a
// replay's virtual time counts each wait down itself. A command sent while
// another waited in DELAY is written where it completed, before the command
// it interrupted; the replay sends it after that command's wait instead.
#pragma once

#include <string>
#include <vector>

#include "CommandTrace.h"
#include "panel/HostPort.h"

namespace services {

class Recorder {
public:
    // `origin` is said in the first line ("zorhost a.zh", "the window").
    explicit Recorder(std::string origin);

    void Event(const panel::PortEvent& event);
    // A script run ended (the module's run-end hook), for the comments.
    void RunEnded(uint8_t number, uint8_t parameter, uint8_t status);
    // A comment line: what the following bytes are ("Text Label: key 2 "Hi"").
    void Note(const std::string& text);

    // The scenario, ending by expecting the module's frame as it is now in
    // `goldenName` (a PBM file beside it, whose text Golden() gives).
    std::string Scenario(const std::string& goldenName);
    // The module's frame now, as PBM P1 text.
    static std::string Golden();

private:
    void Line(std::string text, const std::string& comment = {});
    void FlushTicks();

    std::string origin_;
    CommandTrace trace_;
    std::vector<std::string> lines_;
    int ticks_ = 0;  // timer ticks between commands, not yet written
};

}  // namespace services
