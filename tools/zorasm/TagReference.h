// The reference of the tag set, made from the module's one tag list
// (lcdm/Lcdm_opcode_list.h: each tag's row and its facts tables) and its
// status names: the table `zorasm --list-tags` prints, and docs/tags.md,
// whose hand-written sections come from a template.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "SourceFiles.h"

namespace zorasm {

struct TagRow {
    std::string opcodes;   // "81", or "32..47" for a range
    std::string mnemonic;  // "" for the opcodes the list does not name
    std::string operand;   // how the operand is written: "", "byte", "word", ...
    std::string stack;     // before -> after, top on the right
    std::string summary;
    std::string cells;  // what the stack effect's names stand for
    std::vector<uint8_t> statuses;
};

// Every tag of the list in opcode order, then a row for the invalid opcodes.
// Throws std::logic_error when a facts table misses a tag of the list or
// names one it does not hold (a build-time check: the reference is made at
// every build).
std::vector<TagRow> TagRows();

// Every status the module sets, with its name.
std::vector<std::pair<uint8_t, std::string>> StatusRows();

std::string TagTableText();
std::string TagTableMarkdown();
std::string StatusTableMarkdown();
// The languages each font class serves.
std::string FontClassTableMarkdown();

// The template with its marker lines replaced: "<!-- tag table -->" by
// TagTableMarkdown, "<!-- status table -->" by StatusTableMarkdown,
// "<!-- font class table -->" by FontClassTableMarkdown and
// "<!-- recipe FILE NAME -->" by a zasm code block of the lines of FILE
// (relative to the template) that follow its line "; recipe: NAME", up to
// the next such line. Nothing, with `error` saying why, when a recipe or
// its file is missing.
std::optional<std::string> MergeTagReference(const std::string& templateText,
                                             const std::string& templatePath,
                                             const SourceFiles& files, std::string& error);

}  // namespace zorasm
