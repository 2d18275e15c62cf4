// The nibble coder: finds a coding of a picture in exactly a given number of
// code bytes, and decodes codes back into nibbles for checking.
#include <algorithm>
#include <stdexcept>

#include "pixelart/image.h"
#include "pixelart/nibbles.h"

namespace pixelart {

namespace {

constexpr int kLongRun = 16;     // run code field 7
constexpr int kMaxShortRun = 7;  // run code fields 0..6 give 7..1
constexpr int kLongCopy = 256;   // copy code 0xFF
constexpr int kMaxShortCopy = 127;

bool IsRunLength(int n) {
    return (n >= 1 && n <= kMaxShortRun) || n == kLongRun;
}
bool IsCopyLength(int n) {
    return (n >= 1 && n <= kMaxShortCopy) || n == kLongCopy;
}

uint8_t RunCode(int n, uint8_t nibble) {
    const int field = n == kLongRun ? 7 : kMaxShortRun - n;
    return static_cast<uint8_t>((field << 4) | nibble);
}

uint8_t CopyCode(int n) {
    return n == kLongCopy ? 0xFF : static_cast<uint8_t>(0x80 | (kMaxShortCopy - n));
}

}  // namespace

std::vector<uint8_t> PictureNibbles(const Picture& picture) {
    std::vector<uint8_t> nibbles;
    for (uint8_t byte : RawRows(picture)) {
        nibbles.push_back(static_cast<uint8_t>(byte >> 4));
        nibbles.push_back(static_cast<uint8_t>(byte & 0x0F));
    }
    return nibbles;
}

std::vector<uint8_t> DecodeNibbles(const std::vector<uint8_t>& codes, int rowNibbles,
                                   int compression) {
    std::vector<uint8_t> ring(static_cast<size_t>(rowNibbles * compression), 0);
    size_t position = 0;
    std::vector<uint8_t> out;
    auto emit = [&](uint8_t nibble) {
        out.push_back(nibble);
        position = (position + 1) % ring.size();
    };
    for (uint8_t code : codes) {
        if (code < 0x80) {
            const int field = (code >> 4) & 7;
            const int count = field == 7 ? kLongRun : kMaxShortRun - field;
            const auto nibble = static_cast<uint8_t>(code & 0x0F);
            for (int i = 0; i < count; ++i) {
                ring[position] = nibble;
                emit(nibble);
            }
        } else {
            const int count = code == 0xFF ? kLongCopy : kMaxShortCopy - (code & 0x7F);
            for (int i = 0; i < count; ++i) emit(ring[position]);
        }
    }
    return out;
}

NibbleCoder::NibbleCoder(std::vector<uint8_t> nibbles, int rowNibbles, int compression)
    : nibbles_(std::move(nibbles)),
      ringNibbles_(static_cast<size_t>(rowNibbles * compression)),
      end_(nibbles_.size() + static_cast<size_t>(rowNibbles) - 1) {
    if (rowNibbles < 2 || rowNibbles > 16 || (compression != 1 && compression != 2) ||
        nibbles_.empty() || nibbles_.size() % static_cast<size_t>(rowNibbles) != 0 ||
        end_ > kMaxCodes)
        throw std::invalid_argument("NibbleCoder: not a picture of whole rows of 2..16 nibbles");
    finish_.assign(end_ + 1, Counts());
    for (size_t p = nibbles_.size(); p <= end_; ++p) finish_[p].set(0);
    for (size_t p = end_; p-- > 0;)
        for (int n : Steps(p)) finish_[p] |= finish_[p + static_cast<size_t>(n)] << 1;
    const Counts& all = finish_[0];
    shortest_ = kMaxCodes + 1;
    for (size_t c = 0; c <= kMaxCodes; ++c) {
        if (!all.test(c)) continue;
        shortest_ = std::min(shortest_, c);
        longest_ = c;
    }
}

bool NibbleCoder::Reachable(size_t length) const {
    return length <= kMaxCodes && finish_[0].test(length);
}

// The nibble a copy emits at a position: the one a row (or two) above.
uint8_t NibbleCoder::HistoryAt(size_t position) const {
    return position >= ringNibbles_ ? nibbles_[position - ringNibbles_] : 0;
}

// How far a run of the nibble at `position` may reach; past the picture any
// nibble will do.
size_t NibbleCoder::RunReach(size_t position) const {
    const uint8_t nibble = Free(position) ? 0 : nibbles_[position];
    size_t k = position;
    while (k < end_ && k - position < kLongRun && (Free(k) || nibbles_[k] == nibble)) ++k;
    return k - position;
}

size_t NibbleCoder::CopyReach(size_t position) const {
    size_t k = position;
    while (k < end_ && k - position < kLongCopy && (Free(k) || nibbles_[k] == HistoryAt(k))) ++k;
    return k - position;
}

std::vector<int> NibbleCoder::Steps(size_t position) const {
    const int run = static_cast<int>(RunReach(position));
    const int copy = static_cast<int>(CopyReach(position));
    std::vector<int> steps;
    for (int n = 1; n <= std::max(run, copy); ++n)
        if ((n <= run && IsRunLength(n)) || (n <= copy && IsCopyLength(n))) steps.push_back(n);
    return steps;
}

std::vector<uint8_t> NibbleCoder::Code(size_t length) const {
    if (!Reachable(length))
        throw std::invalid_argument("NibbleCoder: no coding of " + std::to_string(length) +
                                    " bytes");
    std::vector<uint8_t> codes;
    size_t p = 0;
    for (size_t left = length; left > 0; --left) {
        std::vector<int> steps = Steps(p);
        // Codes that end inside the picture, longest first; then spilling
        // ones, shortest first, so the spill stays as small as it can.
        std::stable_partition(steps.begin(), steps.end(),
                              [&](int n) { return p + static_cast<size_t>(n) <= nibbles_.size(); });
        const auto inside = std::partition_point(steps.begin(), steps.end(), [&](int n) {
            return p + static_cast<size_t>(n) <= nibbles_.size();
        });
        std::reverse(steps.begin(), inside);
        const auto step = std::find_if(steps.begin(), steps.end(), [&](int n) {
            return finish_[p + static_cast<size_t>(n)].test(left - 1);
        });
        if (step == steps.end()) throw std::logic_error("NibbleCoder: counts disagree with steps");
        const int n = *step;
        const bool run = IsRunLength(n) && static_cast<int>(RunReach(p)) >= n;
        codes.push_back(run ? RunCode(n, Free(p) ? 0 : nibbles_[p]) : CopyCode(n));
        p += static_cast<size_t>(n);
    }
    return codes;
}

}  // namespace pixelart
