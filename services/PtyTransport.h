// The link on a pseudo-terminal: the simulator holds the master side, the
// host program opens the device (/dev/pts/N) as it would a serial port. The
// line is raw: no echo, no line editing, every byte as it is.
#pragma once

#include <QByteArray>
#include <QSocketNotifier>
#include <QTimer>
#include <memory>
#include <string>

#include "LinkTransport.h"

namespace services {

class PtyTransport : public LinkTransport {
    Q_OBJECT

public:
    // With a `linkPath`, a symbolic link there points to the device while the
    // link is open, so that a host program can use a fixed name.
    explicit PtyTransport(std::string linkPath, QObject* parent = nullptr);
    ~PtyTransport() override;

    bool Open(QString& error) override;
    QString Where() const override { return QString::fromStdString(device_); }
    bool ClientConnected() const override { return connected_; }
    QByteArray Read(qint64 max) override;
    void Write(const QByteArray& bytes) override;
    qint64 Unwritten() const override { return pending_.size(); }
    void SetReading(bool on) override;

private:
    void Flush();
    void HungUp();
    void CheckForClient();
    void UpdateReadWatch();

    std::string linkPath_;
    std::string device_;
    int master_ = -1;
    bool linkMade_ = false;
    bool connected_ = false;
    bool hungUp_ = false;
    bool reading_ = true;
    QByteArray pending_;
    std::unique_ptr<QSocketNotifier> readWatch_;
    std::unique_ptr<QSocketNotifier> writeWatch_;
    // After a hang-up the device reports it on every poll; instead of being
    // woken by that for ever, look ten times a second for a new client.
    QTimer clientWatch_;
};

}  // namespace services
