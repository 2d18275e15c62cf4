// A window destroyed from outside — by a window manager that crashed, or by
// a tool that destroys windows — never gets a close event: the display only
// reports that the window is gone. Without its window the program would sleep
// on for ever, so the watch reports it and the program ends as if closed.
#pragma once

#include <QAbstractNativeEventFilter>
#include <QWidget>
#include <functional>

namespace zorsim {

class WindowGoneWatch : public QAbstractNativeEventFilter {
public:
    WindowGoneWatch(const QWidget& window, std::function<void()> gone)
        : window_(window), gone_(std::move(gone)) {}

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    const QWidget& window_;
    std::function<void()> gone_;
};

}  // namespace zorsim
