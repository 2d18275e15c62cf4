// The module's byte entry: framing by the first byte's top two bits, the
// link codes, and the link's reset.
#include "Lcdm_command_support.h"
#include "Lcdm_labels.h"
#include "Lcdm_status.h"
#include "Lcdm_tags.h"

namespace lcdm {

BlockTransmitHook gBlockTransmitHook = nullptr;
ServiceHook gServiceHook = nullptr;

void SetBlockTransmitHook(BlockTransmitHook hook) {
    gBlockTransmitHook = hook;
}
void SetServiceHook(ServiceHook hook) {
    gServiceHook = hook;
}

uint8_t Unassigned(const Command&) {
    Engine.StatusRegister = kStatusUnassignedCommand;
    return 0;
}

const CommandRow* FindCommand(const CommandRow* rows, uint8_t count, uint8_t firstByte) {
    for (uint8_t i = 0; i < count; ++i)
        if (firstByte >= rows[i].first && firstByte <= rows[i].last) return &rows[i];
    return nullptr;
}

namespace {

// Each class handler's first step empties the receive buffer, so the byte
// after a completed command is always a first byte.
uint8_t RunCommand(const CommandRow* rows, uint8_t count, uint8_t firstByte) {
    const Command command{firstByte, Link.ReceiveBuffer[1], Link.ReceiveBuffer[2]};
    Link.ReceiveCount = 0;
    const CommandRow* row = FindCommand(rows, count, firstByte);
    return row ? row->handler(command) : Unassigned(command);
}

uint8_t Complete(uint8_t (*classHandler)(uint8_t)) {
    Link.LastCommandByte = Link.ReceiveBuffer[0];
    Link.ReplyByte = classHandler(Link.ReceiveBuffer[0] & 0x3F);
    return kLinkDone;
}

uint8_t NeedMore() {
    Link.ReplyByte = 0;
    return kLinkMore;
}

}  // namespace

uint8_t HostByteEntry(uint8_t byte) {
    Link.ReceiveBuffer[Link.ReceiveCount] = byte;
    ++Link.ReceiveCount;
    switch (Link.ReceiveBuffer[0] >> 6) {
        case 0: return Complete(OneByteCommand);
        case 1: return Link.ReceiveCount < 2 ? NeedMore() : Complete(TwoByteCommand);
        case 2: return Link.ReceiveCount < 3 ? NeedMore() : Complete(ThreeByteCommand);
        default:
            Link.ReplyByte = 0;
            Link.ReceiveCount = 0;
            return kLinkRejected;
    }
}

uint8_t OneByteCommand(uint8_t command) {
    return RunCommand(kOneByteCommands, kOneByteCommandCount, command & 0x3F);
}
uint8_t TwoByteCommand(uint8_t command) {
    return RunCommand(kTwoByteCommands, kTwoByteCommandCount, 0x40 | (command & 0x3F));
}
uint8_t ThreeByteCommand(uint8_t command) {
    return RunCommand(kThreeByteCommands, kThreeByteCommandCount, 0x80 | (command & 0x3F));
}

namespace {

const CommandRow* RowOf(uint8_t firstByte) {
    switch (firstByte >> 6) {
        case 0: return FindCommand(kOneByteCommands, kOneByteCommandCount, firstByte);
        case 1: return FindCommand(kTwoByteCommands, kTwoByteCommandCount, firstByte);
        case 2: return FindCommand(kThreeByteCommands, kThreeByteCommandCount, firstByte);
        default: return nullptr;
    }
}

}  // namespace

const char* CommandName(uint8_t firstByte) {
    const CommandRow* row = RowOf(firstByte);
    return row ? row->name : nullptr;
}

bool DescribeCommand(uint8_t firstByte, CommandInfo& info) {
    const CommandRow* row = RowOf(firstByte);
    if (!row) return false;
    info = {row->name, static_cast<uint8_t>((firstByte >> 6) + 1), row->operands};
    return true;
}

void LinkReset() {
    Link.ListReadIndex = 0;
    Link.ReceiveCount = 0;
    Link.DataMode = kModeNone;
    Link.KeySelectionMask = 0;
    Link.BlockPosition = 0;
    Link.BlockSize = 0;
    RebuildUsedLanguages();
    AddDynamicIconLanguages();
}

uint8_t SetTagVariable(uint8_t index, uint8_t value) {
    if (index >= kTagVariableCount) return kStatusIndexRange;
    Engine.TagVariables[index] = value;
    return kStatusOk;
}

}  // namespace lcdm
