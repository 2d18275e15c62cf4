// The listing of an assembly: a table of every item with the room it was
// given and the room it uses, then every line's address and bytes beside its
// source.
#pragma once

#include <string>
#include <vector>

#include "Assembler.h"

namespace zorasm {

std::string RenderListing(const Assembly& assembly, const std::vector<std::string>& sources);

// "procedure 3", "item 9, type 6", "end marker", "data".
std::string BlockName(const Block& block);

}  // namespace zorasm
