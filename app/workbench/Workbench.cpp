#include "Workbench.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>

#include "Assembler.h"
#include "Debugger.h"
#include "DebuggerDock.h"
#include "Desktop.h"
#include "HostRecording.h"
#include "LabelStoreDock.h"
#include "Lcdm.h"
#include "LinkTraceDock.h"
#include "Main.h"
#include "MemoryDock.h"
#include "MessagesDock.h"
#include "ToolDock.h"
#include "VocabularyDock.h"
#include "ZorApplication.h"
#include "files/Files.h"
#include "panel/Encoders.h"
#include "panel/HostPort.h"
#include "services/VocabularyLoad.h"

namespace zorsim {
namespace {

// The docks' width: the window grows by it when they are shown.
constexpr int kDockWidth = 560;
// How long a burst of file changes is gathered before one reload.
constexpr int kReloadDelayMs = 300;
constexpr int kRefreshDelayMs = 100;

// The views, in the order their tabs appear. Each is a dock of its own.
using DockMaker = ToolDock* (*)(Workbench& bench, QWidget* parent);
const DockMaker kViews[] = {
    [](Workbench& b, QWidget* p) -> ToolDock* { return new DebuggerDock(b, p); },
    [](Workbench& b, QWidget* p) -> ToolDock* { return new MemoryDock(b, p); },
    [](Workbench& b, QWidget* p) -> ToolDock* { return new LabelStoreDock(b, p); },
    [](Workbench& b, QWidget* p) -> ToolDock* { return new VocabularyDock(b, p); },
    [](Workbench& b, QWidget* p) -> ToolDock* { return new LinkTraceDock(b, p); },
};

}  // namespace

Workbench::Workbench(TForm1& form, panel::HostPort& port)
    : QObject(&form), form_(form), port_(port), debugger_(new Debugger(*this)) {
    refresh_.setSingleShot(true);
    refresh_.setInterval(kRefreshDelayMs);
    connect(&refresh_, &QTimer::timeout, this, &Workbench::RefreshNow);
    reloadSoon_.setSingleShot(true);
    reloadSoon_.setInterval(kReloadDelayMs);
    connect(&reloadSoon_, &QTimer::timeout, this, &Workbench::Reload);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &Workbench::FilesChanged);
    CreateMenus();
    CreateDocks();
}

Workbench::~Workbench() = default;

void Workbench::CreateMenus() {
    // File: after the recording's items, before the separator and Exit.
    LoadVocabularyAction = new QAction("Load Vocabulary...", &form_);
    LoadVocabularyAction->setObjectName("LoadVocabulary");
    LoadVocabularyAction->setShortcut(QKeySequence("Ctrl+O"));
    ReloadAction = new QAction("Reload", &form_);
    ReloadAction->setObjectName("Reload");
    ReloadAction->setShortcut(QKeySequence("F5"));
    ReloadAction->setEnabled(false);
    AutoReloadAction = new QAction("Reload When Files Change", &form_);
    AutoReloadAction->setObjectName("AutoReload");
    AutoReloadAction->setCheckable(true);
    ResetModuleAction = new QAction("Reset Module", &form_);
    ResetModuleAction->setObjectName("ResetModule");
    for (QAction* action :
         {LoadVocabularyAction, ReloadAction, AutoReloadAction, ResetModuleAction})
        form_.Files1->insertAction(form_.N1, action);
    connect(LoadVocabularyAction, &QAction::triggered, this, &Workbench::LoadClick);
    connect(ReloadAction, &QAction::triggered, this, &Workbench::Reload);
    connect(AutoReloadAction, &QAction::toggled, this, &Workbench::WatchFiles);
    connect(ResetModuleAction, &QAction::triggered, this, &Workbench::ResetModule);

    // Module (the debugger) and View, before About.
    ModuleMenu = new QMenu("Module", &form_);
    ModuleMenu->setObjectName("ModuleMenu");
    form_.MainMenu1->insertMenu(form_.About1, ModuleMenu);
    debugger_->AddActions(*ModuleMenu);
    ViewMenu = new QMenu("View", &form_);
    ViewMenu->setObjectName("ViewMenu");
    form_.MainMenu1->insertMenu(form_.About1, ViewMenu);
    ModuleToolsAction = ViewMenu->addAction("Module Tools");
    ModuleToolsAction->setObjectName("ModuleTools");
    ModuleToolsAction->setShortcut(QKeySequence("F12"));
    ModuleToolsAction->setCheckable(true);
    connect(ModuleToolsAction, &QAction::toggled, this, &Workbench::ShowTools);
    ViewMenu->addSeparator();
}

void Workbench::CreateDocks() {
    Messages = new MessagesDock(*this, &form_);
    for (DockMaker make : kViews) Docks.push_back(make(*this, &form_));
    Docks.push_back(Messages);
    ToolDock* first = nullptr;
    for (ToolDock* dock : Docks) {
        dock->setMinimumWidth(kDockWidth / 2);
        dock->hide();
        form_.addDockWidget(Qt::RightDockWidgetArea, dock);
        if (first)
            form_.tabifyDockWidget(first, dock);
        else
            first = dock;
        ViewMenu->addAction(dock->toggleViewAction());
        connect(dock, &QDockWidget::visibilityChanged, this, [this, dock](bool visible) {
            if (visible) dock->Refresh();
        });
    }
}

