#include "Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>

namespace files {
namespace {

constexpr size_t kReadChunk = 64 * 1024;

std::string Reason(int code) {
    return std::strerror(code);
}

// write() until every byte is out; false with errno set otherwise.
bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) return false;
        if (written == 0) {
            errno = EIO;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

// Reads `fd` to its end, or until more than `limit` bytes came.
bool ReadAll(int fd, size_t limit, std::string& bytes, ReadError& error) {
    for (;;) {
        const size_t want = std::min(kReadChunk, limit + 1 - bytes.size());
        const size_t old = bytes.size();
        bytes.resize(old + want);
        const ssize_t got = ::read(fd, bytes.data() + old, want);
        if (got < 0 && errno == EINTR) {
            bytes.resize(old);
            continue;
        }
        if (got < 0) {
            error = {ReadError::Kind::kCannotRead, Reason(errno), 0};
            return false;
        }
        bytes.resize(old + static_cast<size_t>(got));
        if (got == 0) return true;
        if (bytes.size() > limit) {
            error = {ReadError::Kind::kTooLarge, "", limit};
            return false;
        }
    }
}

mode_t CurrentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

std::string CannotWrite(const std::string& path, int code) {
    return "cannot write " + path + ": " + Reason(code);
}

}  // namespace

std::string ReadError::Message(const std::string& shownName) const {
    if (kind == Kind::kTooLarge)
        return shownName + " is larger than " + std::to_string(limit) + " bytes";
    return "cannot read " + shownName + ": " + reason;
}

std::optional<std::string> ReadFile(const std::string& path, size_t limit, ReadError& error) {
    std::string bytes;
    if (path == kStandardStream) {
        if (!ReadAll(STDIN_FILENO, limit, bytes, error)) return std::nullopt;
        return bytes;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        error = {ReadError::Kind::kCannotRead, Reason(errno), 0};
        return std::nullopt;
    }
    struct stat info {};
    bool ok = true;
    if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        error = {ReadError::Kind::kCannotRead, Reason(EISDIR), 0};
        ok = false;
    } else {
        // A regular file says its size: one allocation, and a file that is
        // plainly too large is refused before a byte is read.
        if (S_ISREG(info.st_mode) && static_cast<size_t>(info.st_size) > limit) {
            error = {ReadError::Kind::kTooLarge, "", limit};
            ok = false;
        } else {
            if (S_ISREG(info.st_mode)) bytes.reserve(static_cast<size_t>(info.st_size));
            ok = ReadAll(fd, limit, bytes, error);
        }
    }
    ::close(fd);
    if (!ok) return std::nullopt;
    return bytes;
}

void OutputFiles::Add(std::string path, std::string bytes) {
    outputs_.push_back({std::move(path), std::move(bytes)});
}

namespace {

// One output on its way: where it goes and how.
struct Pending {
    enum class How { kStandardOutput, kIntoSpecialFile, kReplaceRegularFile };
    How how = How::kReplaceRegularFile;
    const std::string* path = nullptr;
    const std::string* bytes = nullptr;
    std::string target;     // the file renamed over: a symbolic link's final target
    std::string temporary;  // written beside the target, renamed over it at the end
};

// Decides how `pending` is written; false with `error` when it cannot be.
bool Classify(Pending& pending, std::string& error) {
    const std::string& path = *pending.path;
    if (path == kStandardStream) {
        pending.how = Pending::How::kStandardOutput;
        return true;
    }
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) {
            error = CannotWrite(path, EISDIR);
            return false;
        }
        if (!S_ISREG(info.st_mode)) {
            pending.how = Pending::How::kIntoSpecialFile;
            return true;
        }
        std::error_code code;
        const std::filesystem::path target = std::filesystem::canonical(path, code);
        pending.target = code ? path : target.string();
    } else if (errno == ENOENT) {
        pending.target = path;
    } else {
        error = CannotWrite(path, errno);
        return false;
    }
    pending.how = Pending::How::kReplaceRegularFile;
    return true;
}

// A new temporary file in the target's folder, with the mode (and, as root,
// the owner) the replaced file had; -1 with errno set when none can be made.
int OpenTemporary(const std::string& targetPath, mode_t umaskBits, std::string& name) {
    const std::filesystem::path target(targetPath);
    const std::filesystem::path folder =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    name = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(name.data());
    if (fd < 0) return -1;
    struct stat old {};
    if (::stat(targetPath.c_str(), &old) == 0) {
        ::fchmod(fd, old.st_mode & 07777);
        if (::geteuid() == 0 && ::fchown(fd, old.st_uid, old.st_gid) != 0) {
            // Keeping the owner is a courtesy; the bytes are what matter.
        }
    } else {
        ::fchmod(fd, 0666 & ~umaskBits);
    }
    return fd;
}

