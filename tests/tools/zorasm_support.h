// Shared by the zorasm suites: assembling sources held in memory.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "Assembler.h"

namespace zortest {

// Assembles `text` as the file "t.zasm", with `others` beside it.
inline zorasm::Assembly AssembleText(const std::string& text,
                                     const std::map<std::string, std::string>& others = {},
                                     uint32_t base = 0) {
    zorasm::MemoryFiles files;
    files.Add("t.zasm", text);
    for (const auto& [path, contents] : others) files.Add(path, contents);
    return zorasm::Assemble({"t.zasm"}, files, {base});
}

// Every message, one per line ("" when the assembly succeeded).
inline std::string Errors(const zorasm::Assembly& assembly) {
    std::string text;
    for (const std::string& message : assembly.unreadable) text += message + "\n";
    for (const std::string& message : assembly.diagnostics.errors) text += message + "\n";
    return text;
}

// The bytes of sources that must assemble without an error.
inline std::vector<uint8_t> BytesOf(const std::string& text,
                                    const std::map<std::string, std::string>& others = {},
                                    uint32_t base = 0) {
    const zorasm::Assembly assembly = AssembleText(text, others, base);
    EXPECT_EQ(Errors(assembly), "");
    return assembly.bytes;
}

}  // namespace zortest
