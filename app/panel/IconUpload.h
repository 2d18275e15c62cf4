// "Send" in the "Dynamic Icon" group: the icon picture loaded into the module
// as the dynamic icon of a key, and made that key's language-1 label.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "panel/HostPort.h"
#include "panel/IconPicture.h"

namespace panel {

// The module's refusals, as the error boxes say them.
inline constexpr const char* kIconNoRoomText = "Cannot find free room for dynamic icon";
inline constexpr const char* kIconAppendText = "Error while appending dynamic icon";
inline constexpr const char* kIconFinishText = "Cannot write this dynamic icon";

// Shows an error box with one of the texts above, at the moment the module
// refused; the upload stops or goes on when it returns.
using IconErrorBox = std::function<void(const std::string& text)>;

// Sends the icon for key `key` (1 to 8; 0 when no key is selected). The
// picture is cropped or extended to 62 x 16 first when it is larger, and
// keeps that shape afterwards, as the group shows it. Returns true when the
// upload went on to the key's label, so that the LCD picture is to be
// redrawn; false when it stopped at an error (the first two texts).
bool SendDIButtonClick(HostPort& port, IconPicture& picture, uint8_t key,
                       const IconErrorBox& showError);

}  // namespace panel
