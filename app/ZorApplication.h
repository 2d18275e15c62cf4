// The application object: the title every box carries, and the standard
// exception box. An exception that escapes an event handler is shown to the
// user and the program goes on with the next event.
#pragma once

#include <QApplication>

namespace zorsim {

inline constexpr const char* kApplicationTitle = "ZOR Simulator";

class ZorApplication : public QApplication {
public:
    ZorApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

// Shows `message` in an error box captioned with the application's title.
void ShowApplicationError(const QString& message);

}  // namespace zorsim
