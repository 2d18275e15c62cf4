// The LCD picture of the window and the module's way back into the window.
//
// The picture is the bitmap `LCDimage` holds: 128 x 256 pixels at one bit,
// palette index 0 black and 1 white. Its rows are the rows of a
// panel::LcdPicture, so the renderer writes them directly and "Save LCD
// Image" writes the very bytes shown.
#pragma once

#include <QImage>
#include <cstdint>
#include <memory>

#include "panel/LcdPicture.h"

namespace zorsim {

class LcdBitmap {
public:
    // All white, as the window sets the bitmap up.
    LcdBitmap();

    // The bitmap for painting; it shares the picture's rows, so it always
    // shows the last rendering.
    const QImage& Image() const { return image_; }
    const panel::LcdPicture& Picture() const { return *picture_; }

    // Redraws the picture from the frame buffer. Returns true when any pixel
    // changed, so that the control is repainted only then.
    bool Render();

private:
    std::unique_ptr<panel::LcdPicture> picture_;
    QImage image_;
};

// The DELAY hook: redraws the LCD picture, then lets the window handle its
// events, blocking until one arrives (the 100 ms timer that counts the wait
// down guarantees one), so a wait costs no processor time. Once the window
// is closing it ends the waiting run instead. Always returns 0.
uint8_t RenderLcdAndPump();

// Passes through RenderLcdAndPump since the program started; a wait of n
// ticks takes about n passes when the pump blocks as it should.
uint64_t PumpPasses();

}  // namespace zorsim
