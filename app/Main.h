// The simulator's window: the front plate with the module's LCD in it, and
// the controls with which the user plays the host. The form only builds its
// controls and hands each event to the front panel's logic (app/panel); the
// module state it talks to lives in the module, for the whole run.
#pragma once

#include <QHash>
#include <QMainWindow>

#include "Desktop.h"
#include "Lcddriver_gui.h"
#include "panel/Handlers.h"
#include "panel/HostPort.h"
#include "panel/IconPicture.h"

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QTimer;

namespace zorsim {

class ColorPanel;
class GifRecording;
class HostRecording;
class LinkMenu;
class Workbench;
class PictureBox;
class RadioGroup;

class TForm1 : public QMainWindow {
    Q_OBJECT

public:
    // Builds the window and runs FormCreate: the module is prepared through
    // `port`, which the form uses for every host byte from then on.
    explicit TForm1(panel::HostPort& port, QWidget* parent = nullptr);
    ~TForm1() override;

    // ---- controls, named as the window's description names them ----
    ColorPanel* LCDPanel;
    PictureBox* TalvarImage;
    PictureBox* KAIImage;
    PictureBox* LCDimage;
    PictureBox* Image1;
    QPushButton* SaveLCDButton;
    QPushButton* PageButton;
    PictureBox* ZORLogo;
    RadioGroup* ZORType;
    QGroupBox* NextGroup;
    QPushButton* TimeButton;
    QPushButton* NextButton;
    QGroupBox* SliderGroup;
    QLabel* ButtonKeyLabel;
    QComboBox* FunctionKey;
    QComboBox* ButtonFunction;
    QPushButton* KeyFunctionButton;
    QGroupBox* GroupBox3;
    QLabel* TextKeyLabel;
    QComboBox* TextComboBox;
    QLineEdit* TextLabel;
    QPushButton* TextLabelButton;
    QGroupBox* GroupBox6;
    QLabel* DIKeyLabel;
    QComboBox* DIComboBox;
    PictureBox* DIImage;
    QPushButton* OpenDIButton;
    QPushButton* SendDIButton;
    QLabel* IconHeight;
    QLabel* IconWidth;
    QLabel* Label2;
    QMenuBar* MainMenu1;
    QMenu* Files1;
    QAction* TextTags1;
    QAction* N1;
    QAction* Exit1;
    QAction* About1;
    QTimer* Timer2;
    QTimer* SplashTimer;
    LinkMenu* Link;  // the Link menu and the byte link to an outside host program
    HostRecording* Recording;  // File > Record Host Bytes... / Stop Recording
    GifRecording* Gif;         // File > Record GIF... / Stop GIF Recording
    Workbench* Bench;          // vocabularies, the debugger and the docks (View > Module Tools)
    FileDialogSettings OpenDIDialog;
    FileDialogSettings SaveLCDDialog;

    // ---- event handlers ----
    void FormCreate();
    void FormActivate();
    void FormClose();
    void Exit1Click();
    void About1Click();
    void Timer2Timer();
    void SplashTimerTimer();
    void ZORTypeClick();
    void PageButtonClick();
    void TextLabelButtonClick();
    void KeyFunctionButtonClick();
    void TimeButtonClick();
    void NextButtonClick();
    void OpenDIButtonClick();
    void SendDIButtonClick();
    void SaveLCDButtonClick();
    void btnInitVocClick();

    // Redraws the LCD picture from the module's frame buffer.
    void RenderLcd();
    // True once the window is closing: a script's wait then ends at once.
    bool Quitting() const { return quitting_; }
    // While a host program is connected, the controls that send host bytes
    // rest (disabled, `why` as their tooltip); Save LCD Image and the plate
    // style stay.
    void SetHostControlsResting(bool resting, const QString& why);
    // The module and the window's own start again, as at program start.
    void ResetModule();

    const panel::PanelState& State() const { return state_; }
    const panel::IconPicture& Icon() const { return icon_; }
    const LcdBitmap& Lcd() const { return lcd_; }

signals:
    // The start-up screen has made way for page 0.
    void StartupEnded();

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // MainControls.cpp: the controls with their geometry, captions and hints.
    void CreateControls();
    void CreatePlatePanel();
    void CreateClockAndFunctionGroups();
    void CreateTextAndIconGroups();
    void CreateMenu();
    void CreateTimers();
    void ConnectHandlers();
    void FitOuterSize();

    void ShowError(const std::string& text);

    panel::HostPort& port_;
    panel::PanelState state_;
    panel::IconPicture icon_;
    LcdBitmap lcd_;
    bool quitting_ = false;
    QHash<QWidget*, QString> restingTooltips_;  // the tooltips the resting controls had
    bool activating_ = false;
};

// The one window of the program while it exists, for the module's DELAY hook.
extern TForm1* Form1;

}  // namespace zorsim
