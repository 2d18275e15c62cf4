#include "panel/IconUpload.h"

#include "Lcdm.h"
#include "panel/Encoders.h"

namespace panel {
namespace {

// The icon's identity in the module: language 1, id (0, key), drawn 10 rows
// below a label's top.
constexpr uint8_t kIconLanguage = 1;
constexpr uint8_t kIconIdHigh = 0;
constexpr uint8_t kVerticalOffset = 10;
// A label entry that refers to a dynamic icon rather than holding text.
constexpr uint8_t kIconReference = 1;

constexpr uint8_t kEmptyDataBuffer = 0x09;
constexpr uint8_t kBeginIconMode = 0x20;
constexpr uint8_t kAppendIconMode = 0x21;
constexpr uint8_t kFinishIcon = 0x22;
constexpr uint8_t kExecute = 0x24;
constexpr uint8_t kSelectKey = 0x61;

// 60 b, 21, 24 for each byte of each row: every icon byte travels alone in
// the data buffer and is appended at once. The bytes are inverted so that a
// set bit is a dark pixel, as in the frame buffer.
bool AppendRows(HostPort& port, const IconPicture& picture) {
    for (int y = 0; y < picture.Height(); ++y) {
        for (int j = 0; 8 * j < picture.Width(); ++j) {
            port.Send(0x60);
            port.Send(static_cast<uint8_t>(~picture.Row(y)[j]));
            port.Send(kAppendIconMode);
            port.Send(kExecute);
            if (port.LastReply() != kExecute) return false;
        }
    }
    return true;
}

}  // namespace

bool SendDIButtonClick(HostPort& port, IconPicture& picture, uint8_t key,
                       const IconErrorBox& showError) {
    port.Send(kEmptyDataBuffer);
    FitIconSize(picture);

    port.Send(kBeginIconMode);
    for (uint8_t byte : {kIconLanguage, kIconIdHigh, key, static_cast<uint8_t>(picture.Width()),
                         static_cast<uint8_t>(picture.Height()), kVerticalOffset})
        SendDataByte(port, byte);
    port.Send(kExecute);
    if (port.LastReply() != kExecute) {
        showError(kIconNoRoomText);
        return false;
    }
    if (!AppendRows(port, picture)) {
        showError(kIconAppendText);
        return false;
    }
    port.Send(kFinishIcon);
    // An icon the module could not finish is still made the key's label.
    if (port.LastReply() != kFinishIcon) showError(kIconFinishText);

    for (uint8_t byte : {kIconLanguage, kIconReference, kIconIdHigh, key}) SendDataByte(port, byte);
    // The module refuses key 0 (no key selected). Executing the data buffer
    // then would still be in append mode and add the four label bytes to the
    // icon's data area, so the label is stored only when the key was taken.
    const bool keyTaken = port.Send(kSelectKey) == lcdm::kLinkMore &&
                          port.Send(key) == lcdm::kLinkDone && port.LastReply() == kSelectKey;
    if (keyTaken) port.Send(kExecute);
    return true;
}

}  // namespace panel
