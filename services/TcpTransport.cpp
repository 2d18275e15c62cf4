#include "TcpTransport.h"

namespace services {
namespace {

// Qt's own buffer for the client's bytes; past it the kernel's buffers fill
// and TCP holds the sender back.
constexpr qint64 kReadBufferBytes = 64 * 1024;

QString Peer(const QTcpSocket& socket) {
    return socket.peerAddress().toString() + ":" + QString::number(socket.peerPort());
}

}  // namespace

TcpTransport::TcpTransport(QHostAddress address, quint16 port, QObject* parent)
    : LinkTransport(parent), address_(std::move(address)), port_(port) {
    connect(&server_, &QTcpServer::newConnection, this, &TcpTransport::Accept);
}

TcpTransport::~TcpTransport() {
    // A socket going away says it disconnected; nobody may hear that now.
    if (client_) {
        client_->disconnect(this);
        delete client_.data();
    }
}

bool TcpTransport::Open(QString& error) {
    if (server_.listen(address_, port_)) return true;
    error = "cannot listen on " + address_.toString() + ":" + QString::number(port_) + ": " +
            server_.errorString();
    return false;
}

QString TcpTransport::Where() const {
    return server_.serverAddress().toString() + ":" + QString::number(server_.serverPort());
}

void TcpTransport::Accept() {
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
        if (client_) {
            // Two hosts would interleave half commands on one module.
            emit Note("link: refused a second client from " + Peer(*socket) + " (" +
                      Peer(*client_) + " is connected)");
            socket->abort();
            socket->deleteLater();
            continue;
        }
        client_ = socket;
        reading_ = true;  // whatever held the last client back does not hold this one
        socket->setReadBufferSize(kReadBufferBytes);
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        connect(socket, &QTcpSocket::readyRead, this, [this] {
            if (reading_) emit Readable();
        });
        connect(socket, &QTcpSocket::bytesWritten, this, [this] {
            if (client_ && client_->bytesToWrite() == 0) emit Drained();
        });
        connect(socket, &QTcpSocket::disconnected, this, &TcpTransport::Left);
        emit Note("link: client " + Peer(*socket) + " connected");
        emit ClientArrived();
    }
}

void TcpTransport::Left() {
    QTcpSocket* socket = client_;
    if (!socket) return;
    // What the client sent before it left still reaches the module, as the
    // bytes on a wire would; the replies have nobody to go to.
    if (socket->bytesAvailable() > 0) emit Readable();
    client_ = nullptr;
    socket->deleteLater();
    emit Note("link: client left");
    emit ClientLeft();
}

QByteArray TcpTransport::Read(qint64 max) {
    if (!client_) return {};
    return client_->read(max);
}

void TcpTransport::Write(const QByteArray& bytes) {
    if (client_) client_->write(bytes);
}

qint64 TcpTransport::Unwritten() const {
    return client_ ? client_->bytesToWrite() : 0;
}

void TcpTransport::SetReading(bool on) {
    // Bytes that came while reading was off stay in the socket until the
    // server reads again; the kernel holds back the sender meanwhile.
    reading_ = on;
}

}  // namespace services
