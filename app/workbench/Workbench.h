// The window as a workbench for vocabulary writers: File > Load Vocabulary...,
// Reload, Reload When Files Change and Reset Module; the Module menu of the
// tag debugger; View > Module Tools (F12) and the docks. With no option and
// no action in these menus the window stays exactly the front panel: the
// docks are hidden until used, and the window grows to make room for them.
#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <optional>
#include <vector>

#include "SourceMap.h"

class QAction;
class QMenu;

namespace panel {
class HostPort;
}

namespace zorsim {

class Debugger;
class MessagesDock;
class TForm1;
class ToolDock;

class Workbench : public QObject {
    Q_OBJECT

public:
    Workbench(TForm1& form, panel::HostPort& port);
    ~Workbench() override;

    TForm1& Form() { return form_; }
    panel::HostPort& Port() { return port_; }
    Debugger& Debug() { return *debugger_; }
    // Where the loaded vocabulary's bytes came from, when it was assembled
    // here (or a map lay beside its image): for source lines in the views.
    const zorasm::SourceMap* Map() const { return map_ ? &*map_ : nullptr; }

    // Loads a vocabulary (an image, or .zasm sources assembled here) at
    // `address` and redraws the page; on errors lists them in the Messages
    // dock, leaves the module as it was and returns false.
    bool LoadVocabulary(const QStringList& files, uint16_t address);
    // The module and the window's own start as at program start.
    void ResetModule();

    // The module may have changed: visible docks are brought up to date
    // soon (several changes in a row cost one refresh).
    void ModuleMayHaveChanged();
    // Brings visible docks up to date now (the debugger's stops).
    void RefreshNow();
    // Shows or hides all the docks (View > Module Tools, F12).
    void ShowTools(bool show);

    QAction* LoadVocabularyAction;
    QAction* ReloadAction;
    QAction* AutoReloadAction;
    QAction* ResetModuleAction;
    QAction* ModuleToolsAction;
    QMenu* ModuleMenu;
    QMenu* ViewMenu;
    std::vector<ToolDock*> Docks;
    MessagesDock* Messages;

private:
    void CreateMenus();
    void CreateDocks();
    void LoadClick();
    void Reload();
    void FilesChanged();
    void WatchFiles(bool on);

    TForm1& form_;
    panel::HostPort& port_;
    Debugger* debugger_;
    QTimer refresh_;
    QStringList files_;  // the vocabulary loaded last, for Reload
    uint16_t address_ = 0;
    std::optional<zorasm::SourceMap> map_;
    QFileSystemWatcher watcher_;
    // Editors save in bursts (and by renaming a new file over the old):
    // changes are gathered for a moment before one reload.
    QTimer reloadSoon_;
    bool toolsShown_ = false;
    int grownBy_ = 0;
};

}  // namespace zorsim
