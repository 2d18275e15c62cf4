// The decoded trace of every host command the module carries out — the
// window's own clicks and an outside host program's bytes alike — live, as
// zorhost --trace prints it; with Pause, Clear and Save.
#pragma once

#include "ToolDock.h"
#include "services/CommandTrace.h"

class QPlainTextEdit;
class QPushButton;

namespace zorsim {

class Workbench;

class LinkTraceDock : public ToolDock {
    Q_OBJECT

public:
    LinkTraceDock(Workbench& bench, QWidget* parent);
    ~LinkTraceDock() override;
    void Refresh() override {}

    QPlainTextEdit* Trace;
    QPushButton* PauseButton;
    QPushButton* ClearButton;
    QPushButton* SaveButton;

private:
    void Save();

    // The port outlives the window and its workbench; the dock may outlive
    // the workbench, which goes first as the window is taken apart.
    panel::HostPort& port_;
    services::CommandTrace commands_;
    int observer_ = 0;
    int runEnds_ = 0;
};

}  // namespace zorsim
