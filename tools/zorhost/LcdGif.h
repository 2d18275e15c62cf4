// record-gif ... stop-gif: what the LCD shows, as the window shows it
// (128 x 256, black and white), recorded in the session's virtual time as an
// animated GIF. The LCD is looked at after every script line and at every
// tick of the 100 ms timer; a change seen at a tick was drawn in the tenth of
// a second before it, and changes within one instant give one picture.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "files/Files.h"
#include "panel/GifStream.h"
#include "panel/LcdPicture.h"

namespace zorhost {

// One tick of the 100 ms timer in virtual time.
inline constexpr int64_t kTickMs = 100;

class LcdGif {
public:
    // Records into `out` (the file named `name` in messages), from `ticks`
    // on; `where` ("FILE:LINE") is where the recording was asked for.
    LcdGif(std::unique_ptr<files::ByteSink> out, std::string name, std::string where,
           uint64_t ticks);

    // The LCD as it is at virtual time `ticks`.
    void Look(uint64_t ticks);
    // Writes the last picture, shown until `ticks`, and puts the file in place.
    bool Finish(uint64_t ticks, std::string& error);
    bool Failed() const { return stream_.Failed(); }

    const std::string& Name() const { return name_; }
    const std::string& Where() const { return where_; }
    // "N frames, S.S s", what was written.
    std::string Summary() const;

private:
    int64_t Milliseconds(uint64_t ticks) const {
        return static_cast<int64_t>(ticks - startTicks_) * kTickMs;
    }

    panel::GifStream stream_;
    std::string name_;
    std::string where_;
    uint64_t startTicks_;
    std::vector<uint8_t> frameBuffer_;  // as last looked at: unchanged means nothing to draw
    panel::LcdPicture picture_;
    std::vector<uint8_t> indices_;
};

}  // namespace zorhost
