// The picture and glyph files that items name, each read and parsed once:
// sixty bitmaps drawn in one file cost one parse, and a file with an error is
// reported once however many items name it.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "Diagnostics.h"
#include "SourceFiles.h"
#include "pixelart/font.h"
#include "pixelart/image.h"

namespace zorasm {

// Thrown for an item whose file's error has already been reported.
struct AlreadyReported {};

class ArtFiles {
public:
    ArtFiles(const SourceFiles& files, Diagnostics& diagnostics)
        : files_(files), diagnostics_(diagnostics) {}

    // A file that cannot be read is an error at `at`, the line naming it.
    const pixelart::PictureSet& Pictures(const std::string& path, const Position& at);
    const pixelart::FontSource& Font(const std::string& path, const Position& at);

private:
    template <typename T, typename Parse>
    const T& Load(std::map<std::string, std::shared_ptr<const T>>& cache, const std::string& path,
                  const Position& at, const std::string& kind, Parse parse);

    const SourceFiles& files_;
    Diagnostics& diagnostics_;
    std::map<std::string, std::shared_ptr<const pixelart::PictureSet>> pictures_;
    std::map<std::string, std::shared_ptr<const pixelart::FontSource>> fonts_;
};

}  // namespace zorasm
