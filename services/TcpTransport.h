// The link on a TCP port: one client at a time; a second one is accepted and
// closed at once, and when the client leaves the port takes the next.
#pragma once

#include <QHostAddress>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

#include "LinkTransport.h"

namespace services {

class TcpTransport : public LinkTransport {
    Q_OBJECT

public:
    TcpTransport(QHostAddress address, quint16 port, QObject* parent = nullptr);
    ~TcpTransport() override;

    bool Open(QString& error) override;
    QString Where() const override;
    bool ClientConnected() const override { return client_ != nullptr; }
    QByteArray Read(qint64 max) override;
    void Write(const QByteArray& bytes) override;
    qint64 Unwritten() const override;
    void SetReading(bool on) override;

private:
    void Accept();
    void Left();

    QHostAddress address_;
    quint16 port_;
    QTcpServer server_;
    QPointer<QTcpSocket> client_;
    bool reading_ = true;
};

}  // namespace services
