#include "LinkMode.h"

#include <fcntl.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <csignal>
#include <iostream>

#include "Lcdm.h"
#include "RunReports.h"
#include "panel/Startup.h"
#include "services/LinkServer.h"

namespace zorhost {
namespace {

constexpr int kExitError = 2;

bool gEnding = false;
int gSignalPipe[2] = {-1, -1};

// SIGINT and SIGTERM only write a byte; the event loop then ends the run in
// order (the link's symbolic link removed, the transcript flushed).
void OnSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(gSignalPipe[1], &byte, 1);
}

// A DELAY wait in real time: sleep until the next event (the 100 ms timer
// guarantees one) and serve the link meanwhile. When the run is ending, the
// waiting script stops at once, as the window's does when it closes.
uint8_t WaitForEvents() {
    if (!gEnding) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    if (gEnding) {
        lcdm::Engine.DelayCounter = 0;
        lcdm::Engine.StatusRegister = lcdm::kStatusEnded;
    }
    return 0;
}

void End() {
    gEnding = true;
    QCoreApplication::quit();
}

}  // namespace

int ServeLink(Session& session, const LinkOptions& options) {
    services::LinkServer server(session.port);
    QObject::connect(&server, &services::LinkServer::Note, [&session](const QString& line) {
        session.transcript.Flush();
        std::cerr << line.toStdString() << std::endl;
    });
    QString error;
    if (!server.Open(options.endpoint, error)) {
        session.transcript.Flush();
        std::cerr << "zorhost: " << error.toStdString() << "\n";
        return kExitError;
    }
    // Announced on standard output so that a script starting the host program
    // can read where to connect.
    session.transcript.Flush();
    std::cout << "link: " << server.Where().toStdString() << std::endl;

    if (::pipe2(gSignalPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        std::cerr << "zorhost: cannot watch for signals\n";
        return kExitError;
    }
    QSocketNotifier signalWatch(gSignalPipe[0], QSocketNotifier::Read);
    QObject::connect(&signalWatch, &QSocketNotifier::activated, [] { End(); });
    struct sigaction action {};
    action.sa_handler = OnSignal;
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);

    // With --trace the bytes served show as they are carried out.
    QObject::connect(&server, &services::LinkServer::Served,
                     [&session] { session.transcript.Flush(); });
    if (options.once)
        QObject::connect(&server, &services::LinkServer::ClientLeft, [&server] {
            server.Close();
            End();
        });
    if (options.exitAfterSeconds)
        QTimer::singleShot(static_cast<int>(*options.exitAfterSeconds * 1000), [] { End(); });

    QTimer timer2;
    timer2.setInterval(100);
    QObject::connect(&timer2, &QTimer::timeout, [&session] { panel::Timer2Timer(session.port); });
    timer2.start();
    lcdm::SetRenderLcdAndPump(&WaitForEvents);
    InstallRunReports(session);

    QCoreApplication::exec();

    RemoveRunReports();
    lcdm::SetRenderLcdAndPump(nullptr);
    ::signal(SIGINT, SIG_DFL);
    ::signal(SIGTERM, SIG_DFL);
    ::close(gSignalPipe[0]);
    ::close(gSignalPipe[1]);
    session.transcript.Flush();
    return 0;
}

}  // namespace zorhost
