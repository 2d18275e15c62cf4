// The three small encoders every front-panel handler builds its host commands
// from. Each returns the link code of the last byte it sent; no caller needs it.
#pragma once

#include <cstdint>

#include "panel/HostPort.h"

namespace panel {

// What SendDataByte reports when the module did not ask for the data byte
// (a command was left half-sent before it), so the byte was not sent.
inline constexpr uint8_t kDataByteNotSent = 21;

// 00 00 00, status := 0, 80 i v: tag variable i := v.
uint8_t SendSetVariable(HostPort& port, uint8_t index, uint8_t value);
// 00 00 00, status := 0, 81 n p: run script n with parameter p.
uint8_t SendRunScript(HostPort& port, uint8_t number, uint8_t parameter);
// 60 b: append one byte to the module's data buffer.
uint8_t SendDataByte(HostPort& port, uint8_t byte);

}  // namespace panel
