// Where the assembler reads its files from: the disk, or a set of files held
// in memory (the default image's sources built into the program, and tests).
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>

namespace zorasm {

// A source or picture file is text a person wrote: a few MB at the very most.
inline constexpr size_t kMaxSourceFileBytes = 4u << 20;

class SourceFiles {
public:
    virtual ~SourceFiles() = default;
    // The whole file, or nothing with `why` saying so, naming the file
    // ("cannot read x.zasm: No such file or directory", "x.zasm is larger
    // than 4194304 bytes").
    virtual std::optional<std::string> Read(const std::string& path, std::string& why) const = 0;
};

class DiskFiles : public SourceFiles {
public:
    std::optional<std::string> Read(const std::string& path, std::string& why) const override;
};

class MemoryFiles : public SourceFiles {
public:
    void Add(const std::string& path, std::string text) { files_[path] = std::move(text); }
    bool Has(const std::string& path) const { return files_.count(path) != 0; }
    std::optional<std::string> Read(const std::string& path, std::string& why) const override;

private:
    std::map<std::string, std::string> files_;
};

// The files of `first` where it has them, the others from `rest`: the
// default image's sources built into the program, with a user's on disk.
class OverlayFiles : public SourceFiles {
public:
    OverlayFiles(const MemoryFiles& first, const SourceFiles& rest) : first_(first), rest_(rest) {}
    std::optional<std::string> Read(const std::string& path, std::string& why) const override {
        return first_.Has(path) ? first_.Read(path, why) : rest_.Read(path, why);
    }

private:
    const MemoryFiles& first_;
    const SourceFiles& rest_;
};

// A file named inside `from`, relative to the folder that holds `from`.
std::string RelativeTo(const std::string& from, const std::string& name);

}  // namespace zorasm
