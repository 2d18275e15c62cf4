// Two-byte (0x40..0x7F) and three-byte (0x80..0xBF) commands: tag variables,
// scripts, data bytes, key selection, memory writes, the address pointer and
// the operations that take one value from the host.
#include "Lcdm_command_support.h"
#include "Lcdm_labels.h"
#include "Lcdm_memory.h"
#include "Lcdm_opcodes.h"
#include "Lcdm_status.h"
#include "Lcdm_tags.h"
#include "Lcdm_voc.h"

namespace lcdm {
namespace {

bool AppendData(uint8_t byte) {
    if (Link.DataLength >= kDataBufferHostBytes) return false;
    Link.DataBuffer[Link.DataLength++] = byte;
    return true;
}

// A script command succeeds when its run ended with END.
uint8_t RunScriptCommand(const Command& c, uint8_t script, uint8_t parameter) {
    RunScript(script, parameter);
    return c.EchoIf(Engine.StatusRegister == kStatusEnded);
}

// Operations that change what the pages show end by redrawing the page.
uint8_t RefreshIf(const Command& c, bool success) {
    if (success) Refresh();
    return c.EchoIf(success);
}

// ---------------------------------------------------------- two-byte ---

uint8_t SetVariable(const Command& c) {
    Engine.StatusRegister = kStatusOk;
    SetTagVariable(c.first & 0x0F, c.a);
    return c.first;
}

uint8_t RunNumberedScript(const Command& c) { return RunScriptCommand(c, c.first & 0x0F, c.a); }

uint8_t DataByte(const Command& c) { return c.EchoIf(AppendData(c.a)); }

uint8_t SelectKey(const Command& c) {
    if (c.a == 0 || c.a > kKeyCount) return 0;
    Link.DataMode = kModeStoreLabels;
    Link.KeySelectionMask |= 1u << (c.a - 1);
    return c.first;
}

uint8_t WriteByteAtPointer(const Command& c) {
    Engine.StatusRegister = WriteMemoryByte(c.a, Link.AddressPointer);
    if (Engine.StatusRegister != kStatusOk) return 0;
    Link.AddressPointer = static_cast<uint16_t>(Link.AddressPointer + 1);
    return c.first;
}

// Answers 4 whether the pointer is valid or not; the StatusRegister tells.
uint8_t CheckPointer(const Command& c) {
    if (c.a != kConfirm) return 0;
    Engine.StatusRegister = CheckMemoryAddress(Link.AddressPointer);
    return 4;
}

uint8_t SetLanguage(const Command& c) {
    WriteStoreByte(kSettingsLanguage, c.a);
    Engine.StatusRegister = kStatusOk;
    Dispatch(kOpPush8, c.a, 0);
    // Only a pushed language may be taken: a PUSH8 refused for want of room
    // (possible while a script waits in DELAY) must not pop a stranger's byte.
    if (Engine.StatusRegister == kStatusOk) Dispatch(kOpSetLanguage, 0, 0);
    return RefreshIf(c, Engine.StatusRegister == kStatusOk);
}

uint8_t FreeSlot(const Command& c) { return RefreshIf(c, FreeIconSlot(c.a) == kStatusOk); }

uint8_t ClearKey(const Command& c) { return RefreshIf(c, ClearKeyRecord(c.a) == kStatusOk); }

uint8_t InitVocabularyAtPointer(const Command& c) {
    if (c.a != kConfirm) return 0;
    return static_cast<uint8_t>(InitVocabulary(Link.AddressPointer) & 0xFF);
}

uint8_t ClearScreenCommand(const Command& c) {
    if (c.a != kConfirm) return 0;
    Engine.StatusRegister = kStatusOk;
    Dispatch(kOpClear, 0, 0);
    return c.first;
}

// Points past the screen are skipped, so this sets every pixel.
uint8_t FillScreen(const Command& c) {
    if (c.a != kConfirm) return 0;
    Engine.StatusRegister = kStatusOk;
    FillPattern(0, 0, kScreenWidth, kScreenHeight, 0xFFFF);
    return c.first;
}

// Bit 0 enables logo 0, bit 1 logo 1; an enable byte of 0 means enabled.
uint8_t EnableLogos(const Command& c) {
    if (WriteStoreByte(kLogoEnable0, (c.a & 1) ? 0 : 0xFF) != kStatusOk) return 0;
    if (WriteStoreByte(kLogoEnable1, (c.a & 2) ? 0 : 0xFF) != kStatusOk) return 0;
    return RefreshIf(c, true);
}

uint8_t StoreSettings(const Command& c) {
    if (c.a != kConfirm) return 0;
    for (uint8_t i = 0; i < 4; ++i) Engine.TagVariables[28 + i] = Link.DataBuffer[i];
    Link.AddressPointer = kSettingsDataBuffer;
    for (uint8_t i = 0; i < Link.DataLength; ++i) {
        if (WriteStoreByte(Link.AddressPointer, Link.DataBuffer[i]) != kStatusOk) break;
        Link.AddressPointer = static_cast<uint16_t>(Link.AddressPointer + 1);
    }
    Refresh();
    Engine.StatusRegister = kStatusOk;
    return c.first;
}

uint8_t SelectLogo(const Command& c) {
    if (c.a > 1) return 0;
    Link.AddressPointer = static_cast<uint16_t>(kLogoBitmap0 - kRecordSize * c.a);
    Link.DataLength = 0;
    Link.DataMode = kModeOneLogo;
    Engine.StatusRegister = kStatusOk;
    return c.first;
}

// -------------------------------------------------------- three-byte ---

uint8_t SetAnyVariable(const Command& c) {
    Engine.StatusRegister = kStatusOk;
    SetTagVariable(c.a, c.b);  // ignored for an index of 64 or more
    return c.first;
}

uint8_t RunAnyScript(const Command& c) { return RunScriptCommand(c, c.a, c.b); }

uint8_t SetPointer(const Command& c) {
    Engine.StatusRegister = kStatusOk;
    Link.AddressPointer = MakeWord(c.a, c.b);
    return c.first;
}

// The operands arrive low byte first and are stored high byte first.
uint8_t WriteWordAtPointer(const Command& c) {
    Engine.StatusRegister = WriteMemoryWord(MakeWord(c.b, c.a), Link.AddressPointer);
    if (Engine.StatusRegister != kStatusOk) return 0;
    Link.AddressPointer = static_cast<uint16_t>(Link.AddressPointer + 2);
    return c.first;
}

uint8_t DataBytePair(const Command& c) {
    if (Link.DataLength + 2 > kDataBufferHostBytes) return 0;
    AppendData(c.a);
    AppendData(c.b);
    return c.first;
}

uint8_t RemoveLanguage(const Command& c) {
    if (c.b != kConfirm) return 0;
    return RefreshIf(c, RemoveLanguageEverywhere(c.a) == kStatusOk);
}

uint8_t Service(const Command& c) {
    if (c.a == kServiceOperand && c.b == kServiceOperand && gServiceHook) gServiceHook();
    return c.first;
}

}  // namespace

// clang-format off
const CommandRow kTwoByteCommands[] = {
    {0x40, 0x4F, "SET_VARIABLE",        CommandOperands::kNibbleAndValue,  SetVariable},
    {0x50, 0x5F, "RUN_SCRIPT",          CommandOperands::kNibbleAndValue,  RunNumberedScript},
    {0x60, 0x60, "DATA_BYTE",           CommandOperands::kDataByte,        DataByte},
    {0x61, 0x61, "SELECT_KEY",          CommandOperands::kKey,             SelectKey},
    {0x62, 0x62, "WRITE_BYTE",          CommandOperands::kValue,           WriteByteAtPointer},
    {0x63, 0x63, "CHECK_POINTER",       CommandOperands::kConfirm,         CheckPointer},
    {0x64, 0x64, "SET_LANGUAGE",        CommandOperands::kLanguage,        SetLanguage},
    {0x65, 0x65, "FREE_ICON_SLOT",      CommandOperands::kValue,           FreeSlot},
    {0x66, 0x66, "CLEAR_KEY",           CommandOperands::kKey,             ClearKey},
    {0x67, 0x67, "INIT_VOCABULARY",     CommandOperands::kConfirm,         InitVocabularyAtPointer},
    {0x68, 0x68, "CLEAR_SCREEN",        CommandOperands::kConfirm,         ClearScreenCommand},
    {0x69, 0x69, "FILL_SCREEN",         CommandOperands::kConfirm,         FillScreen},
    {0x6A, 0x6A, "ENABLE_LOGOS",        CommandOperands::kValue,           EnableLogos},
    {0x6B, 0x6B, "STORE_SETTINGS",      CommandOperands::kConfirm,         StoreSettings},
    {0x6C, 0x6C, "SELECT_LOGO",         CommandOperands::kValue,           SelectLogo},
};
const CommandRow kThreeByteCommands[] = {
    {0x80, 0x80, "SET_VARIABLE",        CommandOperands::kIndexAndValue,   SetAnyVariable},
    {0x81, 0x81, "RUN_SCRIPT",          CommandOperands::kIndexAndValue,   RunAnyScript},
    {0x82, 0x82, "SET_POINTER",         CommandOperands::kAddress,         SetPointer},
    {0x83, 0x83, "WRITE_WORD",          CommandOperands::kWordLowFirst,    WriteWordAtPointer},
    {0x84, 0x84, "DATA_BYTES",          CommandOperands::kDataBytes,       DataBytePair},
    {0x85, 0x85, "REMOVE_LANGUAGE",     CommandOperands::kLanguageAndConfirm, RemoveLanguage},
    {0x9F, 0x9F, "SERVICE",             CommandOperands::kValuePair,       Service},
};
// clang-format on
const uint8_t kTwoByteCommandCount = sizeof kTwoByteCommands / sizeof kTwoByteCommands[0];
const uint8_t kThreeByteCommandCount = sizeof kThreeByteCommands / sizeof kThreeByteCommands[0];

}  // namespace lcdm
