// The window's byte link to an outside host program: the Link menu (Listen on
// TCP port..., Open pseudo-terminal, Disconnect), the status line that shows
// the link's state, and the rule that the window's own host controls rest
// while a host program is connected, since two hosts would interleave half
// commands. The LCD picture follows what the host program draws.
#pragma once

#include <QObject>
#include <QTimer>

#include "services/LinkServer.h"

class QAction;
class QLabel;
class QMenu;

namespace zorsim {

class TForm1;

class LinkMenu : public QObject {
    Q_OBJECT

public:
    LinkMenu(TForm1& form, panel::HostPort& port);

    // Opens `endpoint`; its clients are served once the window's start-up has
    // shown page 0. False with `error` when it cannot be opened.
    bool Open(const services::LinkEndpoint& endpoint, QString& error);
    // The window's start-up has ended: clients may be served.
    void StartupEnded();

    services::LinkServer& Server() { return server_; }

    QMenu* Menu;
    QAction* ListenTcp;
    QAction* OpenPty;
    QAction* Disconnect;

private:
    void ListenTcpClick();
    void OpenPtyClick();
    void DisconnectClick();
    void OpenOrShow(const services::LinkEndpoint& endpoint);
    void StateChanged();

    TForm1& form_;
    services::LinkServer server_;
    QLabel* status_ = nullptr;
    bool statusShown_ = false;
    bool startupEnded_ = false;
    int lastPort_ = 5555;
    // The picture is redrawn after the bytes a host program sent, at most
    // sixty times a second however fast they come.
    QTimer render_;
};

}  // namespace zorsim
