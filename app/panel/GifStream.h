// Animated GIF recordings of what the LCD shows, written while they are
// made. Each picture is written once the next one (or the end) tells how
// long it was shown, so a recording holds two pictures in memory however
// long it runs; the file goes where it belongs only when the recording is
// finished (files/Files.h), and an abandoned one leaves nothing behind.
//
// Times are the caller's: virtual time in zorhost, the clock in the window.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "files/Files.h"
#include "panel/LcdPicture.h"

namespace panel {

struct GifColor {
    uint8_t red = 0, green = 0, blue = 0;
};

// A GIF shows a picture for whole hundredths of a second, and viewers show
// one of less than two hundredths for a tenth instead: a picture replaced
// sooner than this is not written, the one after it takes its place.
inline constexpr int64_t kShortestGifDelayMs = 20;

class GifStream {
public:
    GifStream();
    ~GifStream();  // a recording not finished is abandoned
    GifStream(const GifStream&) = delete;
    GifStream& operator=(const GifStream&) = delete;

    // Starts a recording of width x height pictures of palette indices into
    // `out`, an opened file (files::StreamedFile) shown as `name` in
    // messages; the palette has 2 to 256 colours; `comment` is kept in the
    // file (which program made it).
    void Open(std::unique_ptr<files::ByteSink> out, const std::string& name, int width, int height,
              std::vector<GifColor> palette, const std::string& comment);
    // The picture shown from `milliseconds` after the recording began (never
    // earlier than the last picture's time); one equal to the last is no
    // change. The first picture begins the recording's time.
    void Picture(const uint8_t* indices, int64_t milliseconds);
    // Writes the last picture, shown until `milliseconds`, and the file's end,
    // and puts the file in place; false with `error` when any write failed
    // (nothing is then left of the file).
    bool Finish(int64_t milliseconds, std::string& error);
    void Abandon();

    bool IsOpen() const;
    // A write failed; Finish says why.
    bool Failed() const;
    // Pictures written to the file so far, and the time they cover.
    int FramesWritten() const { return framesWritten_; }
    int64_t WrittenMs() const { return writtenCs_ * 10; }

private:
    struct Encoder;
    void WritePending(int64_t endCs);
    void WriteFrame(int left, int top, int width, int height, int64_t delayCs);

    std::unique_ptr<Encoder> encoder_;
    std::unique_ptr<files::ByteSink> file_;
    std::string name_;
    int width_ = 0, height_ = 0;
    std::vector<uint8_t> shown_;    // the picture the file shows so far
    std::vector<uint8_t> pending_;  // the latest picture, not yet written
    bool havePending_ = false;
    int64_t pendingStartMs_ = 0;
    int64_t writtenCs_ = 0;  // where the written frames end, in hundredths
    int framesWritten_ = 0;
};

// The LCD picture as GIF pictures show it: black and white, as the window.
inline const std::vector<GifColor> kLcdGifPalette = {{0, 0, 0}, {255, 255, 255}};
// Its 128 x 256 pixels as indices into kLcdGifPalette.
void LcdGifPicture(const LcdPicture& picture, std::vector<uint8_t>& indices);

}  // namespace panel
