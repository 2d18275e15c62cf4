// Feeds arbitrary text to the vocabulary assembler as its main source. The
// files it reads all live in memory: the input as main.zasm, a few small fixed
// files beside it that `.include`, `.bitmap`, `.iconset` and `.font` can name,
// and any files the input carries itself after a line "#file NAME" (so that
// the pixel-art reader is fuzzed as well; '#' starts no statement of the
// language, and a picture row holds only '#' and '.', so such a line never
// hides a line of either). Nothing touches the disk.
//
// Whatever the text, the assembler must end with diagnostics or with bytes:
// no crash, no exception escaping, no sanitizer report, no runaway time or
// memory. Every message names the file it is about. An image it accepts fits
// in module memory, its blocks and listing lines account for every byte, and
// it disassembles to source that assembles to the very same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "Assembler.h"
#include "Disassembler.h"
#include "Listing.h"

namespace {

// The image is laid out from 0, as a vocabulary replacing the default one.
constexpr uint32_t kBase = 0;
const std::string kMain = "main.zasm";
const std::string_view kFileMarker = "#file ";

struct FixedFile {
    const char* path;
    const char* text;
};

const FixedFile kFixedFiles[] = {
    {"lib/names.zasm",
     "; Constants, one defined through another, and a procedure.\n"
     ".equ t_proc, 1\n"
     ".equ t_string, t_string_alias\n"
     ".equ t_string_alias, 4\n"
     ".equ left, 0x0219\n"
     ".procedure 40, 12\n"
     "        PUSH16 left\n"
     "        MOVE_TO\n"
     "        RETURN\n"},
    {"lib/strings.zasm", ".string 41, \"outer\"\n.include \"inner/last.zasm\"\n"},
    {"lib/inner/last.zasm", ".string 42, \"inner\"\n"},
    {"lib/loop.zasm", ".include \"loop.zasm\"   ; includes itself\n"},
    {"art/pictures.art",
     "bitmap 1 'raw'\n"
     "#.......#.\n"
     "........##\n"
     "\n"
     "bitmap 2 'coded' compression=1\n"
     "#################\n"
     "#...............#\n"
     "#..##.....##....#\n"
     "#################\n"
     "\n"
     "bitmap 3 'two rows of history' compression=2\n"
     "#.#.#.#.\n"
     ".#.#.#.#\n"
     "#.#.#.#.\n"
     "\n"
     "icon 1 'a' y-offset=2\n"
     "###\n"
     "#..\n"
     "\n"
     "icon 0x0203\n"
     "#########\n"
     "---------\n"
     "#.......#\n"},
    {"art/font.glyphs",
     "font kind=proportional first=0x41 last=0x42 cell-width=4 cell-height=5 ascent=3 "
     "spacing=1 line-gap=2 class=2\n"
     "\n"
     "glyph 0x41 'A'\n"
     "....\n.##.\n#..#\n----\n####\n....\n"
     "\n"
     "glyph 0x42 'B'\n"
     "##..\n#.#.\n##..\n----\n....\n....\n"},
};

[[noreturn]] void Broken(const std::string& what, const std::string& detail) {
    std::fprintf(stderr, "zorasm_source_fuzzer: %s\n%s\n", what.c_str(), detail.c_str());
    std::abort();
}

// The input as the main file, and the files it carries after "#file NAME"
// lines; the names of every file the assembler may read go to `names`.
zorasm::MemoryFiles FilesOf(std::string_view input, std::vector<std::string>& names) {
    zorasm::MemoryFiles files;
    for (const FixedFile& fixed : kFixedFiles) {
        files.Add(fixed.path, fixed.text);
        names.emplace_back(fixed.path);
    }
    std::string name = kMain;
    size_t start = 0;
    while (true) {
        size_t marker = input.find(kFileMarker, start);
        while (marker != std::string_view::npos && marker != 0 && input[marker - 1] != '\n')
            marker = input.find(kFileMarker, marker + 1);
        const size_t end = marker == std::string_view::npos ? input.size() : marker;
        files.Add(name, std::string(input.substr(start, end - start)));
        names.push_back(name);
        if (marker == std::string_view::npos) return files;
        const size_t nameStart = marker + kFileMarker.size();
        size_t nameEnd = input.find('\n', nameStart);
        if (nameEnd == std::string_view::npos) nameEnd = input.size();
        name = std::string(input.substr(nameStart, nameEnd - nameStart));
        start = nameEnd == input.size() ? nameEnd : nameEnd + 1;
    }
}

bool NamesAKnownFile(const std::string& message, const std::vector<std::string>& names) {
    for (const std::string& name : names)
        if (message.compare(0, name.size() + 1, name + ":") == 0) return true;
    return false;
}

std::string AllErrors(const zorasm::Assembly& assembly) {
    std::string text;
    for (const std::string& message : assembly.unreadable) text += message + "\n";
    for (const std::string& message : assembly.diagnostics.errors) text += message + "\n";
    return text;
}

// The blocks lie back to back from the base, and their listing lines hold
// exactly the image's bytes, each at its address.
void CheckBlocks(const zorasm::Assembly& assembly) {
    uint32_t address = assembly.base;
    std::vector<uint8_t> listed;
    for (const zorasm::Block& block : assembly.blocks) {
        if (block.address != address)
            Broken("a block starts at " + std::to_string(block.address) + ", not at " +
                       std::to_string(address),
                   zorasm::RenderListing(assembly, {kMain}));
        uint32_t lineAddress = address;
        for (const zorasm::ListingLine& line : block.lines) {
            if (line.address != lineAddress)
                Broken("a listing line starts at " + std::to_string(line.address) + ", not at " +
                           std::to_string(lineAddress),
                       zorasm::RenderListing(assembly, {kMain}));
            listed.insert(listed.end(), line.bytes.begin(), line.bytes.end());
            lineAddress += static_cast<uint32_t>(line.bytes.size());
        }
        address += block.length;
        if (lineAddress != address)
            Broken("a block's lines do not fill its length",
                   zorasm::RenderListing(assembly, {kMain}));
    }
    if (listed != assembly.bytes)
        Broken("the listing's bytes are not the image", zorasm::RenderListing(assembly, {kMain}));
}

void CheckRoundTrip(const zorasm::Assembly& assembly) {
    const std::string text = zorasm::Disassemble(assembly.bytes, assembly.base, "main.bin");
    zorasm::MemoryFiles files;
    files.Add("again.zasm", text);
    const zorasm::Assembly again = zorasm::Assemble({"again.zasm"}, files, {assembly.base});
    if (!again.Ok() || again.bytes != assembly.bytes)
        Broken("the disassembly does not assemble back to the image", AllErrors(again) + text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> names;
    const zorasm::MemoryFiles files =
        FilesOf(std::string_view(reinterpret_cast<const char*>(data), size), names);
    const zorasm::Assembly assembly = zorasm::Assemble({kMain}, files, {kBase});
    for (const std::string& message : assembly.diagnostics.errors)
        if (!NamesAKnownFile(message, names)) Broken("a message names no file", message);
    if (!assembly.Ok()) return 0;
    if (assembly.base + assembly.bytes.size() > zorasm::kModuleMemorySize)
        Broken("an accepted image of " + std::to_string(assembly.bytes.size()) +
                   " bytes runs past module memory",
               zorasm::RenderListing(assembly, {kMain}));
    CheckBlocks(assembly);
    CheckRoundTrip(assembly);
    return 0;
}
