#include "LcdGif.h"

#include <cstdio>
#include <cstring>

#include "Lcdm.h"

namespace zorhost {

LcdGif::LcdGif(std::unique_ptr<files::ByteSink> out, std::string name, std::string where,
               uint64_t ticks)
    : name_(std::move(name)), where_(std::move(where)), startTicks_(ticks) {
    stream_.Open(std::move(out), name_, panel::kPictureWidth, panel::kPictureHeight,
                 panel::kLcdGifPalette, "made by zorhost " ZOR_VERSION);
    Look(ticks);
}

void LcdGif::Look(uint64_t ticks) {
    const uint8_t* frame = lcdm::Graphics.FrameBuffer;
    if (frameBuffer_.size() == lcdm::kFrameBufferSize &&
        std::memcmp(frameBuffer_.data(), frame, lcdm::kFrameBufferSize) == 0)
        return;
    frameBuffer_.assign(frame, frame + lcdm::kFrameBufferSize);
    panel::RenderLcd(picture_);
    panel::LcdGifPicture(picture_, indices_);
    stream_.Picture(indices_.data(), Milliseconds(ticks));
}

bool LcdGif::Finish(uint64_t ticks, std::string& error) {
    Look(ticks);
    return stream_.Finish(Milliseconds(ticks), error);
}

std::string LcdGif::Summary() const {
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.1f", static_cast<double>(stream_.WrittenMs()) / 1000);
    const int frames = stream_.FramesWritten();
    return std::to_string(frames) + (frames == 1 ? " frame, " : " frames, ") + seconds + " s";
}

}  // namespace zorhost
