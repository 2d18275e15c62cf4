// The tag debugger's engine side: breakpoints, pause, step, step over, step
// out, continue and break on an error status, on the module's tag hook (set
// only while the debugger is attached, so the engine pays nothing
// otherwise) and its run-end hook. A stop waits the way DELAY waits: in the
// event loop, the process asleep, timers running; host bytes that arrive
// meanwhile (clicks, the link) are carried out as during a DELAY wait, and
// the debugger does not stop in the runs they start.
#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

class QAction;
class QMenu;

namespace zorsim {

class Workbench;

// Where to stop: an address, or an item (type, number) and an offset in it.
struct Breakpoint {
    std::optional<uint16_t> address;
    uint8_t type = 0, number = 0;
    uint16_t offset = 0;

    // "18850", "script 5 + 8", "procedure 12 + 0"; nothing when malformed.
    static std::optional<Breakpoint> Parse(const QString& text);
    QString Text() const;
    // The address it names in the module's vocabulary now; nothing when the
    // item is not there.
    std::optional<uint16_t> Resolve() const;
};

class Debugger : public QObject {
    Q_OBJECT

public:
    explicit Debugger(Workbench& bench);
    ~Debugger() override;

    // Puts Pause, Step Tag, Step Over, Step Out, Continue and Break on Error
    // Status in `menu`.
    void AddActions(QMenu& menu);
    // While attached (the docks shown) the hooks are set and the debugger
    // can stop; detached, a stop in progress continues.
    void SetAttached(bool attached);

    void Pause();
    void StepTag();
    void StepOver();
    void StepOut();
    void Continue();

    std::vector<Breakpoint> Breakpoints;
    // After Breakpoints changed: their addresses are looked up again.
    void BreakpointsChanged();
    bool Stopped() const { return stopped_; }
    // Why the module stopped ("breakpoint", "paused", "data stack underflow").
    QString Reason() const { return reason_; }
    // The tag the stop is at: about to run, or the one that failed.
    uint16_t Address() const { return address_; }

    QAction* PauseAction;
    QAction* StepTagAction;
    QAction* StepOverAction;
    QAction* StepOutAction;
    QAction* ContinueAction;
    QAction* BreakOnErrorAction;

signals:
    void StoppedChanged();

private:
    enum class Mode { kRun, kPause, kStep, kStepOver, kStepOut };
    static void OnTag(uint16_t address, uint8_t opcode, uint8_t byte1, uint8_t byte2);
    void Tag(uint16_t address, uint8_t opcode);
    void RunEnded();
    void Stop(uint16_t address, const QString& reason);
    void Resume(Mode mode);
    void UpdateActions();

    Workbench& bench_;
    bool attached_ = false;
    bool stopped_ = false;
    bool resume_ = false;
    Mode mode_ = Mode::kRun;
    uint8_t depthAtStop_ = 0;  // the return stack's depth when the step began
    uint16_t addressAtStop_ = 0;
    std::vector<uint16_t> resolved_;  // the breakpoints' addresses while running
    QString reason_;
    uint16_t address_ = 0;
    int runEnds_ = 0;
};

}  // namespace zorsim
