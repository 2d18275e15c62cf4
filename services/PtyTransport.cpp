#include "PtyTransport.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace services {
namespace {

constexpr qsizetype kWriteBatch = 4096;

QString SystemError(const std::string& what) {
    return QString::fromStdString(what + ": " + std::strerror(errno));
}

// Raw mode on the device itself: the terminal's settings belong to the
// slave side, and a host program that sets none still gets plain bytes.
bool MakeRaw(const std::string& device) {
    const int slave = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave < 0) return false;
    termios settings{};
    bool ok = ::tcgetattr(slave, &settings) == 0;
    if (ok) {
        ::cfmakeraw(&settings);
        ok = ::tcsetattr(slave, TCSANOW, &settings) == 0;
    }
    ::close(slave);
    return ok;
}

}  // namespace

PtyTransport::PtyTransport(std::string linkPath, QObject* parent)
    : LinkTransport(parent), linkPath_(std::move(linkPath)) {
    clientWatch_.setInterval(100);
    connect(&clientWatch_, &QTimer::timeout, this, &PtyTransport::CheckForClient);
}

PtyTransport::~PtyTransport() {
    readWatch_.reset();
    writeWatch_.reset();
    if (linkMade_) {
        // Only our own link is removed: someone may have put another there since.
        char target[PATH_MAX] = {};
        const ssize_t length = ::readlink(linkPath_.c_str(), target, sizeof target - 1);
        if (length > 0 && device_ == std::string(target, static_cast<size_t>(length)))
            ::unlink(linkPath_.c_str());
    }
    if (master_ >= 0) ::close(master_);
}

bool PtyTransport::Open(QString& error) {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
        error = SystemError("cannot open a pseudo-terminal");
        return false;
    }
    char name[PATH_MAX] = {};
    if (::ptsname_r(master_, name, sizeof name) != 0) {
        error = SystemError("cannot name the pseudo-terminal");
        return false;
    }
    device_ = name;
    if (!MakeRaw(device_)) {
        error = SystemError("cannot make " + device_ + " a raw line");
        return false;
    }
    // Opening and closing the device to set it raw left it hung up until a
    // client opens it.
    hungUp_ = true;
    clientWatch_.start();
    if (!linkPath_.empty()) {
        struct stat info {};
        if (::lstat(linkPath_.c_str(), &info) == 0) {
            if (!S_ISLNK(info.st_mode)) {
                errno = EEXIST;
                error = SystemError("cannot make the link " + linkPath_ +
                                    " (it exists and is not a symbolic link)");
                return false;
            }
            ::unlink(linkPath_.c_str());  // a link left by an earlier run
        }
        if (::symlink(device_.c_str(), linkPath_.c_str()) != 0) {
            error = SystemError("cannot make the link " + linkPath_);
            return false;
        }
        linkMade_ = true;
    }
    readWatch_ = std::make_unique<QSocketNotifier>(master_, QSocketNotifier::Read);
    connect(readWatch_.get(), &QSocketNotifier::activated, this, [this] { emit Readable(); });
    writeWatch_ = std::make_unique<QSocketNotifier>(master_, QSocketNotifier::Write);
    writeWatch_->setEnabled(false);
    connect(writeWatch_.get(), &QSocketNotifier::activated, this, &PtyTransport::Flush);
    UpdateReadWatch();
    return true;
}

void PtyTransport::UpdateReadWatch() {
    if (readWatch_) readWatch_->setEnabled(reading_ && !hungUp_);
}

QByteArray PtyTransport::Read(qint64 max) {
    if (master_ < 0 || hungUp_ || max <= 0) return {};
    QByteArray bytes(static_cast<qsizetype>(max), '\0');
    const ssize_t got = ::read(master_, bytes.data(), static_cast<size_t>(max));
    if (got > 0) {
        if (!connected_) {
            connected_ = true;
            emit Note("link: client on " + Where());
            emit ClientArrived();
        }
        bytes.truncate(got);
        return bytes;
    }
    // EIO: the last program that had the device open closed it.
    if (got == 0 || (errno != EAGAIN && errno != EINTR)) HungUp();
    return {};
}

void PtyTransport::Write(const QByteArray& bytes) {
    if (master_ < 0 || hungUp_) return;
    pending_ += bytes;
    // Replies leave in batches: when the event loop next runs (after the
    // bytes read at once, or inside a DELAY wait), or once a few kB wait.
    if (pending_.size() >= kWriteBatch)
        Flush();
    else
        writeWatch_->setEnabled(true);
}

void PtyTransport::Flush() {
    while (!pending_.isEmpty()) {
        const ssize_t put = ::write(master_, pending_.constData(), pending_.size());
        if (put > 0) {
            pending_.remove(0, put);
            continue;
        }
        if (put < 0 && errno == EINTR) continue;
        if (put < 0 && errno == EAGAIN)
            break;         // the client reads slowly: wait until it can take more
        pending_.clear();  // nobody is there to take them
        break;
    }
    // Drained is news only after a wait for the client to take its bytes.
    const bool wasWaiting = writeWatch_ && writeWatch_->isEnabled();
    if (writeWatch_) writeWatch_->setEnabled(!pending_.isEmpty());
    if (wasWaiting && pending_.isEmpty()) emit Drained();
}

void PtyTransport::SetReading(bool on) {
    reading_ = on;
    UpdateReadWatch();
}

void PtyTransport::HungUp() {
    hungUp_ = true;
    pending_.clear();
    if (writeWatch_) writeWatch_->setEnabled(false);
    UpdateReadWatch();
    clientWatch_.start();
    if (connected_) {
        connected_ = false;
        emit Note("link: client left " + Where());
        emit ClientLeft();
    }
}

void PtyTransport::CheckForClient() {
    pollfd watch{master_, POLLIN, 0};
    if (::poll(&watch, 1, 0) < 0 || (watch.revents & POLLHUP) != 0) return;
    hungUp_ = false;
    reading_ = true;  // whatever held the last client back does not hold this one
    clientWatch_.stop();
    UpdateReadWatch();
    if (watch.revents & POLLIN) emit Readable();
}

}  // namespace services
