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

bool DiskFileAccess::WriteTogether(const Outputs& outputs, std::string& error) {
    files::OutputFiles set;
    for (const auto& [path, bytes] : outputs) set.Add(path, bytes);
    return set.Commit(error);
}

std::unique_ptr<files::ByteSink> DiskFileAccess::OpenStream(const std::string& path,
                                                            std::string& error) {
    auto file = std::make_unique<files::StreamedFile>();
    if (!file->Open(path, error)) return nullptr;
    return file;
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

namespace zorhost {
namespace {

// Bytes kept until Commit puts them among the files in memory.
class MemorySink : public files::ByteSink {
public:
    MemorySink(std::map<std::string, std::string>& files, std::string path)
        : files_(files), path_(std::move(path)) {}
    bool Write(std::string_view bytes) override {
        bytes_.append(bytes);
        return true;
    }
    bool Commit(std::string&) override {
        files_[path_] = std::move(bytes_);
        return true;
    }

private:
    std::map<std::string, std::string>& files_;
    std::string path_;
    std::string bytes_;
};

}  // namespace

bool MemoryFileAccess::WriteTogether(const Outputs& outputs, std::string&) {
    for (const auto& [path, bytes] : outputs) files_[path] = bytes;
    return true;
}

std::unique_ptr<files::ByteSink> MemoryFileAccess::OpenStream(const std::string& path,
                                                              std::string&) {
    return std::make_unique<MemorySink>(files_, path);
}

}  // namespace zorhost
