#include "Debugger.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QRegularExpression>

#include "Lcdm.h"
#include "Lcdm_opcodes.h"
#include "Main.h"
#include "ModuleHooks.h"
#include "Workbench.h"
#include "services/ChainWalk.h"

namespace zorsim {
namespace {

Debugger* gDebugger = nullptr;

struct TypeName {
    uint8_t type;
    const char* name;
};
constexpr TypeName kTypes[] = {
    {lcdm::kItemProcedure, "procedure"}, {lcdm::kItemScript, "script"},
    {lcdm::kItemHeader, "header"},       {lcdm::kItemBitmap, "bitmap"},
    {lcdm::kItemString, "string"},       {lcdm::kItemIconSet, "icon set"},
    {lcdm::kItemTextFont, "text font"}};

}  // namespace

std::optional<Breakpoint> Breakpoint::Parse(const QString& text) {
    const QString trimmed = text.trimmed();
    Breakpoint point;
    bool ok = false;
    const uint address = trimmed.toUInt(&ok, 0);
    if (ok) {
        if (address >= lcdm::kModuleMemorySize) return std::nullopt;
        point.address = static_cast<uint16_t>(address);
        return point;
    }
    static const QRegularExpression form(R"(^([a-z ]+?)\s+(\d+)\s*(?:\+\s*(\d+))?$)");
    const QRegularExpressionMatch match = form.match(trimmed.toLower());
    if (!match.hasMatch()) return std::nullopt;
    for (const TypeName& type : kTypes)
        if (match.captured(1) == type.name) {
            const uint number = match.captured(2).toUInt();
            const uint offset = match.captured(3).isEmpty() ? 4 : match.captured(3).toUInt();
            if (number > 255 || offset > 0xFFFF) return std::nullopt;
            point.type = type.type;
            point.number = static_cast<uint8_t>(number);
            point.offset = static_cast<uint16_t>(offset);
            return point;
        }
    return std::nullopt;
}

QString Breakpoint::Text() const {
    if (address) return QString::number(*address);
    for (const TypeName& type : kTypes)
        if (type.type == this->type)
            return QString("%1 %2 + %3").arg(type.name).arg(number).arg(offset);
    return "?";
}

std::optional<uint16_t> Breakpoint::Resolve() const {
    if (address) return address;
    for (const services::ChainItem& item : services::WalkChain(lcdm::Vocabulary.vocabularyStart))
        if (item.type == type && item.number == number && offset < item.length)
            return static_cast<uint16_t>(item.address + offset);
    return std::nullopt;
}

Debugger::Debugger(Workbench& bench) : QObject(&bench), bench_(bench) {}

Debugger::~Debugger() {
    SetAttached(false);
}

void Debugger::AddActions(QMenu& menu) {
    auto add = [&](const char* text, const char* name, const char* key, void (Debugger::*slot)()) {
        QAction* action = menu.addAction(text);
        action->setObjectName(name);
        action->setShortcut(QKeySequence(key));
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    PauseAction = add("Pause", "Pause", "F6", &Debugger::Pause);
    StepTagAction = add("Step Tag", "StepTag", "F11", &Debugger::StepTag);
    StepOverAction = add("Step Over", "StepOver", "F10", &Debugger::StepOver);
    StepOutAction = add("Step Out", "StepOut", "Shift+F11", &Debugger::StepOut);
    ContinueAction = add("Continue", "Continue", "F8", &Debugger::Continue);
    menu.addSeparator();
    BreakOnErrorAction = menu.addAction("Break on Error Status");
    BreakOnErrorAction->setObjectName("BreakOnError");
    BreakOnErrorAction->setCheckable(true);
    BreakOnErrorAction->setChecked(true);
    UpdateActions();
}

void Debugger::SetAttached(bool attached) {
    if (attached == attached_) return;
    attached_ = attached;
    if (attached) {
        gDebugger = this;
        lcdm::SetTagTraceHook(&Debugger::OnTag);
        runEnds_ = AddRunEndListener([this](uint8_t, uint8_t) { RunEnded(); });
    } else {
        lcdm::SetTagTraceHook(nullptr);
        RemoveRunEndListener(runEnds_);
        if (gDebugger == this) gDebugger = nullptr;
        if (stopped_) Resume(Mode::kRun);
    }
    UpdateActions();
}

void Debugger::UpdateActions() {
    if (!PauseAction) return;
    PauseAction->setEnabled(attached_ && !stopped_);
    for (QAction* action : {StepTagAction, StepOverAction, StepOutAction, ContinueAction})
        action->setEnabled(stopped_);
}

void Debugger::OnTag(uint16_t address, uint8_t opcode, uint8_t, uint8_t) {
    if (gDebugger) gDebugger->Tag(address, opcode);
}

void Debugger::Tag(uint16_t address, uint8_t opcode) {
    (void)opcode;
    // A run started by bytes that came during a stop runs through.
    if (stopped_) return;
    const uint8_t depth = lcdm::Engine.returnDepth;
    switch (mode_) {
        case Mode::kPause: return Stop(address, "paused");
        case Mode::kStep: return Stop(address, "stepped");
        case Mode::kStepOver:
            if (depth <= depthAtStop_ && address != addressAtStop_) return Stop(address, "stepped");
            break;
        case Mode::kStepOut:
            if (depth < depthAtStop_) return Stop(address, "stepped out");
            break;
        case Mode::kRun: break;
    }
    for (uint16_t point : resolved_)
        if (point == address) return Stop(address, "breakpoint");
}

void Debugger::RunEnded() {
    const uint8_t status = lcdm::Engine.StatusRegister;
    // Only a run that stopped inside the vocabulary's code (not one whose
    // script is missing) and only an error, not a normal end.
    if (stopped_ || !BreakOnErrorAction->isChecked() || status == lcdm::kStatusEnded ||
        lcdm::Engine.tagsSinceWait == 0)
        return;
    Stop(lcdm::Engine.lastTagAddress, lcdm::StatusName(status));
}

void Debugger::Stop(uint16_t address, const QString& reason) {
    stopped_ = true;
    resume_ = false;
    reason_ = reason;
    address_ = address;
    mode_ = Mode::kRun;
    UpdateActions();
    bench_.Form().RenderLcd();
    bench_.RefreshNow();
    emit StoppedChanged();
    // Waits as DELAY does: asleep in the event loop until told to go on, or
    // until the window closes (the run then ends as a waiting one does).
    while (!resume_ && !bench_.Form().Quitting())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    if (bench_.Form().Quitting()) {
        lcdm::Engine.DelayCounter = 0;
        lcdm::Engine.StatusRegister = lcdm::kStatusEnded;
    }
    stopped_ = false;
    UpdateActions();
    emit StoppedChanged();
}

void Debugger::BreakpointsChanged() {
    resolved_.clear();
    for (const Breakpoint& point : Breakpoints)
        if (const auto address = point.Resolve()) resolved_.push_back(*address);
}

void Debugger::Resume(Mode mode) {
    mode_ = mode;
    depthAtStop_ = lcdm::Engine.returnDepth;
    addressAtStop_ = address_;
    // The vocabulary may have changed during the stop.
    BreakpointsChanged();
    resume_ = true;
}

void Debugger::Pause() {
    mode_ = Mode::kPause;
}
void Debugger::StepTag() {
    if (stopped_) Resume(Mode::kStep);
}
void Debugger::StepOver() {
    if (stopped_) Resume(Mode::kStepOver);
}
void Debugger::StepOut() {
    if (stopped_) Resume(Mode::kStepOut);
}
void Debugger::Continue() {
    if (stopped_) Resume(Mode::kRun);
}

}  // namespace zorsim
