#include "HostRecording.h"

#include <QAction>
#include <QMenu>
#include <filesystem>

#include "Desktop.h"
#include "Lcdm.h"
#include "Main.h"
#include "ModuleHooks.h"
#include "ZorApplication.h"
#include "files/Files.h"
#include "panel/HostPort.h"

namespace zorsim {
HostRecording::HostRecording(TForm1& form, panel::HostPort& port)
    : QObject(&form), form_(form), port_(port) {
    RecordHostBytes = new QAction("Record Host Bytes...", &form);
    RecordHostBytes->setObjectName("RecordHostBytes");
    StopRecording = new QAction("Stop Recording", &form);
    StopRecording->setObjectName("StopRecording");
    StopRecording->setEnabled(false);
    // After "Save LCD Image", before the separator and "Exit".
    form.Files1->insertAction(form.N1, RecordHostBytes);
    form.Files1->insertAction(form.N1, StopRecording);
    connect(RecordHostBytes, &QAction::triggered, this, &HostRecording::RecordClick);
    connect(StopRecording, &QAction::triggered, this, &HostRecording::StopClick);
    observer_ = port.AddObserver([this](const panel::PortEvent& event) { journal_.Event(event); });
    // The journal's comments say which scripts ran and how they ended.
    runEnds_ = AddRunEndListener([this](uint8_t number, uint8_t parameter) {
        journal_.RunEnded(number, parameter, lcdm::Engine.StatusRegister);
    });
}

HostRecording::~HostRecording() {
    RemoveRunEndListener(runEnds_);
    port_.RemoveObserver(observer_);
}

void HostRecording::Note(const QString& text) {
    journal_.Note(text.toStdString());
}

void HostRecording::Start(const QString& fileName) {
    fileName_ = fileName;
    journal_.Note(
        "---- the recording began here; what comes before brings the module to where "
        "it was then ----");
    RecordHostBytes->setEnabled(false);
    StopRecording->setEnabled(true);
}

bool HostRecording::Stop(QString& error) {
    if (!Recording()) return true;
    const std::string name = fileName_.toStdString();
    std::filesystem::path golden(name);
    golden.replace_extension(".pbm");
    files::OutputFiles outputs;
    outputs.Add(name, journal_.Scenario(golden.filename().string()));
    outputs.Add(golden.string(), services::Recorder::Golden());
    std::string why;
    const bool written = outputs.Commit(why);
    if (!written) error = QString::fromStdString(why);
    fileName_.clear();
    RecordHostBytes->setEnabled(true);
    StopRecording->setEnabled(false);
    return written;
}

void HostRecording::RecordClick() {
    FileDialogSettings dialog;
    dialog.title = "Record Host Bytes";
    dialog.filter = "zorhost scenario (*.zh)";
    dialog.fileName = "recording.zh";
    dialog.defaultSuffix = "zh";
    const QString fileName = CurrentDesktop().SaveFile(&form_, dialog);
    if (!fileName.isEmpty()) Start(fileName);
}

void HostRecording::StopClick() {
    QString error;
    if (!Stop(error)) {
        ShowErrorSentence(&form_, error);
    }
}

}  // namespace zorsim
