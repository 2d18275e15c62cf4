#include "Main.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

#include "Artwork.h"
#include "ColorPanel.h"
#include "GifRecording.h"
#include "HostRecording.h"
#include "Lcdm.h"
#include "LinkMenu.h"
#include "PictureBox.h"
#include "RadioGroup.h"
#include "ZorApplication.h"
#include "panel/IconFile.h"
#include "panel/IconUpload.h"
#include "panel/Snapshot.h"
#include "panel/Startup.h"
#include "workbench/Workbench.h"

namespace zorsim {

TForm1* Form1 = nullptr;

namespace {

const QStringList kKeyItems = {"1", "2", "3", "4", "5", "6", "7", "8"};
const QStringList kFunctionItems = {"Toggle", "Dimmer", "Timer", "Scene"};

}  // namespace

TForm1::TForm1(panel::HostPort& port, QWidget* parent) : QMainWindow(parent), port_(port) {
    CreateControls();
    Link = new LinkMenu(*this, port_);
    Recording = new HostRecording(*this, port_);
    Bench = new Workbench(*this, port_);
    Gif = new GifRecording(*this);
    ConnectHandlers();
    Form1 = this;
    lcdm::SetRenderLcdAndPump(&RenderLcdAndPump);
    FormCreate();
    Timer2->start();
    SplashTimer->start();
}

TForm1::~TForm1() {
    lcdm::SetRenderLcdAndPump(nullptr);
    if (Form1 == this) Form1 = nullptr;
}

void TForm1::ConnectHandlers() {
    connect(ZORType, &RadioGroup::Clicked, this, &TForm1::ZORTypeClick);
    connect(Image1, &PictureBox::Clicked, this, &TForm1::PageButtonClick);
    connect(PageButton, &QPushButton::clicked, this, &TForm1::PageButtonClick);
    connect(SaveLCDButton, &QPushButton::clicked, this, &TForm1::SaveLCDButtonClick);
    connect(TimeButton, &QPushButton::clicked, this, &TForm1::TimeButtonClick);
    connect(NextButton, &QPushButton::clicked, this, &TForm1::NextButtonClick);
    connect(KeyFunctionButton, &QPushButton::clicked, this, &TForm1::KeyFunctionButtonClick);
    connect(TextLabelButton, &QPushButton::clicked, this, &TForm1::TextLabelButtonClick);
    connect(OpenDIButton, &QPushButton::clicked, this, &TForm1::OpenDIButtonClick);
    connect(SendDIButton, &QPushButton::clicked, this, &TForm1::SendDIButtonClick);
    connect(TextTags1, &QAction::triggered, this, &TForm1::SaveLCDButtonClick);
    connect(Exit1, &QAction::triggered, this, &TForm1::Exit1Click);
    connect(About1, &QAction::triggered, this, &TForm1::About1Click);
    connect(Timer2, &QTimer::timeout, this, &TForm1::Timer2Timer);
    connect(SplashTimer, &QTimer::timeout, this, &TForm1::SplashTimerTimer);
}

// ------------------------------------------------------------- life cycle ---

void TForm1::FormCreate() {
    // The module work (label store, stacks, key functions, vocabulary); the
    // LCD picture was set up white with the form.
    Recording->Note("Start-up: the window is created");
    panel::FormCreate(port_);
    for (QComboBox* keys : {TextComboBox, DIComboBox, FunctionKey}) keys->addItems(kKeyItems);
    ButtonFunction->addItems(kFunctionItems);
    for (QComboBox* list : {TextComboBox, DIComboBox, FunctionKey, ButtonFunction})
        list->setCurrentIndex(0);
    icon_ = DefaultIcon();
    DIImage->SetPicture(panel::ToQImage(icon_));
}

void TForm1::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

void TForm1::FormActivate() {
    // The start-up script waits in DELAY and so lets further events in; an
    // activation arriving meanwhile must not start it again inside itself.
    if (activating_) return;
    activating_ = true;
    // The first activation comes after the window manager has framed the
    // window, so the frame's size is known by then.
    if (!state_.Activated) {
        FitOuterSize();
        Recording->Note("Start-up: the first activation shows the start-up screen");
    }
    panel::FormActivate(port_, state_);
    activating_ = false;
}

void TForm1::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}

void TForm1::FormClose() {
    // A recording still running is written as the window closes.
    QString error;
    if (Recording->Recording() && !Recording->Stop(error))
        std::fprintf(stderr, "zorsim: %s\n", error.toUtf8().constData());
    if (Gif->Recording() && !Gif->Stop(error))
        std::fprintf(stderr, "zorsim: %s\n", error.toUtf8().constData());
    quitting_ = true;
    Timer2->stop();
    SplashTimer->stop();
    lcdm::MemoryCloseHook();
}

void TForm1::Exit1Click() {
    close();
    QCoreApplication::quit();
}

void TForm1::About1Click() {
    CurrentDesktop().ShowMessage(this, kApplicationTitle,
                                 "ZOR Simulator " ZOR_VERSION
                                 "\n"
                                 "The LCD module of the ZOR wall key unit, with the window as its "
                                 "host.\n"
                                 "Module memory and labels start afresh at every run.");
}

