#include "SourceFiles.h"

#include <filesystem>

#include "files/Files.h"

namespace zorasm {

std::optional<std::string> DiskFiles::Read(const std::string& path, std::string& why) const {
    files::ReadError error;
    std::optional<std::string> text = files::ReadFile(path, kMaxSourceFileBytes, error);
    if (!text) why = error.Message(path);
    return text;
}

std::optional<std::string> MemoryFiles::Read(const std::string& path, std::string& why) const {
    const auto found = files_.find(path);
    if (found != files_.end()) return found->second;
    why = "cannot read " + path + ": no such file";
    return std::nullopt;
}

std::string RelativeTo(const std::string& from, const std::string& name) {
    const std::filesystem::path named(name);
    if (named.is_absolute()) return named.lexically_normal().string();
    return (std::filesystem::path(from).parent_path() / named).lexically_normal().string();
}

}  // namespace zorasm
