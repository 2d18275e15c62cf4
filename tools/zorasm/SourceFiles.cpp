#include "SourceFiles.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace zorasm {

std::optional<std::string> DiskFiles::Read(const std::string& path, std::string& why) const {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        why = "it is a folder";
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        why = std::strerror(errno);
        return std::nullopt;
    }
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) {
        why = "read error";
        return std::nullopt;
    }
    return text.str();
}

std::optional<std::string> MemoryFiles::Read(const std::string& path, std::string& why) const {
    const auto found = files_.find(path);
    if (found != files_.end()) return found->second;
    why = "no such file";
    return std::nullopt;
}

std::string RelativeTo(const std::string& from, const std::string& name) {
    const std::filesystem::path named(name);
    if (named.is_absolute()) return named.lexically_normal().string();
    return (std::filesystem::path(from).parent_path() / named).lexically_normal().string();
}

}  // namespace zorasm
