#include "DefaultImage.h"

namespace zorasm {

MemoryFiles EmbeddedImageFiles() {
    MemoryFiles files;
    for (size_t i = 0; i < kEmbeddedImageSourceCount; ++i) {
        const EmbeddedFile& file = kEmbeddedImageSources[i];
        files.Add(file.path, std::string(reinterpret_cast<const char*>(file.bytes), file.size));
    }
    return files;
}

Assembly AssembleDefaultImage(const std::vector<std::string>& added, const SourceFiles& others) {
    const MemoryFiles embedded = EmbeddedImageFiles();
    if (!embedded.Has(kDefaultImageSource)) {
        Assembly missing;
        missing.unreadable.push_back(std::string(kDefaultImageSource) +
                                     ": not built into this zorasm (the file was not there when "
                                     "zorasm was built; add it and build zorasm again)");
        return missing;
    }
    AssembleOptions options;
    options.added = added;
    Assembly assembly = Assemble({kDefaultImageSource}, OverlayFiles(embedded, others), options);
    // Module memory past the vocabulary is free space, all zeros.
    if (assembly.Ok() && assembly.bytes.size() < kModuleMemorySize)
        assembly.bytes.resize(kModuleMemorySize, 0);
    return assembly;
}

}  // namespace zorasm
