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

// Where a file written piece by piece goes: a StreamedFile, or memory where
// no real file may be touched. Destroyed without Commit, it leaves nothing.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    // False once any write failed; Commit then reports the first failure.
    virtual bool Write(std::string_view bytes) = 0;
    // Puts the file in place; false with `error` naming the file when any
    // write failed or it cannot be put in place, and then nothing changed.
    [[nodiscard]] virtual bool Commit(std::string& error) = 0;
};

// One file written piece by piece while its bytes are being made, for outputs
// too long to hold in memory (a GIF recording), by the rules of OutputFiles:
// a regular file (or a new name) is written into a temporary file beside it
// from Open on and renamed over it by Commit, so the old file stays whole
// until then and Abandon (or the destructor) leaves no trace; a device or
// FIFO is opened by Open and written into; "-" is standard output.
class StreamedFile : public ByteSink {
public:
    StreamedFile() = default;
    StreamedFile(const StreamedFile&) = delete;
    StreamedFile& operator=(const StreamedFile&) = delete;
    ~StreamedFile() override { Abandon(); }

    // False with `error` naming the file when it cannot be written at all
    // (no such folder, no permission, a directory).
    [[nodiscard]] bool Open(const std::string& path, std::string& error);
    bool Write(std::string_view bytes) override;
    [[nodiscard]] bool Commit(std::string& error) override;
    // Removes the temporary file; a device keeps what it was sent.
    void Abandon();
    bool IsOpen() const { return fd_ >= 0; }

private:
    void Close();

    std::string path_;       // as given
    std::string target_;     // the file renamed over: a symbolic link's final target
    std::string temporary_;  // empty for a device, FIFO or standard output
    int fd_ = -1;
    int failure_ = 0;  // errno of the first failed write
};

}  // namespace files
