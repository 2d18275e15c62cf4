#include "Listing.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace zorasm {

namespace {

constexpr size_t kBytesPerRow = 8;
constexpr size_t kMaxRows = 4;  // longer lines (fonts, bitmaps) show their start and a count

std::string Format(const char* format, auto... values) {
    char text[160];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

std::string Hex(const std::vector<uint8_t>& bytes, size_t begin, size_t end) {
    std::string text;
    for (size_t i = begin; i < end; ++i) text += Format(i == begin ? "%02X" : " %02X", bytes[i]);
    return text;
}

// address (hexadecimal and decimal), length, item, and the room of an item
// given a LENGTH: the room, what its contents use, and what is left (padding).
const char* const kSummaryHeader =
    ";  address       length  item                        room    used   spare\n";

void SummaryRow(std::ostream& out, const Block& block) {
    std::string row = Format(";  0x%04X %5u %7u  %-24s", block.address, block.address, block.length,
                             BlockName(block).c_str());
    if (block.room)
        row += Format(" %7u %7u %7d", *block.room, block.used,
                      static_cast<int>(*block.room) - static_cast<int>(block.used));
    while (row.back() == ' ') row.pop_back();
    out << row << "\n";
}

void LineRows(std::ostream& out, const ListingLine& line) {
    const std::string where =
        line.position.line > 0 ? line.position.file + ":" + std::to_string(line.position.line) : "";
    const size_t size = line.bytes.size();
    const size_t rows = size == 0 ? 1 : (size + kBytesPerRow - 1) / kBytesPerRow;
    for (size_t row = 0; row < rows && row < kMaxRows; ++row) {
        const size_t begin = row * kBytesPerRow;
        const size_t end = std::min(size, begin + kBytesPerRow);
        std::string text = Format("%04X  %-24s", static_cast<unsigned>(line.address + begin),
                                  Hex(line.bytes, begin, end).c_str());
        if (row == 0) text += "  " + Format("%-24s", where.c_str()) + "  " + line.text;
        while (!text.empty() && text.back() == ' ') text.pop_back();
        out << text << "\n";
    }
    if (rows > kMaxRows)
        out << Format("      ... %zu bytes in all, to %04X\n", size,
                      static_cast<unsigned>(line.address + size - 1));
}

}  // namespace

std::string BlockName(const Block& block) {
    switch (block.kind) {
        case Block::Kind::kEndMarker: return "end marker";
        case Block::Kind::kData: return "data";
        case Block::Kind::kItem: break;
    }
    if (block.directive == ".item")
        return "item " + std::to_string(block.number) + ", type " + std::to_string(block.type);
    return block.directive.substr(1) + " " + std::to_string(block.number);
}

std::string RenderListing(const Assembly& assembly, const std::vector<std::string>& sources) {
    std::ostringstream out;
    out << "; zorasm listing of";
    for (const std::string& source : sources) out << " " << source;
    out << Format("\n; %zu bytes from base %u\n;\n", assembly.bytes.size(), assembly.base);
    out << "; Items (room: the LENGTH given; used: what the contents need without padding)\n"
        << kSummaryHeader;
    for (const Block& block : assembly.blocks) SummaryRow(out, block);
    out << ";\n; addr  bytes                     source\n";
    for (const Block& block : assembly.blocks) {
        out << "\n";
        for (const ListingLine& line : block.lines) LineRows(out, line);
    }
    return out.str();
}

}  // namespace zorasm
