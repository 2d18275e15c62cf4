#include "panel/Handlers.h"

#include "Lcdm.h"
#include "panel/Encoders.h"

namespace panel {
namespace {

// Tag variables and scripts the front panel uses.
constexpr uint8_t kVarMinutes = 11;
constexpr uint8_t kVarHours = 12;
constexpr uint8_t kVarNextIcon = 25;
constexpr uint8_t kScriptShowPage = 9;
constexpr uint8_t kScriptRefresh = 10;
constexpr uint8_t kScriptClockSet = 11;
constexpr uint8_t kRedrawCurrentPage = 255;
constexpr uint8_t kLabelLanguage = 1;

}  // namespace

uint8_t KeyFunctionCode(int functionIndex) {
    switch (functionIndex) {
        case 1: return 0x22;   // Dimmer
        case 2: return 0x10;   // Timer
        case 3: return 0x04;   // Scene
        default: return 0x01;  // Toggle, and what a key gets with nothing selected
    }
}

void PageButtonClick(HostPort& port, PanelState& state) {
    state.PageFlag = static_cast<uint8_t>(1 - state.PageFlag);
    SendRunScript(port, kScriptShowPage, state.PageFlag);
}

void KeyFunctionButtonClick(HostPort& port, uint8_t key, int functionIndex) {
    // With no key selected the code lands in tag variable 0, as the window does.
    SendSetVariable(port, key, KeyFunctionCode(functionIndex));
    SendRunScript(port, kScriptRefresh, kRedrawCurrentPage);
}

void TimeButtonClick(HostPort& port, uint8_t hour, uint8_t minute) {
    SendSetVariable(port, kVarMinutes, minute);
    SendSetVariable(port, kVarHours, hour);
    SendRunScript(port, kScriptClockSet, kRedrawCurrentPage);
}

void NextButtonClick(HostPort& port) {
    SendSetVariable(port, kVarNextIcon, 0);
    SendRunScript(port, kScriptRefresh, kRedrawCurrentPage);
}

uint8_t TextLabelButtonClick(HostPort& port, uint8_t key, std::string_view text) {
    port.Send(0x09);  // empty the data buffer, end any block read
    SendDataByte(port, kLabelLanguage);
    // The module keeps 18 data bytes, so only 17 characters get in; the rest
    // are refused and the window does not look.
    for (char c : text) SendDataByte(port, static_cast<uint8_t>(c));
    const uint8_t link = port.Send(0x61);
    // The module refuses key 0 (no key selected). Executing the data buffer
    // then would act in whatever data mode an earlier command left — writing
    // the label's bytes into module memory, the label store or an icon's data
    // area — so the label is stored only when the key was taken.
    const bool keyTaken =
        link == lcdm::kLinkMore && port.Send(key) == lcdm::kLinkDone && port.LastReply() == 0x61;
    if (keyTaken) port.Send(0x24);
    return link;
}

}  // namespace panel
