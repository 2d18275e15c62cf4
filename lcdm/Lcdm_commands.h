// The host byte link: the module's single entry for host bytes, the framing of
// one-, two- and three-byte commands, and the three command tables.
#pragma once

#include <cstdint>

namespace lcdm {

// Link codes returned by HostByteEntry.
enum LinkCode : uint8_t {
    kLinkDone = 0,      // the byte completed a command, which has been carried out
    kLinkMore = 7,      // the byte was stored; the command needs more bytes
    kLinkRejected = 12  // the byte was rejected as a first byte (0xC0..0xFF)
};

// The confirmation byte destructive or global commands carry as their operand.
inline constexpr uint8_t kConfirm = 172;
// The operand pair of the service command 0x9F.
inline constexpr uint8_t kServiceOperand = 191;

// The host fills at most 18 bytes; storing a label appends a 0 as the 19th.
inline constexpr uint8_t kDataBufferHostBytes = 18;
inline constexpr uint8_t kDataBufferSize = 19;

// Data modes: what one-byte command 0x24 does with the DataBuffer.
enum DataMode : uint8_t {
    kModeMemory = 0x0A,
    kModeLabelStore = 0x0B,
    kModeIconBegin = 0x20,
    kModeIconAppend = 0x21,
    kModeBothLogos = 0x2A,
    kModeStoreLabels = 0x61,
    kModeOneLogo = 0x6C,
    kModeNone = 0xFF,  // after LinkReset
};

struct LinkState {
    uint8_t ReceiveBuffer[3];
    uint8_t ReceiveCount;
    uint8_t LastCommandByte;
    uint8_t ReplyByte;
    uint16_t AddressPointer;
    uint8_t DataBuffer[kDataBufferSize];
    uint8_t DataLength;
    uint8_t DataMode;
    uint32_t KeySelectionMask;  // bit k-1 = key k (1..28) selected
    uint8_t ListReadIndex;
    uint8_t BlockSize;          // 0 = no block read in progress
    int32_t BlockPosition;
};
extern LinkState Link;

void ResetLink();

// One host byte in; the link code out. The reply is Link.ReplyByte.
uint8_t HostByteEntry(uint8_t byte);
void LinkReset();
uint8_t SetTagVariable(uint8_t index, uint8_t value);  // 0, or 11 for index >= 64

// The three class handlers, called with the low six bits of the first byte.
uint8_t OneByteCommand(uint8_t command);
uint8_t TwoByteCommand(uint8_t command);
uint8_t ThreeByteCommand(uint8_t command);

// What a command's operand bytes mean, as its table row says, for traces.
enum class CommandOperands : uint8_t {
    kNone,                // a one-byte command
    kValue,               // one byte taken as a number
    kDataByte,            // one byte for the DataBuffer
    kKey,                 // a key number, 1 to 28
    kLanguage,            // a language byte
    kConfirm,             // the confirmation byte 0xAC, without which nothing happens
    kNibbleAndValue,      // the first byte's low four bits name a variable or script; the operand its value
    kIndexAndValue,       // a variable or script number, then its value or parameter
    kAddress,             // a module memory address, high byte first
    kWordLowFirst,        // a 16-bit value, low byte first
    kDataBytes,           // two bytes for the DataBuffer
    kLanguageAndConfirm,  // a language byte, then the confirmation byte
    kValuePair,           // two bytes taken as numbers
};

struct CommandInfo {
    const char* name;  // as the command table names it ("DATA_BYTE")
    uint8_t length;    // 1, 2 or 3 bytes, from the first byte's top bits
    CommandOperands operands;
};

// Names of the commands for listings and traces; nullptr for unassigned ones.
const char* CommandName(uint8_t firstByte);
// The command table's row for `firstByte`; false for unassigned ones and for
// bytes that are no first byte (0xC0..0xFF).
bool DescribeCommand(uint8_t firstByte, CommandInfo& info);

// Outputs of the link the simulator does not have: the block packets of a
// block read (header and ten bytes a packet) and the service command.
using BlockTransmitHook = void (*)(uint8_t byte);
using ServiceHook = void (*)();
void SetBlockTransmitHook(BlockTransmitHook hook);
void SetServiceHook(ServiceHook hook);

}  // namespace lcdm
