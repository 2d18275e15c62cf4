// Cases made from a seed: random vocabularies of tag programs, random host
// byte streams, runs that take host bytes during their DELAY waits, and runs
// that meet the run guard. The generators use their own random numbers, so a
// seed gives the same case on every platform and compiler.
#pragma once

#include <cstdint>
#include <string>

#include "Digest.h"

namespace digest {

class Random {
public:
    explicit Random(uint64_t seed) : state_(seed) {}
    uint64_t Next();
    uint32_t Below(uint32_t bound);  // 0 .. bound - 1
    bool Percent(uint32_t chance) { return Below(100) < chance; }
    uint8_t Byte() { return static_cast<uint8_t>(Next() >> 56); }

private:
    uint64_t state_;
};

// Kinds of generated case; a case's name is "KIND/SEED".
inline constexpr const char* kProgramKind = "program";
inline constexpr const char* kHostKind = "host";
inline constexpr const char* kReentrantKind = "reentrant";
inline constexpr const char* kGuardKind = "guard";
inline constexpr uint64_t kGuardCases = 4;  // guard/0 .. guard/3

// A vocabulary of random items, its programs made of real tags, run a few times.
Case ProgramCase(uint64_t seed);
// Host commands with random operands on the default vocabulary.
Case HostCase(uint64_t seed);
// Scripts that wait in DELAY while host commands arrive: new memory, new
// vocabularies, nested script runs.
Case ReentrantCase(uint64_t seed);
// Runs that meet the run guard, or that escape it only by waiting.
Case GuardCase(uint64_t which);

// The generated case a name such as "program/17" stands for; throws
// std::runtime_error for a name no generator makes.
Case GeneratedCase(const std::string& name);

}  // namespace digest
