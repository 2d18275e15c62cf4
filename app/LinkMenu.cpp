#include "LinkMenu.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

#include "Desktop.h"
#include "Main.h"
#include "ZorApplication.h"

namespace zorsim {
namespace {

constexpr int kRenderIntervalMs = 1000 / 60;
const QString kHostControlsResting =
    "Rests while a host program is connected to the link: two hosts would interleave half "
    "commands";

}  // namespace

LinkMenu::LinkMenu(TForm1& form, panel::HostPort& port)
    : QObject(&form), form_(form), server_(port) {
    Menu = new QMenu("Link", &form);
    Menu->setObjectName("LinkMenu");
    form.MainMenu1->insertMenu(form.About1, Menu);
    ListenTcp = Menu->addAction("Listen on TCP port...");
    ListenTcp->setObjectName("ListenTcp");
    OpenPty = Menu->addAction("Open pseudo-terminal");
    OpenPty->setObjectName("OpenPty");
    Disconnect = Menu->addAction("Disconnect");
    Disconnect->setObjectName("Disconnect");
    Disconnect->setEnabled(false);
    connect(ListenTcp, &QAction::triggered, this, &LinkMenu::ListenTcpClick);
    connect(OpenPty, &QAction::triggered, this, &LinkMenu::OpenPtyClick);
    connect(Disconnect, &QAction::triggered, this, &LinkMenu::DisconnectClick);

    render_.setSingleShot(true);
    render_.setInterval(kRenderIntervalMs);
    connect(&render_, &QTimer::timeout, &form_, &TForm1::RenderLcd);
    connect(&server_, &services::LinkServer::Served, this, [this] {
        if (!render_.isActive()) render_.start();
    });
    connect(&server_, &services::LinkServer::StateChanged, this, &LinkMenu::StateChanged);
    connect(&server_, &services::LinkServer::Served, this, &LinkMenu::StateChanged);
    server_.SetServing(false);
}

bool LinkMenu::Open(const services::LinkEndpoint& endpoint, QString& error) {
    if (!server_.Open(endpoint, error)) return false;
    server_.SetServing(startupEnded_);
    return true;
}

void LinkMenu::StartupEnded() {
    startupEnded_ = true;
    server_.SetServing(true);
}

void LinkMenu::OpenOrShow(const services::LinkEndpoint& endpoint) {
    QString error;
    if (!Open(endpoint, error)) CurrentDesktop().ShowError(&form_, kApplicationTitle, error);
}

void LinkMenu::ListenTcpClick() {
    const std::optional<int> port =
        CurrentDesktop().AskNumber(&form_, "Listen on TCP port",
                                   "Port on 127.0.0.1 (0 picks a free one):", lastPort_, 0, 65535);
    if (!port) return;
    lastPort_ = *port;
    services::LinkEndpoint endpoint;
    endpoint.port = static_cast<uint16_t>(*port);
    OpenOrShow(endpoint);
}

void LinkMenu::OpenPtyClick() {
    services::LinkEndpoint endpoint;
    endpoint.kind = services::LinkEndpoint::Kind::kPty;
    OpenOrShow(endpoint);
}

void LinkMenu::DisconnectClick() {
    server_.Close();
}

void LinkMenu::StateChanged() {
    const bool open = server_.IsOpen();
    Disconnect->setEnabled(open);
    if (open && status_ == nullptr) {
        // The status line appears with the link, below the front panel,
        // which keeps its size: the window grows by the line's height.
        status_ = new QLabel(&form_);
        status_->setObjectName("LinkStatus");
        form_.statusBar()->addWidget(status_);
    }
    if (status_ != nullptr) {
        QStatusBar* bar = form_.statusBar();
        status_->setText(server_.StatusLine());
        if (open != statusShown_) {
            statusShown_ = open;
            const int height = bar->sizeHint().height();
            bar->setVisible(open);
            form_.resize(form_.width(), form_.height() + (open ? height : -height));
        }
    }
    form_.SetHostControlsResting(server_.ClientConnected(), kHostControlsResting);
}

}  // namespace zorsim
