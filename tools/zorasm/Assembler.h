// The vocabulary assembler: sources in, the image's bytes and a record of
// where every byte came from out (for listings and tests).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Diagnostics.h"
#include "SourceFiles.h"
#include "Statement.h"

namespace zorasm {

inline constexpr uint32_t kModuleMemorySize = 37344;
inline constexpr size_t kItemHeaderSize = 4;
inline constexpr uint8_t kNop = 48;

// Bytes written for one source line (or for padding: position.line 0).
struct ListingLine {
    uint32_t address = 0;
    std::vector<uint8_t> bytes;
    Position position;
    std::string text;
};

// A stretch of the image: an item, the end marker, or data outside any item.
struct Block {
    enum class Kind { kItem, kEndMarker, kData };
    Kind kind = Kind::kData;
    uint32_t address = 0;
    uint32_t length = 0;
    Position position;             // of the directive (items, end marker, .data)
    std::string directive;         // ".procedure", ... for items
    int number = 0;                // items
    int type = 0;                  // items
    std::optional<uint32_t> room;  // the LENGTH an item was given
    uint32_t used = 0;             // bytes its contents need, padding not counted
    std::vector<ListingLine> lines;
};

struct AssembleOptions {
    // Not explicit: callers write the options as {base}.
    AssembleOptions(uint32_t base = 0) : base(base) {}  // NOLINT(google-explicit-constructor)

    uint32_t base;
    // Sources whose items join the vocabulary of `sources`: they go before
    // its last end marker, which moves behind them.
    std::vector<std::string> added;
};

struct Assembly {
    uint32_t base = 0;
    std::vector<uint8_t> bytes;  // the image from base on
    std::vector<Block> blocks;
    Diagnostics diagnostics;
    std::vector<std::string> unreadable;  // sources that could not be read at all

    // Warnings do not fail an assembly (unless the caller treats them as errors).
    bool Ok() const { return unreadable.empty() && !diagnostics.Failed(); }
};

Assembly Assemble(const std::vector<std::string>& sources, const SourceFiles& files,
                  const AssembleOptions& options = {});

}  // namespace zorasm
