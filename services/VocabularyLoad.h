// A vocabulary put into module memory the way a host does it: the bytes
// written with host commands from an address, then the vocabulary
// initialised there. zorhost's `panel load-vocabulary` and the window's
// File > Load Vocabulary... share it; the window also assembles zorasm
// sources in-process first.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "panel/HostPort.h"

namespace services {

// Where a vocabulary goes unless told otherwise: the first byte after the
// default vocabulary. Initialised there it becomes the module's vocabulary.
inline constexpr uint16_t kDefaultLoadAddress = 18838;

struct LoadedVocabulary {
    bool ok = false;
    std::string error;  // when not ok: what the module refused
    size_t items = 0;   // items in the chain, header included
};

// Writes `bytes` from `address` (pointer 0x82, memory mode 0x0A, data 0x84 /
// 0x60 18 at a time, store 0x24), then initialises the vocabulary there
// (0x82, 0x67 0xAC). Starts with three 00 so that a command left half-sent
// cannot swallow the first bytes. The caller checks that the bytes fit.
LoadedVocabulary WriteVocabulary(panel::HostPort& port, uint16_t address,
                                 const std::vector<uint8_t>& bytes);

// The vocabulary to load from `files`: zorasm sources (every name ends in
// .zasm) assembled in-process for `address`, or one image file read as it is
// (at most the memory from `address`). False with `errors` (FILE:LINE:
// message lines, or the reason a file could not be read).
bool ReadVocabulary(const std::vector<std::string>& files, uint16_t address,
                    std::vector<uint8_t>& bytes, std::vector<std::string>& errors);

}  // namespace services
