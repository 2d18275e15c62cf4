// Everything zorhost prints on standard output: the lines of the print
// commands, failed expectations and, with --trace, the conversation with the
// module. --quiet keeps only the failed expectations.
#pragma once

#include <functional>
#include <ostream>
#include <string>

#include "panel/HostPort.h"
#include "services/CommandTrace.h"

namespace zorhost {

enum class TraceMode {
    kOff,
    kDecoded,  // each command on one line, named and decoded
    kRaw,      // each host byte as "> HH L RR"
};

struct Options {
    TraceMode trace = TraceMode::kOff;
    bool quiet = false;
    bool updateGolden = false;
    bool strict = false;  // an error box counts as a failed expectation
    // --trace-tags: 0 off, kAllTags every tag, N the last N before a run fails.
    int traceTags = 0;
    static constexpr int kAllTags = -1;
};

class Transcript {
public:
    Transcript(std::ostream& out, const Options& options) : out_(out), options_(options) {}

    // A line a command prints; hidden by --quiet.
    void Line(const std::string& text);
    // "FILE:LINE: expected X, got Y": always printed, and the run will exit 1.
    void Failure(const std::string& where, const std::string& expected, const std::string& got);
    // "! error: TEXT", what the window shows in an error box; with --strict
    // also a failure at `where`.
    void ErrorBox(const std::string& where, const std::string& text);
    // With --trace: each command decoded, or with --trace=raw "> HH L RR" for
    // each host byte; "! ACCESS" for a direct access.
    void Trace(const panel::PortEvent& event);
    // A script run ended: the decoded trace names it on its command's line.
    void RunEnded(uint8_t number, uint8_t parameter, uint8_t status) {
        commands_.RunEnded(number, parameter, status);
    }

    bool AnyFailure() const { return anyFailure_; }
    // Also hands each failure line to `listener` (the JUnit report).
    void SetFailureListener(std::function<void(const std::string&)> listener) {
        failureListener_ = std::move(listener);
    }
    // At the end of a script: commands still waiting for bytes get a line.
    void EndOfScript();
    void Flush() { out_.flush(); }

private:
    std::ostream& out_;
    const Options& options_;
    services::CommandTrace commands_;
    bool anyFailure_ = false;
    std::function<void(const std::string&)> failureListener_;
};

}  // namespace zorhost
