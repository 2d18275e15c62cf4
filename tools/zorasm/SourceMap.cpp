#include "SourceMap.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

#include "Assembler.h"

namespace zorasm {
namespace {

constexpr const char* kHeader = "# zorasm map";

}  // namespace

uint32_t SourceMap::Checksum(const uint8_t* bytes, size_t count) {
    uint32_t hash = 2166136261u;
    for (size_t i = 0; i < count; ++i) hash = (hash ^ bytes[i]) * 16777619u;
    return hash;
}

std::string SourceMap::Format(uint32_t base, const std::vector<uint8_t>& bytes,
                              const std::vector<SourceMapEntry>& entries) {
    char checksum[16];
    std::snprintf(checksum, sizeof checksum, "%08X", Checksum(bytes.data(), bytes.size()));
    std::string text = std::string(kHeader) + ": address length file:line, for zorhost --map\n";
    text += "image " + std::to_string(base) + " " + std::to_string(bytes.size()) + " " + checksum +
            "\n";
    for (const SourceMapEntry& e : entries)
        text += std::to_string(e.address) + " " + std::to_string(e.length) + " " + e.file + ":" +
                std::to_string(e.line) + "\n";
    return text;
}

std::string SourceMap::Of(const Assembly& assembly) {
    std::vector<SourceMapEntry> entries;
    for (const Block& block : assembly.blocks)
        for (const ListingLine& line : block.lines) {
            if (line.bytes.empty() || line.position.line <= 0) continue;  // padding has no line
            const uint32_t length = static_cast<uint32_t>(line.bytes.size());
            SourceMapEntry* last = entries.empty() ? nullptr : &entries.back();
            if (last && last->file == line.position.file && last->line == line.position.line &&
                last->address + last->length == line.address) {
                last->length += length;
                continue;
            }
            entries.push_back({line.address, length, line.position.file, line.position.line});
        }
    return Format(assembly.base, assembly.bytes, entries);
}

std::optional<SourceMap> SourceMap::Parse(const std::string& text, const std::string& name,
                                          std::string& error) {
    SourceMap map;
    std::istringstream in(text);
    std::string line;
    int number = 0;
    bool sawImage = false;
    auto fail = [&](const std::string& what) {
        error = name + ":" + std::to_string(number) + ": " + what;
        return std::nullopt;
    };
    while (std::getline(in, line)) {
        ++number;
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        if (!sawImage) {
            std::string word, checksum;
            if (!(fields >> word >> map.base_ >> map.length_ >> checksum) || word != "image")
                return fail("expected \"image BASE LENGTH CHECKSUM\" (is this a zorasm map?)");
            map.checksum_ = static_cast<uint32_t>(std::stoul(checksum, nullptr, 16));
            sawImage = true;
            continue;
        }
        SourceMapEntry entry;
        std::string where;
        if (!(fields >> entry.address >> entry.length >> where))
            return fail("expected \"ADDRESS LENGTH FILE:LINE\"");
        const size_t colon = where.rfind(':');
        if (colon == std::string::npos || colon + 1 == where.size())
            return fail("expected FILE:LINE, got \"" + where.substr(0, 60) + "\"");
        entry.file = where.substr(0, colon);
        entry.line = std::atoi(where.c_str() + colon + 1);
        map.entries_.push_back(std::move(entry));
    }
    if (!sawImage) return fail("no \"image\" line (is this a zorasm map?)");
    std::sort(
        map.entries_.begin(), map.entries_.end(),
        [](const SourceMapEntry& a, const SourceMapEntry& b) { return a.address < b.address; });
    return map;
}

std::string SourceMap::Where(uint32_t address) const {
    auto after =
        std::upper_bound(entries_.begin(), entries_.end(), address,
                         [](uint32_t a, const SourceMapEntry& e) { return a < e.address; });
    if (after == entries_.begin()) return {};
    const SourceMapEntry& entry = *(after - 1);
    if (address >= entry.address + entry.length) return {};
    return entry.file + ":" + std::to_string(entry.line);
}

}  // namespace zorasm
