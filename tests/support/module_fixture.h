// Shared by the module's test suites: a fresh module per test, small
// vocabularies written straight into module memory, and frame buffer reads.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "Lcdm.h"

namespace zortest {

// Every test starts on a module in its program-start state.
class ModuleTest : public ::testing::Test {
protected:
    void SetUp() override { lcdm::ModuleReset(); }
};

// Writes a vocabulary item by item from `start` and initialises it.
class VocabularyBuilder {
public:
    explicit VocabularyBuilder(uint16_t start = 0, uint8_t id = 33) : start_(start), next_(start) {
        Add(id, lcdm::kItemHeader, {});
    }

    // Appends one item; returns its address.
    uint16_t Add(uint8_t number, uint8_t type, const std::vector<uint8_t>& body) {
        const uint16_t address = next_;
        const uint16_t length = static_cast<uint16_t>(body.size() + lcdm::kItemHeaderSize);
        lcdm::WriteMemoryWord(length, address);
        lcdm::WriteMemoryByte(number, address + 2);
        lcdm::WriteMemoryByte(type, address + 3);
        for (size_t i = 0; i < body.size(); ++i)
            lcdm::WriteMemoryByte(body[i], static_cast<uint16_t>(address + 4 + i));
        next_ = static_cast<uint16_t>(address + length);
        return address;
    }
    uint16_t Add(uint8_t number, uint8_t type, std::initializer_list<uint8_t> body) {
        return Add(number, type, std::vector<uint8_t>(body));
    }

    // Writes the end marker and initialises the vocabulary; returns the item count.
    uint16_t Init() {
        lcdm::WriteMemoryWord(0xFFFF, next_);
        return lcdm::InitVocabulary(start_);
    }

    uint16_t next() const { return next_; }

private:
    uint16_t start_;
    uint16_t next_;
};

// Label store bytes from address.
inline std::vector<uint8_t> StoreBytes(uint16_t address, uint16_t count) {
    return std::vector<uint8_t>(lcdm::Labels.LabelStore + address,
                                lcdm::Labels.LabelStore + address + count);
}

// The entries of a language list up to its count.
inline std::vector<uint8_t> ListEntries(const lcdm::LanguageList& list) {
    return std::vector<uint8_t>(list.entries, list.entries + list.count);
}

// Sends host bytes; returns the reply to the last one.
inline uint8_t SendHost(std::initializer_list<uint8_t> bytes) {
    for (uint8_t b : bytes) lcdm::HostByteEntry(b);
    return lcdm::Link.ReplyByte;
}

inline bool PixelOn(int x, int y) {
    return (lcdm::Graphics.FrameBuffer[y * 8 + x / 8] & (0x80 >> (x % 8))) != 0;
}

// Columns x0..x1 of row y as '#' (on) and '.' (off).
inline std::string RowText(int y, int x0 = 0, int x1 = 63) {
    std::string text;
    for (int x = x0; x <= x1; ++x) text += PixelOn(x, y) ? '#' : '.';
    return text;
}

inline int PixelsOn() {
    int count = 0;
    for (uint8_t byte : lcdm::Graphics.FrameBuffer)
        for (int bit = 0; bit < 8; ++bit) count += (byte >> bit) & 1;
    return count;
}

}  // namespace zortest
