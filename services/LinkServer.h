// The module's byte link served to an outside host program. Each byte that
// arrives goes through the host port (one HostByteEntry); its reply byte goes
// back, one reply per byte, in the order the bytes came. A byte whose command
// waits in DELAY is answered when that command ends; bytes arriving meanwhile
// are carried out inside the wait, as the window's clicks are, and their
// replies follow in order. The link code is not sent: a wire has none.
#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>

#include "LinkEndpoint.h"
#include "LinkTransport.h"
#include "panel/HostPort.h"

namespace services {

class LinkServer : public QObject {
    Q_OBJECT

public:
    explicit LinkServer(panel::HostPort& port, QObject* parent = nullptr);
    ~LinkServer() override;

    // Starts serving `endpoint`; false with `error` when it cannot be opened.
    bool Open(const LinkEndpoint& endpoint, QString& error);
    void Close();
    bool IsOpen() const { return transport_ != nullptr; }
    // While not serving, clients may connect but their bytes wait (the
    // window's own start-up must end first); serving again takes them.
    void SetServing(bool serving);

    // "/dev/pts/7", "127.0.0.1:5555".
    QString Where() const;
    bool ClientConnected() const;
    uint64_t BytesServed() const { return served_; }
    // The state in a line: "Link: /dev/pts/7, client connected, 1,234 bytes".
    QString StatusLine() const;

signals:
    // After each batch of bytes served: the picture may have changed.
    void Served();
    void StateChanged();
    void ClientLeft();
    void Note(const QString& line);

private:
    void Pump();
    void Deliver();
    void DropReplies();
    qint64 Backlog() const;

    panel::HostPort& port_;
    std::unique_ptr<LinkTransport> transport_;
    std::deque<uint8_t> input_;
    // One entry per byte taken, in arrival order; a reply is filled in when
    // its byte's command has ended, and leaves once all before it have.
    std::deque<std::optional<uint8_t>> replies_;
    uint64_t firstSlot_ = 0;  // the number of the byte replies_.front() answers
    int depth_ = 0;
    bool serving_ = true;
    uint64_t served_ = 0;
};

}  // namespace services
