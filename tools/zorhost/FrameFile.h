// Frames as files: the module's 64 x 128 frame buffer as a PBM (P1 text or P4
// binary), or read back from a 128 x 256 LCD snapshot (BMP or PNG), and the
// comparison behind `expect frame`.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace zorhost {

inline constexpr int kFrameWidth = 64;
inline constexpr int kFrameHeight = 128;

struct Frame {
    std::array<bool, kFrameWidth * kFrameHeight> on{};
    // A snapshot does not show the LCD's bottom row, so a frame read from one
    // knows rows 0 to 126 only; rows from here on are not compared.
    int knownRows = kFrameHeight;

    bool At(int x, int y) const { return on[y * kFrameWidth + x]; }
    void Set(int x, int y, bool value) { on[y * kFrameWidth + x] = value; }
};

// The module's frame buffer now.
Frame CurrentFrame();

// A frame file's bytes, the format told by its first bytes. Throws
// ScriptError naming `shownName` when they are not a 64 x 128 PBM or a whole
// 128 x 256 snapshot.
Frame ParseFrame(const std::string& bytes, const std::string& shownName);

// PBM P1 text: a header line, then one line of 64 digits per row (1 = lit).
std::string FormatPbm(const Frame& frame);

struct FrameDifference {
    int pixels = 0;  // differing pixels within the expected frame's known rows
    int left = 0, top = 0, right = 0, bottom = 0;  // their bounding box, inclusive
};
FrameDifference Compare(const Frame& expected, const Frame& actual);

}  // namespace zorhost
