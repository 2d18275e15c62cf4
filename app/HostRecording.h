// File > Record Host Bytes... / Stop Recording: what the window sent the
// module, kept as a zorhost scenario that replays it, with a golden frame.
//
// The window keeps the journal from its creation on (a few lines per click),
// so that a recording begun at any moment replays from the same start: the
// file holds the window's start-up and everything before the recording
// began, then a line marking where it began, then what followed. Each group
// of bytes is labelled with the control that sent it.
#pragma once

#include <QObject>
#include <QString>
#include <memory>

#include "services/Recorder.h"

class QAction;

namespace panel {
class HostPort;
}

namespace zorsim {

class TForm1;

class HostRecording : public QObject {
    Q_OBJECT

public:
    HostRecording(TForm1& form, panel::HostPort& port);
    ~HostRecording() override;

    // Says what sent the bytes that follow ("Text Label: key 2 \"Hi\"").
    void Note(const QString& text);
    // Starts recording into `fileName` (the dialog's choice, or --record).
    void Start(const QString& fileName);
    // Writes the scenario and its golden; false with `error` when they could
    // not be written (nothing is left half-written).
    bool Stop(QString& error);
    bool Recording() const { return !fileName_.isEmpty(); }

    QAction* RecordHostBytes;
    QAction* StopRecording;

private:
    void RecordClick();
    void StopClick();

    TForm1& form_;
    panel::HostPort& port_;
    services::Recorder journal_{"the window"};
    int observer_ = 0;
    int runEnds_ = 0;
    QString fileName_;
};

}  // namespace zorsim
