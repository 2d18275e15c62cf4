#include "FileAccess.h"

#include <sys/stat.h>

namespace zorhost {

std::optional<std::string> DiskFileAccess::Read(const std::string& path, size_t limit,
                                                files::ReadError& error) {
    return files::ReadFile(path, limit, error);
}

bool DiskFileAccess::Exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

bool DiskFileAccess::Write(const std::string& path, std::string_view bytes, std::string& error) {
    return files::WriteFile(path, bytes, error);
}

std::optional<std::string> MemoryFileAccess::Read(const std::string& path, size_t limit,
                                                  files::ReadError& error) {
    const auto found = files_.find(path);
    if (found == files_.end()) {
        error = {files::ReadError::Kind::kCannotRead, "No such file or directory", 0};
        return std::nullopt;
    }
    if (found->second.size() > limit) {
        error = {files::ReadError::Kind::kTooLarge, "", limit};
        return std::nullopt;
    }
    return found->second;
}

bool MemoryFileAccess::Write(const std::string& path, std::string_view bytes, std::string&) {
    files_[path] = std::string(bytes);
    return true;
}

}  // namespace zorhost