void Workbench::ShowTools(bool show) {
    if (show == toolsShown_) return;
    toolsShown_ = show;
    // The front panel keeps its size: the window grows by the docks' width.
    if (show) {
        grownBy_ = kDockWidth;
        form_.resize(form_.width() + grownBy_, form_.height());
    }
    for (ToolDock* dock : Docks) dock->setVisible(show && dock != Messages);
    if (show && !Docks.empty()) Docks.front()->raise();
    if (!show) {
        form_.resize(form_.width() - grownBy_, form_.height());
        grownBy_ = 0;
    }
    debugger_->SetAttached(show);
    if (ModuleToolsAction->isChecked() != show) ModuleToolsAction->setChecked(show);
}

void Workbench::ModuleMayHaveChanged() {
    if (!refresh_.isActive()) refresh_.start();
}

void Workbench::RefreshNow() {
    refresh_.stop();
    for (ToolDock* dock : Docks)
        if (dock->isVisible()) dock->Refresh();
}

bool Workbench::LoadVocabulary(const QStringList& files, uint16_t address) {
    std::vector<std::string> names;
    for (const QString& file : files) names.push_back(file.toStdString());
    std::vector<uint8_t> bytes;
    std::vector<std::string> errors, warnings;
    const bool sources = files.front().endsWith(".zasm");
    std::optional<zorasm::SourceMap> map;
    if (sources) {
        const zorasm::Assembly assembly = zorasm::Assemble(names, zorasm::DiskFiles(), {address});
        errors = assembly.unreadable;
        errors.insert(errors.end(), assembly.diagnostics.errors.begin(),
                      assembly.diagnostics.errors.end());
        // Warnings do not stop the load; they are listed after any errors.
        warnings = assembly.diagnostics.warnings;
        if (assembly.Ok()) {
            bytes = assembly.bytes;
            std::string error;
            map = zorasm::SourceMap::Parse(zorasm::SourceMap::Of(assembly), "map", error);
        }
    } else if (!services::ReadVocabulary(names, address, bytes, errors)) {
        bytes.clear();
    }
    if (errors.empty() && address + bytes.size() > lcdm::kModuleMemorySize)
        errors.push_back(names.front() + ": " + std::to_string(bytes.size()) +
                         " bytes do not fit in module memory from " + std::to_string(address));
    files_ = files;
    address_ = address;
    ReloadAction->setEnabled(true);
    WatchFiles(AutoReloadAction->isChecked());
    std::vector<std::string> messages = errors;
    messages.insert(messages.end(), warnings.begin(), warnings.end());
    Messages->Show(messages);
    if (!errors.empty()) {
        // The module is left as it was; the messages say what to mend.
        Messages->show();
        Messages->raise();
        return false;
    }
    if (!sources) {
        // A map written beside the image (zorasm --map) names source lines too.
        files::ReadError failure;
        const QString mapName = QFileInfo(files.front()).path() + "/" +
                                QFileInfo(files.front()).completeBaseName() + ".map";
        if (auto text = files::ReadFile(mapName.toStdString(), 16u << 20, failure)) {
            std::string error;
            map = zorasm::SourceMap::Parse(*text, mapName.toStdString(), error);
        }
    }
    map_ = map;
    form_.Recording->Note(QString("Load Vocabulary: %1 at %2").arg(files.join(", ")).arg(address));
    const services::LoadedVocabulary loaded = services::WriteVocabulary(port_, address, bytes);
    if (!loaded.ok) {
        Messages->Show({loaded.error});
        Messages->show();
        return false;
    }
    // The page the vocabulary draws now.
    panel::SendRunScript(port_, 10, 255);
    form_.RenderLcd();
    ModuleMayHaveChanged();
    return true;
}

void Workbench::LoadClick() {
    FileDialogSettings dialog;
    dialog.title = "Load Vocabulary";
    dialog.filter = "Vocabularies (*.bin *.zasm);;zorasm sources (*.zasm);;All files (*)";
    const QString file = CurrentDesktop().OpenFile(&form_, dialog);
    if (file.isEmpty()) return;
    const std::optional<int> address = CurrentDesktop().AskNumber(
        &form_, "Load Vocabulary", "Module memory address:", files_.isEmpty() ? 18838 : address_, 0,
        static_cast<int>(lcdm::kModuleMemorySize) - 1);
    if (!address) return;
    LoadVocabulary({file}, static_cast<uint16_t>(*address));
}

void Workbench::Reload() {
    if (!files_.isEmpty()) LoadVocabulary(files_, address_);
}

void Workbench::WatchFiles(bool on) {
    if (!watcher_.files().isEmpty()) watcher_.removePaths(watcher_.files());
    if (on && !files_.isEmpty()) watcher_.addPaths(files_);
}

void Workbench::FilesChanged() {
    // A file saved by renaming a new one over it is a new file: watch it again.
    for (const QString& file : files_)
        if (!watcher_.files().contains(file) && QFileInfo::exists(file)) watcher_.addPath(file);
    reloadSoon_.start();
}

void Workbench::ResetModule() {
    form_.ResetModule();
    map_.reset();
    ModuleMayHaveChanged();
}

}  // namespace zorsim
