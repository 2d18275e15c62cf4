// Module set-ups the benchmarks and the instruction probe share, each as a
// user meets the module: the count-down loop of bench/countdown.zh, the
// window's start-up, a long vocabulary for lookups, an icon to upload.
#pragma once

#include <cstdint>

#include "panel/HostPort.h"
#include "panel/IconPicture.h"

namespace bench {

// A fresh module holding the count-down loop as script 1. With
// `shortLoop` its third loop runs one round instead of 256, so that a run
// with parameter 1 makes 65,536 rounds of the innermost loop.
void LoadCountdown(bool shortLoop);
// Rounds of the innermost loop a run of script 1 with `parameter` makes.
uint64_t CountdownRounds(uint8_t parameter, bool shortLoop);

// A fresh module after the window's start-up (create, activate, splash): the
// default vocabulary shows page 0 with every key's function "Toggle".
void StartLikeTheWindow(panel::HostPort& port);

// A fresh module whose vocabulary at 18838 holds `items` items after its
// header: item i is number i % 256 of type 1 + i / 256 (procedures, bitmaps,
// fonts, strings), each 6 bytes long.
void LoadLongVocabulary(int items);
inline uint8_t LongVocabularyNumber(int item) {
    return static_cast<uint8_t>(item % 256);
}
inline uint8_t LongVocabularyType(int item) {
    return static_cast<uint8_t>(1 + item / 256);
}

// The largest icon a key takes, 62 x 16, in a checkerboard of 2 x 2 squares.
panel::IconPicture LargestIcon();

}  // namespace bench
