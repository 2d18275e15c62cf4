#include "LinkTraceDock.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "Desktop.h"
#include "Lcdm.h"
#include "ModuleHooks.h"
#include "Workbench.h"
#include "ZorApplication.h"
#include "files/Files.h"
#include "panel/HostPort.h"

namespace zorsim {
namespace {

// Lines kept in the view; older ones scroll away, so a long session cannot
// fill memory.
constexpr int kMaxLines = 20000;

}  // namespace

LinkTraceDock::LinkTraceDock(Workbench& bench, QWidget* parent)
    : ToolDock("Link Trace", parent), port_(bench.Port()) {
    setObjectName("LinkTraceDock");
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    auto* buttons = new QHBoxLayout;
    PauseButton = new QPushButton("Pause", body);
    PauseButton->setCheckable(true);
    ClearButton = new QPushButton("Clear", body);
    SaveButton = new QPushButton("Save...", body);
    for (QPushButton* button : {PauseButton, ClearButton, SaveButton}) buttons->addWidget(button);
    buttons->addStretch();
    layout->addLayout(buttons);
    Trace = new QPlainTextEdit(body);
    Trace->setObjectName("LinkTrace");
    Trace->setReadOnly(true);
    Trace->setMaximumBlockCount(kMaxLines);
    Trace->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    layout->addWidget(Trace, 1);
    setWidget(body);
    connect(ClearButton, &QPushButton::clicked, Trace, &QPlainTextEdit::clear);
    connect(SaveButton, &QPushButton::clicked, this, &LinkTraceDock::Save);

    // The trace is decoded all the time (a command's line needs the state
    // before it); Pause only stops showing it.
    observer_ = port_.AddObserver([this](const panel::PortEvent& event) {
        for (const std::string& line : commands_.Lines(event))
            if (!PauseButton->isChecked()) Trace->appendPlainText(QString::fromStdString(line));
    });
    runEnds_ = AddRunEndListener([this](uint8_t number, uint8_t parameter) {
        commands_.RunEnded(number, parameter, lcdm::Engine.StatusRegister);
    });
}

LinkTraceDock::~LinkTraceDock() {
    RemoveRunEndListener(runEnds_);
    port_.RemoveObserver(observer_);
}

void LinkTraceDock::Save() {
    FileDialogSettings dialog;
    dialog.title = "Save Link Trace";
    dialog.filter = "Text (*.txt);;All files (*)";
    dialog.fileName = "trace.txt";
    dialog.defaultSuffix = "txt";
    const QString name = CurrentDesktop().SaveFile(this, dialog);
    if (name.isEmpty()) return;
    std::string error;
    if (!files::WriteFile(name.toStdString(), Trace->toPlainText().toStdString() + "\n", error)) {
        QString text = QString::fromStdString(error);
        ShowErrorSentence(this, text);
    }
}

}  // namespace zorsim
