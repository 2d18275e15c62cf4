// The tag debugger's dock: the stepping buttons, break on an error status,
// the breakpoints, and while stopped everything the module holds for the
// tag about to run: its place and source line, the tags around it, both
// stacks, the 64 tag variables as bytes and words, the graphics cursor, the
// language and font, the status register. The LCD shows what the run has
// drawn so far.
#pragma once

#include "ToolDock.h"

class QLineEdit;
class QListWidget;
class QPlainTextEdit;

namespace zorsim {

class Workbench;

class DebuggerDock : public ToolDock {
    Q_OBJECT

public:
    DebuggerDock(Workbench& bench, QWidget* parent);
    void Refresh() override;

    QLineEdit* BreakpointEdit;
    QListWidget* BreakpointList;
    QPlainTextEdit* State;

private:
    void AddBreakpoint();
    void RemoveBreakpoint();
    QString StateText() const;

    Workbench& bench_;
};

}  // namespace zorsim
