// What the assembler said about the vocabulary sources last loaded: one
// message a line (FILE:LINE:COLUMN: message, or ... warning: ...); choosing
// one shows its source line.
#pragma once

#include <string>
#include <vector>

#include "ToolDock.h"

class QListWidget;
class QPlainTextEdit;

namespace zorsim {

class Workbench;

class MessagesDock : public ToolDock {
    Q_OBJECT

public:
    MessagesDock(Workbench& bench, QWidget* parent);
    void Refresh() override {}
    // Replaces the messages ("no messages" when empty).
    void Show(const std::vector<std::string>& messages);

    QListWidget* List;
    QPlainTextEdit* Source;

private:
    void ShowSourceOf(int row);
};

}  // namespace zorsim
