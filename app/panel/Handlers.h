// The front panel's handlers that talk to the module, as plain functions over
// a host port: what each control sends, byte for byte. The values a window
// reads from its controls arrive as arguments. Every handler here is followed
// by a redraw of the LCD picture; that is the caller's part, since only the
// caller has a picture.
#pragma once

#include <cstdint>
#include <string_view>

#include "panel/HostPort.h"

namespace panel {

// Front-panel state besides the controls.
struct PanelState {
    bool Activated = false;  // the first activation has done its start-up work
    uint8_t PageFlag = 0;    // page shown by the page key: 0 or 1
};

// A drop-down list's selected index (-1 = none) as a key number (0 = none).
inline constexpr uint8_t KeyFromIndex(int selectedIndex) {
    return selectedIndex < 0 ? 0 : static_cast<uint8_t>(selectedIndex + 1);
}

// Function list indices: 0 "Toggle", 1 "Dimmer", 2 "Timer", 3 "Scene".
inline constexpr int kNoFunction = -1;
// The key function code a script reads from the key's tag variable.
uint8_t KeyFunctionCode(int functionIndex);

// "Next Page" and the click area over the plate's lowest key.
void PageButtonClick(HostPort& port, PanelState& state);
// "Send" in "Button Functions": key 0 when no key is selected.
void KeyFunctionButtonClick(HostPort& port, uint8_t key, int functionIndex);
// "Set Time" with the local time, each value a plain byte (not BCD).
void TimeButtonClick(HostPort& port, uint8_t hour, uint8_t minute);
// "Use 'Next' Icon".
void NextButtonClick(HostPort& port);
// "Send" in "Text Label": the text one byte per character in the window's
// 8-bit character set. Returns the link code of 0x61 (7 when the key followed).
// When the module refuses the key (0, no key selected) nothing is stored.
uint8_t TextLabelButtonClick(HostPort& port, uint8_t key, std::string_view text);

}  // namespace panel
