// The disassembler: any image back to source that assembles to the same
// bytes. Procedures and scripts become tags with labels for the jumps and
// branches that land inside them; clean strings become .string; everything
// else (bitmaps, fonts, icon sets, odd bytes) is shown as data, or, for the
// sources a person edits (DisassembleToSources), as pixel art and glyphs.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "SourceFiles.h"

namespace zorasm {

// `name` is the image's file name, for the leading comment. The image must
// fit in module memory from `base`.
std::string Disassemble(const std::vector<uint8_t>& image, uint32_t base, const std::string& name);

// A named constant for the sources: item types (names starting t_), tag
// variables (v_) and procedure numbers (any other name).
struct Name {
    std::string name;
    long value = 0;
};

// The `.equ` lines of a source file (and of what it includes), evaluated;
// nothing, with `error` naming the place, when they do not evaluate.
std::optional<std::vector<Name>> ReadNames(const std::string& path, const SourceFiles& files,
                                           std::string& error);

// Files by name, relative to the folder they are written to.
struct SourceSet {
    std::map<std::string, std::string> files;
    size_t items = 0;         // items of the chain
    size_t itemsAsBytes = 0;  // of which shown as bytes (no other source gives them back exactly)
};

inline constexpr const char* kSourcesMain = "image.zasm";
inline constexpr const char* kSourcesNames = "names.zasm";
inline constexpr const char* kSourcesBitmaps = "bitmaps.art";

// The image as sources to edit: image.zasm holds the items (programs with
// labels and the names given, strings as text) and names bitmaps.art (every
// bitmap as pixel art), one pixel-art file per icon set and one glyph file
// per font. An item no such source gives back exactly stays bytes. The
// sources assemble (image.zasm, at `base`) to the very same bytes.
SourceSet DisassembleToSources(const std::vector<uint8_t>& image, uint32_t base,
                               const std::string& name, const std::vector<Name>& names = {});

}  // namespace zorasm
