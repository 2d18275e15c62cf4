#include "ArtFiles.h"

namespace zorasm {

template <typename T, typename Parse>
const T& ArtFiles::Load(std::map<std::string, std::shared_ptr<const T>>& cache,
                        const std::string& path, const Position& at, const std::string& kind,
                        Parse parse) {
    auto found = cache.find(path);
    if (found == cache.end()) {
        std::string why;
        const std::optional<std::string> text = files_.Read(path, why);
        if (!text) Fail(at, kind + " file: " + why);
        diagnostics_.texts[path] = *text;
        std::shared_ptr<const T> parsed;
        try {
            parsed = std::make_shared<const T>(parse(pixelart::ParseDocument(*text, path)));
        } catch (const pixelart::Error& error) {
            diagnostics_.Add(error);
        }
        found = cache.emplace(path, parsed).first;
    }
    if (!found->second) throw AlreadyReported{};
    return *found->second;
}

const pixelart::PictureSet& ArtFiles::Pictures(const std::string& path, const Position& at) {
    return Load(pictures_, path, at, "picture", pixelart::ParsePictures);
}

const pixelart::FontSource& ArtFiles::Font(const std::string& path, const Position& at) {
    return Load(fonts_, path, at, "glyph", pixelart::ParseFont);
}

}  // namespace zorasm
