// Where each byte of an assembled vocabulary came from: the map zorasm writes
// with --map, read back so that reports can name the source line of a tag.
//
// The map is text: a header with the image's base, length and checksum, then
// one line per run of bytes from one source line: "ADDRESS LENGTH FILE:LINE".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zorasm {

struct SourceMapEntry {
    uint32_t address = 0;
    uint32_t length = 0;
    std::string file;
    int line = 0;
};

class SourceMap {
public:
    // The map's text for an image of `bytes` placed at `base`.
    static std::string Format(uint32_t base, const std::vector<uint8_t>& bytes,
                              const std::vector<SourceMapEntry>& entries);
    // The map's text for an assembly: each run of bytes from one source line.
    static std::string Of(const struct Assembly& assembly);
    // Reads a map; nothing, with `error` naming the line, when it is malformed.
    static std::optional<SourceMap> Parse(const std::string& text, const std::string& name,
                                          std::string& error);

    // FNV-1a over the image's bytes: what ties a map to its image.
    static uint32_t Checksum(const uint8_t* bytes, size_t count);

    uint32_t Base() const { return base_; }
    uint32_t Length() const { return length_; }
    uint32_t ImageChecksum() const { return checksum_; }
    // "page.zasm:31" for an address the map covers, else empty.
    std::string Where(uint32_t address) const;

private:
    uint32_t base_ = 0, length_ = 0, checksum_ = 0;
    std::vector<SourceMapEntry> entries_;  // by address
};

}  // namespace zorasm
