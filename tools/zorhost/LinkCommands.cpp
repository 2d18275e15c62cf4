// Host link commands: bytes through the module's entry, and the simulator's
// direct accesses to the status register, the link and the 100 ms timer.
#include "Command.h"
#include "panel/Startup.h"

namespace zorhost {
namespace {

void Send(Session& session, const Args& args) {
    args.RequireCount(1, SIZE_MAX);
    // Every byte is checked before the first is sent, so a typo sends nothing.
    for (uint8_t byte : args.HexBytes(0)) session.port.Send(byte);
}

void SetStatus(Session& session, const Args& args) {
    args.RequireCount(1, 1);
    session.port.SetStatus(static_cast<uint8_t>(args.Number(0, 0, 255)));
}

void LinkReset(Session& session, const Args& args) {
    args.RequireCount(0, 0);
    session.port.LinkReset();
}

void FillStore(Session& session, const Args& args) {
    args.RequireCount(1, 1);
    session.port.FillLabelStore(args.HexByte(0));
}

void EmptyStacks(Session& session, const Args& args) {
    args.RequireCount(0, 0);
    session.port.EmptyEngineStacks();
}

void InitVocabulary(Session& session, const Args& args) {
    args.RequireCount(1, 1);
    session.port.InitVocabulary(static_cast<uint16_t>(args.Number(0, 0, 0xFFFF)));
}

void Tick(Session& session, const Args& args) {
    args.RequireCount(0, 1);
    const long ticks = args.Count() == 0 ? 1 : args.Number(0, 0, 1000000);
    for (long i = 0; i < ticks; ++i) session.TimerTick();
}

constexpr CommandSpec kCommands[] = {
    {"send", "send HH ...", "each byte through HostByteEntry, in order", Send},
    {"set-status", "set-status N", "write the StatusRegister directly", SetStatus},
    {"link-reset", "link-reset", "LinkReset", LinkReset},
    {"tick", "tick [N]", "N (default 1) ticks of the 100 ms timer", Tick},
    {"fill-store", "fill-store HH", "fill the label store with HH directly", FillStore},
    {"empty-stacks", "empty-stacks", "empty the engine's stacks directly", EmptyStacks},
    {"init-vocabulary", "init-vocabulary ADDR",
     "initialise the vocabulary at ADDR directly (as the window's start-up does)", InitVocabulary},
};

}  // namespace

std::span<const CommandSpec> LinkCommands() {
    return kCommands;
}

}  // namespace zorhost
