// Where a session's files come from and go: the disk, or a set held in memory
// for runs that must never touch real files (fuzzing, tests). Every read has a
// limit fitted to what its command can use.
#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "files/Files.h"

namespace zorhost {

// A golden frame is a PBM of a few kB or a snapshot of a few hundred at most.
inline constexpr size_t kMaxFrameFileBytes = 512u << 10;
// A script line longer than this is no command: `send` with 20,000 bytes fits.
inline constexpr size_t kMaxScriptLineBytes = 64u << 10;

class FileAccess {
public:
    virtual ~FileAccess() = default;
    // The whole file, at most `limit` bytes; otherwise nothing, and `error`
    // says why.
    virtual std::optional<std::string> Read(const std::string& path, size_t limit,
                                            files::ReadError& error) = 0;
    virtual bool Exists(const std::string& path) = 0;
    // Replaces a regular file whole or not at all, writes into a device or
    // FIFO, "-" is standard output. False with `error` naming the file.
    virtual bool Write(const std::string& path, std::string_view bytes, std::string& error) = 0;
    // Files written together (path, bytes), all or none (files::OutputFiles).
    using Outputs = std::vector<std::pair<std::string, std::string>>;
    virtual bool WriteTogether(const Outputs& outputs, std::string& error) = 0;
    // A file written piece by piece (a GIF recording): put in place by its
    // Commit, gone if dropped before. Nothing, with `error` naming the file,
    // when it cannot be written at all.
    virtual std::unique_ptr<files::ByteSink> OpenStream(const std::string& path,
                                                        std::string& error) = 0;
};

class DiskFileAccess : public FileAccess {
public:
    std::optional<std::string> Read(const std::string& path, size_t limit,
                                    files::ReadError& error) override;
    bool Exists(const std::string& path) override;
    bool Write(const std::string& path, std::string_view bytes, std::string& error) override;
    bool WriteTogether(const Outputs& outputs, std::string& error) override;
    std::unique_ptr<files::ByteSink> OpenStream(const std::string& path,
                                                std::string& error) override;
};

// Files in memory: reads see what was put or written, writes stay here.
class MemoryFileAccess : public FileAccess {
public:
    void Put(const std::string& path, std::string bytes) { files_[path] = std::move(bytes); }
    const std::map<std::string, std::string>& Files() const { return files_; }

    std::optional<std::string> Read(const std::string& path, size_t limit,
                                    files::ReadError& error) override;
    bool Exists(const std::string& path) override { return files_.count(path) != 0; }
    bool Write(const std::string& path, std::string_view bytes, std::string& error) override;
    bool WriteTogether(const Outputs& outputs, std::string& error) override;
    std::unique_ptr<files::ByteSink> OpenStream(const std::string& path,
                                                std::string& error) override;

private:
    std::map<std::string, std::string> files_;
};

}  // namespace zorhost
