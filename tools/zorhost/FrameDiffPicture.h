// The picture of a failed `expect frame`, to see at a glance what moved: the
// expected frame in grey, pixels lit only in the actual frame in red, pixels
// lit only in the expected one in blue, each LCD pixel 4 x 4.
#pragma once

#include <string>

#include "FrameFile.h"

namespace zorhost {

inline constexpr int kDiffScale = 4;

// The picture's PNG bytes (256 x 512). Rows the expected frame does not know
// (a snapshot lacks the LCD's last row) are not compared: they show the
// actual frame in grey on a darker ground.
std::string FrameDiffPng(const Frame& expected, const Frame& actual);

}  // namespace zorhost
