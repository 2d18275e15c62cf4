#include "panel/Encoders.h"

#include "Lcdm.h"

namespace panel {
namespace {

// Three zero bytes bring the link back to a command boundary whatever was
// left half-sent: each completes a pending command or is itself the harmless
// command 0x00. The status is then cleared directly, as only the simulator
// can, so the command that follows reports its own outcome.
uint8_t SendThreeByteCommand(HostPort& port, uint8_t first, uint8_t a, uint8_t b) {
    port.Send(0x00);
    port.Send(0x00);
    port.Send(0x00);
    port.SetStatus(0);
    port.Send(first);
    port.Send(a);
    return port.Send(b);
}

}  // namespace

uint8_t SendSetVariable(HostPort& port, uint8_t index, uint8_t value) {
    return SendThreeByteCommand(port, 0x80, index, value);
}

uint8_t SendRunScript(HostPort& port, uint8_t number, uint8_t parameter) {
    return SendThreeByteCommand(port, 0x81, number, parameter);
}

uint8_t SendDataByte(HostPort& port, uint8_t byte) {
    if (port.Send(0x60) != lcdm::kLinkMore) return kDataByteNotSent;
    return port.Send(byte);
}

}  // namespace panel
