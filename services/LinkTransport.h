// One way bytes reach the link server and its replies leave: a TCP socket or
// a pseudo-terminal. A transport only moves bytes; the server decides what
// they mean and when to read more.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

namespace services {

class LinkTransport : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    // Starts listening (TCP) or opens the device (pseudo-terminal); false
    // with `error` saying why, naming what could not be done.
    virtual bool Open(QString& error) = 0;
    // What a client connects to: "/dev/pts/7", "127.0.0.1:5555".
    virtual QString Where() const = 0;
    virtual bool ClientConnected() const = 0;

    // Up to `max` bytes that have arrived (none when nothing is there).
    virtual QByteArray Read(qint64 max) = 0;
    // Queues bytes for the client; they leave as it takes them.
    virtual void Write(const QByteArray& bytes) = 0;
    // Bytes queued and not yet taken by the client.
    virtual qint64 Unwritten() const = 0;
    // Stops or resumes watching for input: while the client does not take
    // its replies, nothing more is read (the sender is held back instead).
    virtual void SetReading(bool on) = 0;

signals:
    void Readable();
    void Drained();  // queued bytes left, room for more replies
    void ClientArrived();
    void ClientLeft();
    void Note(const QString& line);  // a line for the log
};

}  // namespace services
