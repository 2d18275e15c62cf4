// Reads the sources, in order, into one list of statements, with the files
// that `.include` names read in their place.
#pragma once

#include <string>
#include <vector>

#include "Diagnostics.h"
#include "SourceFiles.h"
#include "Statement.h"

namespace zorasm {

// Errors go to `diagnostics`; a source that cannot be read at all is named
// in `unreadable` (the caller's exit status differs for it).
std::vector<Statement> ReadSources(const std::vector<std::string>& paths, const SourceFiles& files,
                                   Diagnostics& diagnostics, std::vector<std::string>& unreadable);

}  // namespace zorasm
