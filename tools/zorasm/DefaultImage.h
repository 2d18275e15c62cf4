// The module's default memory image, assembled from the sources in
// lcdm/image that were built into the program.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "Assembler.h"
#include "SourceFiles.h"

namespace zorasm {

struct EmbeddedFile {
    const char* path;  // relative to the project's root, e.g. "lcdm/image/default.zasm"
    const unsigned char* bytes;
    size_t size;
};
extern const EmbeddedFile kEmbeddedImageSources[];
extern const size_t kEmbeddedImageSourceCount;

inline constexpr const char* kDefaultImageSource = "lcdm/image/default.zasm";

MemoryFiles EmbeddedImageFiles();

// The default image, zero-filled to the size of module memory. If the
// sources were not there when zorasm was built, `unreadable` says so.
// `added` sources (read from `files`) put their items into the default
// vocabulary, between its last item and its end marker: every default item
// keeps its address and bytes.
Assembly AssembleDefaultImage(const std::vector<std::string>& added = {},
                              const SourceFiles& files = DiskFiles());

}  // namespace zorasm
