// The behaviour digest: a hash of everything a front end, a host or a tracer
// can observe of the module while a case runs, so that a faster engine can be
// shown to behave exactly as the engine the digests were recorded with.
//
// A case is a list of actions (host bytes, direct accesses, memory writes,
// script runs) replayed on a fresh module. Its digest folds in the link code
// and reply of every host byte, the result of every direct access, the
// engine's registers at every hook call (tag trace, run end, every pass of a
// DELAY wait, output and switch lines, block packets), and at the end the
// whole module state: memory, label store, frame buffer, engine, languages,
// vocabulary, fonts, link and icon loading. Only the span buffer, the drawing
// routines' scratch row whose contents between two spans mean nothing, stays
// out.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace digest {

// 64-bit hash, eight bytes at a step; the same on every platform.
class Hasher {
public:
    void Bytes(const uint8_t* bytes, size_t count);
    void Value(uint64_t value);
    uint64_t Result() const;

private:
    uint64_t state_ = 0x9E3779B97F4A7C15ull;
    uint64_t count_ = 0;
};

// What a wait's pass does besides being observed.
enum class Pump : uint8_t {
    kTick,         // one tick of the 100 ms timer (zorhost's virtual time)
    kFeed,         // the next queued command group goes in, then one tick
    kToggleTrace,  // the tag trace hook is set or cleared, then one tick
    kStopAfter,    // one tick; past a few waits the run is ended, as a closed window does
};

struct Action {
    enum class Kind : uint8_t {
        kSend,            // bytes: host bytes, one HostByteEntry call each
        kStatus,          // value: StatusRegister := value
        kFillStore,       // value: every label store byte := value
        kEmptyStacks,     // depths and program counter := 0
        kInitVocabulary,  // value: InitVocabulary(value)
        kLinkReset,       // LinkReset()
        kMemory,          // value, bytes: WriteMemoryByte from address value on
        kRun,             // value, bytes[0]: RunScript(value, bytes[0])
        kPump,            // value: the Pump of the waits from here on
        kQueue,           // bytes: one command group the kFeed pump sends in a pass
    };
    Kind kind;
    uint32_t value = 0;
    std::vector<uint8_t> bytes;
};

struct Case {
    std::string name;
    std::vector<Action> actions;
};

// How the case is watched: with the tag trace hook set from the start or not.
// Both must give the digest recorded for them.
enum class Watch : uint8_t { kTraced, kPlain };

struct Outcome {
    uint64_t digest = 0;
    uint64_t tags = 0;  // tags the trace hook saw
};

// Runs the case on a fresh module and returns its digest. The module's hooks
// are the harness's while it runs and cleared afterwards.
Outcome Replay(const Case& c, Watch watch);

// The text form of cases, one action a line:
//   case NAME | send HH.. | status N | fill-store N | empty-stacks |
//   init-vocabulary N | link-reset | memory ADDR HH.. | run N P |
//   pump tick|feed|toggle-trace|stop-after | queue HH..
// with `#` comments; a case runs to the next `case` line.
std::string FormatCases(const std::vector<Case>& cases);
// Throws std::runtime_error naming the line on a malformed corpus.
std::vector<Case> ParseCases(const std::string& text);

}  // namespace digest
