// Vocabulary items: each item directive with the statements that follow it
// becomes one item's bytes, at the length it was given.
#pragma once

#include <string>
#include <vector>

#include "ArtFiles.h"
#include "Assembler.h"
#include "Constants.h"

namespace zorasm {

// What building items shares: constants, messages, and the picture and glyph
// files already read.
struct ItemContext {
    const Constants& constants;
    Diagnostics& diagnostics;
    ArtFiles& art;
};

bool IsItemDirective(const std::string& name);
// Every directive of the language, for suggestions.
std::vector<std::string> DirectiveNames();

// The item at `address`. Errors are reported to the context; the block then
// keeps the room it was given (as zeros) so that what follows stays put.
Block BuildItem(const Statement& directive, std::vector<const Statement*> body, uint32_t address,
                ItemContext& context);

}  // namespace zorasm