void TForm1::Timer2Timer() {
    panel::Timer2Timer(port_);
}

void TForm1::SplashTimerTimer() {
    SplashTimer->stop();  // it fires once only
    Recording->Note("Start-up: page 0, two seconds after the start");
    panel::SplashTimerTimer(port_);
    RenderLcd();
    Link->StartupEnded();
    emit StartupEnded();
}

void TForm1::btnInitVocClick() {
    Recording->Note("Initialise the vocabulary");
    panel::btnInitVocClick(port_);
}

// ---------------------------------------------------------------- plates ---

void TForm1::ZORTypeClick() {
    const bool talvar = ZORType->ItemIndex() == 0;
    KAIImage->setVisible(!talvar);
    TalvarImage->setVisible(talvar);
    LCDPanel->SetColor(talvar ? Qt::black : Qt::white);
}

// ------------------------------------------------------- module handlers ---

void TForm1::PageButtonClick() {
    Recording->Note("Next Page");
    panel::PageButtonClick(port_, state_);
    RenderLcd();
}

void TForm1::TextLabelButtonClick() {
    // Characters outside the 8-bit character set arrive as '?'.
    const QByteArray text = TextLabel->text().toLatin1();
    Recording->Note("Text Label: key " + TextComboBox->currentText() + " \"" + TextLabel->text() +
                    "\"");
    panel::TextLabelButtonClick(
        port_, panel::KeyFromIndex(TextComboBox->currentIndex()),
        std::string_view(text.constData(), static_cast<size_t>(text.size())));
    RenderLcd();
}

void TForm1::KeyFunctionButtonClick() {
    Recording->Note("Button Functions: key " + FunctionKey->currentText() + " " +
                    ButtonFunction->currentText());
    panel::KeyFunctionButtonClick(port_, panel::KeyFromIndex(FunctionKey->currentIndex()),
                                  ButtonFunction->currentIndex());
    RenderLcd();
}

void TForm1::TimeButtonClick() {
    const QTime now = CurrentDesktop().LocalTime();
    Recording->Note("Set Time: " + now.toString("HH:mm"));
    panel::TimeButtonClick(port_, static_cast<uint8_t>(now.hour()),
                           static_cast<uint8_t>(now.minute()));
    RenderLcd();
}

void TForm1::NextButtonClick() {
    Recording->Note("Use 'Next' Icon");
    panel::NextButtonClick(port_);
    RenderLcd();
}

// ----------------------------------------------------------------- icons ---

void TForm1::OpenDIButtonClick() {
    const QString fileName = CurrentDesktop().OpenFile(this, OpenDIDialog);
    if (fileName.isEmpty()) return;
    std::string error;
    panel::IconPicture picture;
    if (panel::LoadIconFile(fileName.toStdString(), picture, error) !=
        panel::IconFileResult::kLoaded) {
        ShowError(error);  // the icon shown stays as it was
        return;
    }
    icon_ = std::move(picture);
    DIImage->SetPicture(panel::ToQImage(icon_));
}

void TForm1::SendDIButtonClick() {
    Recording->Note("Dynamic Icon: key " + DIComboBox->currentText());
    const bool redraw =
        panel::SendDIButtonClick(port_, icon_, panel::KeyFromIndex(DIComboBox->currentIndex()),
                                 [this](const std::string& text) {
                                     // The group shows the icon as it was sent.
                                     DIImage->SetPicture(panel::ToQImage(icon_));
                                     ShowError(text);
                                 });
    DIImage->SetPicture(panel::ToQImage(icon_));
    if (redraw) RenderLcd();
}

// ------------------------------------------------------------ LCD picture ---

void TForm1::RenderLcd() {
    // Repainting an unchanged picture would only post another event, which
    // would wake a waiting script's pump again and again.
    if (lcd_.Render()) {
        LCDimage->update();
        Gif->LcdChanged();
    }
    Bench->ModuleMayHaveChanged();
}

void TForm1::ResetModule() {
    Recording->Note("Reset Module: the module and the window's start again");
    lcdm::ModuleReset();
    state_ = panel::PanelState{};
    SplashTimer->stop();
    FormCreate();
    FormActivate();
    SplashTimer->start();
    RenderLcd();
}

void TForm1::SaveLCDButtonClick() {
    const QString fileName = CurrentDesktop().SaveFile(this, SaveLCDDialog);
    if (fileName.isEmpty()) return;
    std::string error;
    if (!panel::SaveSnapshot(lcd_.Picture(), fileName.toStdString(), error)) ShowError(error);
}

void TForm1::SetHostControlsResting(bool resting, const QString& why) {
    const std::initializer_list<QWidget*> controls = {
        PageButton,        Image1,          TimeButton,  NextButton,
        KeyFunctionButton, TextLabelButton, SendDIButton};
    for (QWidget* control : controls) {
        if (control->isEnabled() != resting) continue;  // already as asked
        if (resting) {
            restingTooltips_[control] = control->toolTip();
            control->setToolTip(why);
        } else {
            control->setToolTip(restingTooltips_.take(control));
        }
        control->setEnabled(!resting);
    }
}

void TForm1::ShowError(const std::string& text) {
    ShowErrorSentence(this, QString::fromStdString(text));
}

}  // namespace zorsim
