// One of the window's developer views: a dock hidden until used, that shows
// some of the module's state and is brought up to date when it may have
// changed (after a click's bytes, the link's bytes, a stop of the debugger,
// the passes of a DELAY wait).
#pragma once

#include <QDockWidget>

namespace zorsim {

class ToolDock : public QDockWidget {
    Q_OBJECT

public:
    using QDockWidget::QDockWidget;

    // Shows the module's state as it is now. Called only while the dock is
    // visible, at most a few times a second.
    virtual void Refresh() = 0;
};

}  // namespace zorsim
