// The nibble coding of coded images (compression 1 and 2), both ways.
//
// A picture is a stream of 4-pixel nibbles, RowBytes(width) x 2 per row. The
// coded data is a sequence of code bytes:
//
//   0x00..0x7F  run: nibble b & 15, 7 - ((b >> 4) & 7) times; 0x70..0x7F 16
//   0x80..0xFF  copy: 127 - (b & 0x7F) nibbles from the history; 0xFF 256
//
// The history is a ring of compression x RowBytes(width) bytes, so a copy
// repeats the nibbles one (compression 1) or two (compression 2) rows up;
// rows above the first read as 0.
//
// The coder finds a coding of any reachable exact length: every coding is a
// path through the nibble positions, so it counts, for each position, which
// numbers of code bytes can finish the picture from there. The decoder draws
// only complete rows, so the codes may emit up to one row less one nibble
// past the picture (a trailing run or copy spilling into an incomplete row,
// or a few spare codes there).
#pragma once

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "pixelart/document.h"

namespace pixelart {

// The picture's nibbles, row by row; the bits past the width are 0.
std::vector<uint8_t> PictureNibbles(const Picture& picture);

// Every nibble the codes emit, in order (an incomplete last row included).
std::vector<uint8_t> DecodeNibbles(const std::vector<uint8_t>& codes, int rowNibbles,
                                   int compression);

class NibbleCoder {
public:
    // nibbles: whole rows of rowNibbles (2..16) each, at most 128 rows;
    // compression 1 or 2.
    NibbleCoder(std::vector<uint8_t> nibbles, int rowNibbles, int compression);

    size_t Shortest() const { return shortest_; }
    size_t Longest() const { return longest_; }
    bool Reachable(size_t length) const;

    // A coding of exactly `length` code bytes (it must be Reachable): long
    // codes first, spilling past the picture only where nothing else fits.
    std::vector<uint8_t> Code(size_t length) const;

private:
    static constexpr size_t kMaxCodes = 128 * 16 + 16;
    using Counts = std::bitset<kMaxCodes + 1>;

    // The lengths of the runs and copies that may start at a position.
    std::vector<int> Steps(size_t position) const;
    size_t RunReach(size_t position) const;
    size_t CopyReach(size_t position) const;
    uint8_t HistoryAt(size_t position) const;
    bool Free(size_t position) const { return position >= nibbles_.size(); }

    std::vector<uint8_t> nibbles_;
    size_t ringNibbles_;
    size_t end_;  // the furthest the codes may emit: one nibble short of an extra row
    std::vector<Counts> finish_;  // finish_[p][c]: c codes can go from p to the end
    size_t shortest_ = 0;
    size_t longest_ = 0;
};

}  // namespace pixelart
