#include "Lcddriver_gui.h"

#include <QCoreApplication>
#include <cstring>

#include "Lcdm.h"
#include "Main.h"

namespace zorsim {
namespace {

uint64_t gPumpPasses = 0;

// The program is ending: the wait is over at once and the run that waited
// stops at its next tag as if it had reached its end, so that every script
// waiting further up returns promptly too.
void EndWaitingRun() {
    lcdm::Engine.DelayCounter = 0;
    lcdm::Engine.StatusRegister = lcdm::kStatusEnded;
}

}  // namespace

LcdBitmap::LcdBitmap()
    : picture_(std::make_unique<panel::LcdPicture>()),
      image_(picture_->Row(0), panel::kPictureWidth, panel::kPictureHeight, panel::kPictureRowBytes,
             QImage::Format_Mono) {
    image_.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
}

bool LcdBitmap::Render() {
    const panel::LcdPicture before = *picture_;
    panel::RenderLcd(*picture_);
    return std::memcmp(before.Row(0), picture_->Row(0),
                       panel::kPictureRowBytes * panel::kPictureHeight) != 0;
}

uint8_t RenderLcdAndPump() {
    ++gPumpPasses;
    if (Form1 == nullptr || Form1->Quitting()) {
        EndWaitingRun();
        return 0;
    }
    Form1->RenderLcd();
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    if (Form1 == nullptr || Form1->Quitting()) EndWaitingRun();
    return 0;
}

uint64_t PumpPasses() {
    return gPumpPasses;
}

}  // namespace zorsim
