#include "GifRecording.h"

#include <QAction>
#include <QMenu>
#include <QPainter>
#include <QTimer>
#include <memory>

#include "ColorPanel.h"
#include "Desktop.h"
#include "Main.h"
#include "PictureBox.h"
#include "RadioGroup.h"
#include "ZorApplication.h"
#include "files/Files.h"

namespace zorsim {
namespace {

panel::GifColor GifColor(QRgb colour) {
    return {static_cast<uint8_t>(qRed(colour)), static_cast<uint8_t>(qGreen(colour)),
            static_cast<uint8_t>(qBlue(colour))};
}

QRgb QRgbOf(const panel::GifColor& colour) {
    return qRgb(colour.red, colour.green, colour.blue);
}

// The palette entry nearest to `colour`.
uint8_t Nearest(const std::vector<panel::GifColor>& palette, QRgb colour) {
    int best = 0, bestDistance = INT32_MAX;
    for (size_t i = 0; i < palette.size(); ++i) {
        const int dr = palette[i].red - qRed(colour), dg = palette[i].green - qGreen(colour),
                  db = palette[i].blue - qBlue(colour);
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            best = static_cast<int>(i);
            bestDistance = distance;
        }
    }
    return static_cast<uint8_t>(best);
}

}  // namespace

GifRecording::GifRecording(TForm1& form) : QObject(&form), form_(form) {
    RecordGif = new QAction("Record GIF...", &form);
    RecordGif->setObjectName("RecordGif");
    GifWithPlate = new QAction("GIF With Front Plate", &form);
    GifWithPlate->setObjectName("GifWithPlate");
    GifWithPlate->setCheckable(true);
    StopGif = new QAction("Stop GIF Recording", &form);
    StopGif->setObjectName("StopGif");
    StopGif->setEnabled(false);
    // The last of the File menu's own items, before the separator and "Exit".
    for (QAction* action : {RecordGif, GifWithPlate, StopGif})
        form.Files1->insertAction(form.N1, action);
    connect(RecordGif, &QAction::triggered, this, &GifRecording::RecordClick);
    connect(StopGif, &QAction::triggered, this, &GifRecording::StopClick);
}

// The picture without the LCD, quantised once: the plate as the window shows
// it (on the panel's colour), or the LCD's white alone.
void GifRecording::SetUpPlate() {
    palette_ = panel::kLcdGifPalette;
    black_ = 0;
    white_ = 1;
    lcdLeft_ = lcdTop_ = 0;
    width_ = panel::kPictureWidth;
    height_ = panel::kPictureHeight;
    ground_.assign(static_cast<size_t>(width_) * height_, white_);
    if (!GifWithPlate->isChecked()) return;

    PictureBox* plate = form_.ZORType->ItemIndex() == 0 ? form_.TalvarImage : form_.KAIImage;
    const QRect area = plate->geometry();
    QImage picture(area.size(), QImage::Format_RGB32);
    picture.fill(form_.LCDPanel->Color());
    {
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRect(QPoint(0, 0), area.size()), plate->Picture());
    }
    const QImage indexed = picture.convertToFormat(QImage::Format_Indexed8);
    palette_.clear();
    for (QRgb colour : indexed.colorTable()) palette_.push_back(GifColor(colour));
    // The LCD's black and white exactly, where the palette has room.
    for (QRgb pure : {qRgb(0, 0, 0), qRgb(255, 255, 255)})
        if (palette_.size() < 256 && QRgbOf(palette_[Nearest(palette_, pure)]) != pure)
            palette_.push_back(GifColor(pure));
    black_ = Nearest(palette_, qRgb(0, 0, 0));
    white_ = Nearest(palette_, qRgb(255, 255, 255));
    width_ = area.width();
    height_ = area.height();
    ground_.resize(static_cast<size_t>(width_) * height_);
    for (int y = 0; y < height_; ++y)
        std::copy_n(indexed.constScanLine(y), width_,
                    ground_.begin() + static_cast<long>(y) * width_);
    lcdLeft_ = form_.LCDimage->x() - area.x();
    lcdTop_ = form_.LCDimage->y() - area.y();
}

bool GifRecording::Start(const QString& fileName, QString& error) {
    auto file = std::make_unique<files::StreamedFile>();
    std::string why;
    if (!file->Open(fileName.toStdString(), why)) {
        error = QString::fromStdString(why);
        return false;
    }
    SetUpPlate();
    stream_.Open(std::move(file), fileName.toStdString(), width_, height_, palette_,
                 "made by zorsim " ZOR_VERSION);
    clock_.start();
    failureShown_ = false;
    TakePicture();
    RecordGif->setEnabled(false);
    GifWithPlate->setEnabled(false);
    StopGif->setEnabled(true);
    return true;
}

void GifRecording::TakePicture() {
    indices_ = ground_;
    const panel::LcdPicture& lcd = form_.Lcd().Picture();
    for (int y = 0; y < panel::kPictureHeight; ++y) {
        uint8_t* row = indices_.data() + static_cast<size_t>(y + lcdTop_) * width_ + lcdLeft_;
        for (int x = 0; x < panel::kPictureWidth; ++x) row[x] = lcd.IsBlack(x, y) ? black_ : white_;
    }
    stream_.Picture(indices_.data(), clock_.elapsed());
    // A file that can take no more is said once, after the event that drew
    // the picture (a script's wait may be under way).
    if (stream_.Failed() && !failureShown_) {
        failureShown_ = true;
        QTimer::singleShot(0, this, &GifRecording::StopClick);
    }
}

void GifRecording::LcdChanged() {
    if (Recording()) TakePicture();
}

bool GifRecording::Stop(QString& error) {
    if (!Recording()) return true;
    std::string why;
    const bool written = stream_.Finish(clock_.elapsed(), why);
    if (!written) error = QString::fromStdString(why);
    RecordGif->setEnabled(true);
    GifWithPlate->setEnabled(true);
    StopGif->setEnabled(false);
    return written;
}

void GifRecording::RecordClick() {
    FileDialogSettings dialog;
    dialog.title = "Record GIF";
    dialog.filter = "GIF animation (*.gif)";
    dialog.fileName = "recording.gif";
    dialog.defaultSuffix = "gif";
    const QString fileName = CurrentDesktop().SaveFile(&form_, dialog);
    if (fileName.isEmpty()) return;
    QString error;
    if (!Start(fileName, error)) {
        ShowErrorSentence(&form_, error);
    }
}

void GifRecording::StopClick() {
    QString error;
    if (!Stop(error)) {
        ShowErrorSentence(&form_, error);
    }
}

}  // namespace zorsim
