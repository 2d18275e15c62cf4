// The disassembler's promise, fuzzed: any vocabulary image that fits in
// module memory disassembles to source that assembles, at the same base, to
// the very same bytes.
//
// Input: two bytes that choose the base address (big-endian, taken modulo the
// room the image leaves in module memory, so that every base the image can
// have is reachable and none is refused), then the image. An image longer
// than module memory is cut to it.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Assembler.h"
#include "Disassembler.h"

namespace {

std::string Hex(const std::vector<uint8_t>& bytes) {
    std::string text;
    char byte[4];
    for (size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(byte, sizeof byte, "%02X", bytes[i]);
        text += byte;
        text += (i % 32 == 31) ? '\n' : ' ';
    }
    return text;
}

size_t FirstDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
    return i;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const uint32_t chosen = (uint32_t{data[0]} << 8) | data[1];
    const size_t length =
        size - 2 < zorasm::kModuleMemorySize ? size - 2 : zorasm::kModuleMemorySize;
    const std::vector<uint8_t> image(data + 2, data + 2 + length);
    const uint32_t base = chosen % static_cast<uint32_t>(zorasm::kModuleMemorySize - length + 1);

    const std::string text = zorasm::Disassemble(image, base, "image.bin");
    zorasm::MemoryFiles files;
    files.Add("image.zasm", text);
    const zorasm::Assembly assembly = zorasm::Assemble({"image.zasm"}, files, {base});
    if (assembly.Ok() && assembly.bytes == image) return 0;

    std::string errors;
    for (const std::string& message : assembly.diagnostics.errors) errors += message + "\n";
    std::fprintf(stderr,
                 "image_round_trip_fuzzer: the disassembly of a %zu-byte image at base %u does "
                 "not assemble back to it (%s; first difference at byte %zu)\n"
                 "image:\n%s\nassembled:\n%s\nmessages:\n%s\nsource:\n%s\n",
                 image.size(), base, assembly.Ok() ? "different bytes" : "assembly errors",
                 FirstDifference(image, assembly.bytes), Hex(image).c_str(),
                 Hex(assembly.bytes).c_str(), errors.c_str(), text.c_str());
    std::abort();
}
