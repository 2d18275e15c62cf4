// The user's files, read and written without surprises. A read never takes
// more than its caller can use, so an endless stream (/dev/zero, a FIFO that
// never closes) ends with a clear error instead of filling memory. A write
// replaces a regular file whole or not at all, writes into a device or a FIFO
// instead of replacing it, and "-" is standard input or standard output.
//
// Plain C++ over POSIX calls, so that every tool can use it, with or without Qt.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace files {

// The name that stands for standard input (reading) or standard output (writing).
inline constexpr std::string_view kStandardStream = "-";

struct ReadError {
    enum class Kind { kNone, kCannotRead, kTooLarge };
    Kind kind = Kind::kNone;
    std::string reason;  // the system's words, for kCannotRead ("No such file or directory")
    size_t limit = 0;    // for kTooLarge

    // "cannot read NAME: REASON", or "NAME is larger than LIMIT bytes".
    std::string Message(const std::string& shownName) const;
};

// The whole of `path` ("-": standard input), at most `limit` bytes.
std::optional<std::string> ReadFile(const std::string& path, size_t limit, ReadError& error);

// Files written together: all of them or none. Nothing touches the disk until
// Commit. A regular file (or a new name) is written into a temporary file
// beside it and renamed over it only when every file of the set is ready; a
// symbolic link keeps pointing where it did and its target is replaced. A
// character device, FIFO or socket is opened and written into, never
// replaced. "-" is standard output.
class OutputFiles {
public:
    void Add(std::string path, std::string bytes);

    // True when every file was written; otherwise `error` names the file and
    // the system's reason ("cannot write out/x.lst: No such file or directory")
    // and no regular file of the set was created or changed.
    [[nodiscard]] bool Commit(std::string& error);

private:
    struct Output {
        std::string path;
        std::string bytes;
    };
    std::vector<Output> outputs_;
};

// One file, as OutputFiles writes it.
[[nodiscard]] bool WriteFile(const std::string& path, std::string_view bytes, std::string& error);

}  // namespace files
