// Internal to the host link: the command table row and the small helpers the
// command handlers share.
#pragma once

#include <cstdint>

#include "Lcdm_commands.h"

namespace lcdm {

// A complete command as the handler sees it: copied out of the ReceiveBuffer
// before the handler runs, because a command that runs a script may wait in
// DELAY while further host bytes arrive and overwrite the link's variables.
struct Command {
    uint8_t first;  // the first byte; a success answers with it (the echo)
    uint8_t a;      // first operand (second byte)
    uint8_t b;      // second operand (third byte)

    uint8_t EchoIf(bool success) const { return success ? first : 0; }
};

using CommandHandler = uint8_t (*)(const Command& command);

struct CommandRow {
    uint8_t first;  // first byte, or the first of a range sharing one handler
    uint8_t last;
    const char* name;
    CommandOperands operands;  // what its operand bytes mean (traces)
    CommandHandler handler;
};

uint8_t Unassigned(const Command&);  // StatusRegister := 12, reply 0

// The handler of first byte b in a table of rows (Unassigned when no row names it).
const CommandRow* FindCommand(const CommandRow* rows, uint8_t count, uint8_t firstByte);

extern const CommandRow kOneByteCommands[];
extern const uint8_t kOneByteCommandCount;
extern const CommandRow kTwoByteCommands[];
extern const uint8_t kTwoByteCommandCount;
extern const CommandRow kThreeByteCommands[];
extern const uint8_t kThreeByteCommandCount;

extern BlockTransmitHook gBlockTransmitHook;
extern ServiceHook gServiceHook;

}  // namespace lcdm
