// File > Record GIF... / Stop GIF Recording: what the LCD shows, recorded in
// real time as an animated GIF — the LCD doubled as the window shows it, or
// with "GIF With Front Plate" checked, inside the plate chosen when the
// recording began. Every change of the LCD picture is a picture of the GIF,
// shown for the time until the next; the pictures go to the file as they
// come, so a recording may run for as long as the window does.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <cstdint>
#include <vector>

#include "panel/GifStream.h"

class QAction;

namespace zorsim {

class TForm1;

class GifRecording : public QObject {
    Q_OBJECT

public:
    explicit GifRecording(TForm1& form);

    // Starts recording into `fileName`; false with `error` when the file
    // cannot be written.
    bool Start(const QString& fileName, QString& error);
    // Writes the last picture and puts the file in place; false with `error`
    // when it could not be written (nothing is then left of it).
    bool Stop(QString& error);
    bool Recording() const { return stream_.IsOpen(); }
    // The form's LCD picture changed.
    void LcdChanged();

    QAction* RecordGif;
    QAction* GifWithPlate;  // checkable: the GIF shows the front plate around the LCD
    QAction* StopGif;

private:
    void RecordClick();
    void StopClick();
    void SetUpPlate();
    void TakePicture();

    TForm1& form_;
    panel::GifStream stream_;
    QElapsedTimer clock_;
    int width_ = 0, height_ = 0;
    int lcdLeft_ = 0, lcdTop_ = 0;          // where the LCD lies in the picture
    uint8_t black_ = 0, white_ = 1;         // the LCD's colours in the palette
    std::vector<uint8_t> ground_;           // the picture without the LCD, as indices
    std::vector<panel::GifColor> palette_;  // its colours
    std::vector<uint8_t> indices_;          // the picture being given
    bool failureShown_ = false;
};

}  // namespace zorsim
