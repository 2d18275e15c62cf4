#include "Files.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace zorhost {

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& reason) {
    std::error_code code;
    if (std::filesystem::is_directory(path, code)) {
        reason = std::strerror(EISDIR);
        return false;
    }
    errno = 0;
    std::ifstream file(path, std::ios::binary);
    if (!file.is_open()) {
        reason = std::strerror(errno != 0 ? errno : ENOENT);
        return false;
    }
    std::ostringstream contents;
    contents << file.rdbuf();
    if (file.bad()) {
        reason = std::strerror(errno != 0 ? errno : EIO);
        return false;
    }
    bytes = contents.str();
    return true;
}

}  // namespace zorhost
