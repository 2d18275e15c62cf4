#include "DebuggerDock.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "Debugger.h"
#include "Lcdm.h"
#include "Lcdm_opcodes.h"
#include "SourceMap.h"
#include "Workbench.h"
#include "services/ChainWalk.h"
#include "services/ModuleText.h"

namespace zorsim {
namespace {

constexpr int kTagsAround = 5;

// The tags of the item holding `address`, by walking its body from the start
// (a SELECT's table of entries is stepped over).
std::vector<uint16_t> TagsAround(uint16_t address) {
    for (const services::ChainItem& item : services::WalkChain(lcdm::Vocabulary.vocabularyStart)) {
        if (address < item.address || address >= item.address + item.length) continue;
        std::vector<uint16_t> tags;
        const uint32_t end = item.address + item.length;
        for (uint32_t at = item.address + lcdm::kItemHeaderSize; at < end;) {
            tags.push_back(static_cast<uint16_t>(at));
            const uint8_t opcode = lcdm::ReadMemoryByte(static_cast<uint16_t>(at));
            uint32_t length = lcdm::TagLength(opcode);
            if (opcode == lcdm::kOpSelect)
                length += 2u * lcdm::ReadMemoryByte(static_cast<uint16_t>(at + 1));
            at += length;
        }
        const auto here = std::find(tags.begin(), tags.end(), address);
        if (here == tags.end()) return {address};
        const auto from = here - std::min<ptrdiff_t>(kTagsAround, here - tags.begin());
        const auto to = here + std::min<ptrdiff_t>(kTagsAround + 1, tags.end() - here);
        return {from, to};
    }
    return {address};
}

QString Hex(uint8_t byte) {
    return QString("%1").arg(byte, 2, 16, QChar('0')).toUpper();
}

}  // namespace

DebuggerDock::DebuggerDock(Workbench& bench, QWidget* parent)
    : ToolDock("Debugger", parent), bench_(bench) {
    setObjectName("DebuggerDock");
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    auto* buttons = new QHBoxLayout;
    Debugger& debugger = bench.Debug();
    for (QAction* action : {debugger.PauseAction, debugger.StepTagAction, debugger.StepOverAction,
                            debugger.StepOutAction, debugger.ContinueAction}) {
        auto* button = new QToolButton(body);
        button->setDefaultAction(action);
        buttons->addWidget(button);
    }
    auto* breakOnError = new QCheckBox("Break on error status", body);
    breakOnError->setChecked(debugger.BreakOnErrorAction->isChecked());
    connect(breakOnError, &QCheckBox::toggled, debugger.BreakOnErrorAction, &QAction::setChecked);
    connect(debugger.BreakOnErrorAction, &QAction::toggled, breakOnError, &QCheckBox::setChecked);
    buttons->addWidget(breakOnError);
    buttons->addStretch();
    layout->addLayout(buttons);

    auto* points = new QHBoxLayout;
    BreakpointEdit = new QLineEdit(body);
    BreakpointEdit->setObjectName("BreakpointEdit");
    BreakpointEdit->setPlaceholderText("script 5 + 8, procedure 12, or an address");
    auto* add = new QPushButton("Add", body);
    auto* remove = new QPushButton("Remove", body);
    points->addWidget(new QLabel("Breakpoint:", body));
    points->addWidget(BreakpointEdit);
    points->addWidget(add);
    points->addWidget(remove);
    layout->addLayout(points);
    BreakpointList = new QListWidget(body);
    BreakpointList->setObjectName("BreakpointList");
    BreakpointList->setMaximumHeight(80);
    layout->addWidget(BreakpointList);
    connect(add, &QPushButton::clicked, this, &DebuggerDock::AddBreakpoint);
    connect(BreakpointEdit, &QLineEdit::returnPressed, this, &DebuggerDock::AddBreakpoint);
    connect(remove, &QPushButton::clicked, this, &DebuggerDock::RemoveBreakpoint);

    State = new QPlainTextEdit(body);
    State->setObjectName("DebuggerState");
    State->setReadOnly(true);
    State->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    layout->addWidget(State, 1);
    setWidget(body);
    connect(&debugger, &Debugger::StoppedChanged, this, &DebuggerDock::Refresh);
}

void DebuggerDock::AddBreakpoint() {
    const std::optional<Breakpoint> point = Breakpoint::Parse(BreakpointEdit->text());
    if (!point) {
        BreakpointEdit->setToolTip("Not a breakpoint: write \"script 5 + 8\", \"procedure 12\" "
                                   "(its first tag) or a module memory address");
        BreakpointEdit->selectAll();
        return;
    }
    bench_.Debug().Breakpoints.push_back(*point);
    bench_.Debug().BreakpointsChanged();
    BreakpointList->addItem(point->Text());
    BreakpointEdit->clear();
}

void DebuggerDock::RemoveBreakpoint() {
    const int row = BreakpointList->currentRow();
    if (row < 0) return;
    delete BreakpointList->takeItem(row);
    bench_.Debug().Breakpoints.erase(bench_.Debug().Breakpoints.begin() + row);
    bench_.Debug().BreakpointsChanged();
}

QString DebuggerDock::StateText() const {
    const Debugger& debugger = bench_.Debug();
    if (!debugger.Stopped())
        return "Running. Pause stops at the next tag; a breakpoint or an error status stops "
               "there.";
    const uint16_t at = debugger.Address();
    QString text = "Stopped (" + debugger.Reason() + ") at " +
                   QString::fromStdString(services::PlaceText(at));
    if (const zorasm::SourceMap* map = bench_.Map(); map && !map->Where(at).empty())
        text += " (" + QString::fromStdString(map->Where(at)) + ")";
    text += "\n\n";
    for (uint16_t tag : TagsAround(at)) {
        text += (tag == at ? "=> " : "   ") + QString::number(tag).rightJustified(5) + "  " +
                QString::fromStdString(services::TagText(tag));
        if (const zorasm::SourceMap* map = bench_.Map(); map && !map->Where(tag).empty())
            text += "   ; " + QString::fromStdString(map->Where(tag));
        text += "\n";
    }
    const lcdm::EngineState& engine = lcdm::Engine;
    text += "\nStatus   " + QString::fromStdString(services::StatusText(engine.StatusRegister));
    text += "\nStacks   " + QString::fromStdString(services::StacksText());
    text += QString("\nCursor   (%1, %2)   language %3, font class %4, font %5\n")
                .arg(lcdm::Graphics.GraphicsCursor.x)
                .arg(lcdm::Graphics.GraphicsCursor.y)
                .arg(lcdm::Language.currentLanguage)
                .arg(lcdm::Language.currentFontClass)
                .arg(lcdm::Language.fontNumber);
    text += "\nVariables (bytes, then words)\n";
    for (int row = 0; row < lcdm::kTagVariableCount; row += 16) {
        text += QString::number(row).rightJustified(2) + ":";
        for (int i = row; i < row + 16; ++i) text += " " + Hex(engine.TagVariables[i]);
        text += "\n";
    }
    for (int row = 0; row < lcdm::kTagVariableCount / 2; row += 8) {
        text += "w" + QString::number(row).rightJustified(2) + ":";
        for (int i = row; i < row + 8; ++i)
            text += " " + QString::number(engine.TagVariables[2 * i] << 8 |
                                          engine.TagVariables[2 * i + 1])
                              .rightJustified(5);
        text += "\n";
    }
    return text;
}

void DebuggerDock::Refresh() {
    State->setPlainText(StateText());
}

}  // namespace zorsim
