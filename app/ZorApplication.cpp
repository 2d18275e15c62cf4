#include "ZorApplication.h"

#include <exception>

#include "Desktop.h"

namespace zorsim {

ZorApplication::ZorApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName("zorsim");
    setApplicationDisplayName(kApplicationTitle);
    setApplicationVersion(ZOR_VERSION);
}

bool ZorApplication::notify(QObject* receiver, QEvent* event) {
    // The handler that threw has stopped where it was; the event counts as not
    // handled, and nothing else is undone.
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowApplicationError(QString::fromUtf8(error.what()));
    } catch (...) {
        ShowApplicationError("An unexpected error occurred.");
    }
    return false;
}

void ShowApplicationError(const QString& message) {
    CurrentDesktop().ShowError(QApplication::activeWindow(), kApplicationTitle, message);
}

}  // namespace zorsim
