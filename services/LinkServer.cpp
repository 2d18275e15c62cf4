#include "LinkServer.h"

#include <QHostAddress>
#include <QLocale>
#include <csignal>

#include "PtyTransport.h"
#include "TcpTransport.h"

namespace services {
namespace {

// Bytes read from the client at once.
constexpr qint64 kReadChunk = 4096;
// Replies waiting for the client past which nothing more is read: a client
// that floods the link without reading is held back by its own transport
// instead of growing our buffers.
constexpr qint64 kMaxBacklog = 64 * 1024;
// Bytes arriving during a DELAY wait are served inside the wait; a command
// among them that waits too nests one wait deeper. Past this depth the bytes
// wait for the outer commands to end, so that the call stack stays bounded.
constexpr int kMaxNestedWaits = 8;

}  // namespace

LinkServer::LinkServer(panel::HostPort& port, QObject* parent) : QObject(parent), port_(port) {}

LinkServer::~LinkServer() {
    if (transport_) transport_->disconnect(this);
}

bool LinkServer::Open(const LinkEndpoint& endpoint, QString& error) {
    Close();
    // A client that vanishes while its replies are written must not end the
    // program with SIGPIPE; the write fails and the client is gone instead.
    std::signal(SIGPIPE, SIG_IGN);
    std::unique_ptr<LinkTransport> transport;
    if (endpoint.kind == LinkEndpoint::Kind::kPty) {
        transport = std::make_unique<PtyTransport>(endpoint.linkPath);
    } else {
        QHostAddress address;
        if (!address.setAddress(QString::fromStdString(endpoint.address))) {
            error = "cannot listen on " + QString::fromStdString(endpoint.address) +
                    ": not an IP address (expected e.g. 127.0.0.1 or ::1)";
            return false;
        }
        transport = std::make_unique<TcpTransport>(address, endpoint.port);
    }
    if (!transport->Open(error)) return false;
    transport_ = std::move(transport);
    connect(transport_.get(), &LinkTransport::Readable, this, &LinkServer::Pump);
    connect(transport_.get(), &LinkTransport::Drained, this, &LinkServer::Pump);
    connect(transport_.get(), &LinkTransport::Note, this, &LinkServer::Note);
    connect(transport_.get(), &LinkTransport::ClientArrived, this, &LinkServer::StateChanged);
    connect(transport_.get(), &LinkTransport::ClientLeft, this, [this] {
        // Replies for a client that left have nobody to go to; its bytes were served.
        DropReplies();
        emit StateChanged();
        emit ClientLeft();
        // Said only when it is true: a server that serves one client closes
        // in answer to ClientLeft.
        if (transport_) emit Note("link: waiting for the next client on " + Where());
    });
    emit StateChanged();
    return true;
}

void LinkServer::Close() {
    if (!transport_) return;
    transport_->disconnect(this);
    // The transport may be deep in a call that waits; it goes once that ends.
    transport_.release()->deleteLater();
    input_.clear();
    DropReplies();
    emit StateChanged();
}

void LinkServer::DropReplies() {
    firstSlot_ += replies_.size();
    replies_.clear();
}

QString LinkServer::Where() const {
    return transport_ ? transport_->Where() : QString();
}

bool LinkServer::ClientConnected() const {
    return transport_ && transport_->ClientConnected();
}

QString LinkServer::StatusLine() const {
    if (!transport_) return "Link: closed";
    return "Link: " + Where() + (ClientConnected() ? ", client connected, " : ", no client, ") +
           QLocale(QLocale::English).toString(static_cast<qulonglong>(served_)) +
           (served_ == 1 ? " byte" : " bytes");
}

qint64 LinkServer::Backlog() const {
    return transport_->Unwritten() + static_cast<qint64>(replies_.size());
}

void LinkServer::SetServing(bool serving) {
    serving_ = serving;
    if (serving_) Pump();
}

void LinkServer::Pump() {
    if (!transport_ || !serving_ || depth_ >= kMaxNestedWaits) return;
    ++depth_;
    LinkTransport* transport = transport_.get();
    for (;;) {
        if (input_.empty()) {
            const bool room = !transport->ClientConnected() || Backlog() < kMaxBacklog;
            transport->SetReading(room);
            if (!room) break;  // resumed when the client has taken its replies
            const QByteArray more = transport->Read(kReadChunk);
            if (more.isEmpty()) break;
            input_.insert(input_.end(), more.begin(), more.end());
        }
        const uint8_t byte = input_.front();
        input_.pop_front();
        const uint64_t slot = firstSlot_ + replies_.size();
        replies_.emplace_back();
        port_.Send(byte);  // may wait in DELAY and serve later bytes meanwhile
        ++served_;
        if (transport_.get() != transport) break;  // closed during the wait
        // A client that left during the wait took its slots with it.
        if (slot >= firstSlot_) replies_[slot - firstSlot_] = port_.LastReply();
        Deliver();
    }
    --depth_;
    if (depth_ == 0) emit Served();
}

void LinkServer::Deliver() {
    QByteArray out;
    while (!replies_.empty() && replies_.front().has_value()) {
        out.append(static_cast<char>(*replies_.front()));
        replies_.pop_front();
        ++firstSlot_;
    }
    if (!out.isEmpty() && transport_->ClientConnected()) transport_->Write(out);
}

}  // namespace services