// Writes the bytes into a new temporary file in the target's folder.
bool WriteTemporary(Pending& pending, mode_t umaskBits, std::string& error) {
    std::string name;
    const int fd = OpenTemporary(pending.target, umaskBits, name);
    if (fd < 0) {
        error = CannotWrite(*pending.path, errno);
        return false;
    }
    pending.temporary = name;
    const bool ok = WriteAll(fd, *pending.bytes) && ::fsync(fd) == 0;
    const int code = errno;
    if (::close(fd) != 0 && ok) {
        error = CannotWrite(*pending.path, errno);
        return false;
    }
    if (!ok) error = CannotWrite(*pending.path, code);
    return ok;
}

bool WriteIntoSpecialFile(const Pending& pending, std::string& error) {
    const int fd = ::open(pending.path->c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        error = CannotWrite(*pending.path, errno);
        return false;
    }
    const bool ok = WriteAll(fd, *pending.bytes);
    const int code = errno;
    ::close(fd);
    if (!ok) error = CannotWrite(*pending.path, code);
    return ok;
}

bool WriteStandardOutput(const Pending& pending, std::string& error) {
    // Whatever the program already printed comes first.
    std::cout.flush();
    std::fflush(stdout);
    if (WriteAll(STDOUT_FILENO, *pending.bytes)) return true;
    error = "cannot write to standard output: " + Reason(errno);
    return false;
}

void RemoveTemporaries(const std::vector<Pending>& pending) {
    for (const Pending& p : pending)
        if (!p.temporary.empty()) ::unlink(p.temporary.c_str());
}

}  // namespace

bool OutputFiles::Commit(std::string& error) {
    std::vector<Pending> pending(outputs_.size());
    for (size_t i = 0; i < outputs_.size(); ++i) {
        pending[i].path = &outputs_[i].path;
        pending[i].bytes = &outputs_[i].bytes;
        if (!Classify(pending[i], error)) return false;
    }
    const mode_t umaskBits = CurrentUmask();
    // Every regular file is made ready first, so that a failure leaves none.
    for (Pending& p : pending) {
        if (p.how != Pending::How::kReplaceRegularFile) continue;
        if (!WriteTemporary(p, umaskBits, error)) {
            RemoveTemporaries(pending);
            return false;
        }
    }
    // Streams cannot be taken back: they are written once everything else is ready.
    for (const Pending& p : pending) {
        bool ok = true;
        if (p.how == Pending::How::kIntoSpecialFile) ok = WriteIntoSpecialFile(p, error);
        if (p.how == Pending::How::kStandardOutput) ok = WriteStandardOutput(p, error);
        if (!ok) {
            RemoveTemporaries(pending);
            return false;
        }
    }
    for (Pending& p : pending) {
        if (p.how != Pending::How::kReplaceRegularFile) continue;
        if (::rename(p.temporary.c_str(), p.target.c_str()) != 0) {
            error = CannotWrite(*p.path, errno);
            RemoveTemporaries(pending);
            return false;
        }
        p.temporary.clear();
    }
    return true;
}

bool WriteFile(const std::string& path, std::string_view bytes, std::string& error) {
    OutputFiles set;
    set.Add(path, std::string(bytes));
    return set.Commit(error);
}

bool StreamedFile::Open(const std::string& path, std::string& error) {
    Abandon();
    path_ = path;
    failure_ = 0;
    Pending pending;
    pending.path = &path_;
    if (!Classify(pending, error)) return false;
    switch (pending.how) {
        case Pending::How::kStandardOutput:
            std::cout.flush();
            std::fflush(stdout);
            fd_ = STDOUT_FILENO;
            return true;
        case Pending::How::kIntoSpecialFile:
            fd_ = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
            break;
        case Pending::How::kReplaceRegularFile:
            target_ = pending.target;
            fd_ = OpenTemporary(target_, CurrentUmask(), temporary_);
            if (fd_ < 0) temporary_.clear();
            break;
    }
    if (fd_ >= 0) return true;
    error = CannotWrite(path, errno);
    return false;
}

bool StreamedFile::Write(std::string_view bytes) {
    if (fd_ < 0 && failure_ == 0) failure_ = EBADF;
    if (failure_ != 0) return false;
    if (!WriteAll(fd_, bytes)) failure_ = errno;
    return failure_ == 0;
}

bool StreamedFile::Commit(std::string& error) {
    if (fd_ < 0) {
        error = CannotWrite(path_, failure_ != 0 ? failure_ : EBADF);
        return false;
    }
    if (failure_ == 0 && !temporary_.empty() && ::fsync(fd_) != 0) failure_ = errno;
    if (fd_ != STDOUT_FILENO && ::close(fd_) != 0 && failure_ == 0) failure_ = errno;
    fd_ = -1;
    if (failure_ == 0 && !temporary_.empty() && ::rename(temporary_.c_str(), target_.c_str()) != 0)
        failure_ = errno;
    if (failure_ != 0) {
        error = CannotWrite(path_, failure_);
        Abandon();
        return false;
    }
    temporary_.clear();
    return true;
}

void StreamedFile::Close() {
    if (fd_ >= 0 && fd_ != STDOUT_FILENO) ::close(fd_);
    fd_ = -1;
}

void StreamedFile::Abandon() {
    Close();
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
    temporary_.clear();
}

}  // namespace files
