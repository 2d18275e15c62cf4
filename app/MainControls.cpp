// The window's controls: every position, size, caption, hint and list of the
// window's layout, in pixels inside the parent at 96 pixels per inch.
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include "Artwork.h"
#include "ColorPanel.h"
#include "Main.h"
#include "PictureBox.h"
#include "RadioGroup.h"
#include "ZorApplication.h"
#include "panel/Snapshot.h"

namespace zorsim {
namespace {

constexpr QRect kWindowGeometry{108, 109, 737, 615};  // outer frame

template <typename Control>
Control* Named(Control* control, const char* name, QRect geometry) {
    control->setObjectName(name);
    control->setGeometry(geometry);
    return control;
}

QPushButton* Button(const char* name, const QString& caption, QWidget* parent, QRect geometry) {
    return Named(new QPushButton(caption, parent), name, geometry);
}

// A label sizes itself to its caption, with its top left corner where given.
QLabel* Label(const char* name, const QString& caption, QWidget* parent, QPoint at) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->move(at);
    label->adjustSize();
    return label;
}

QComboBox* DropDownList(const char* name, QWidget* parent, QRect geometry) {
    return Named(new QComboBox(parent), name, geometry);
}

QGroupBox* Group(const char* name, const QString& caption, QWidget* parent, QRect geometry) {
    return Named(new QGroupBox(caption, parent), name, geometry);
}

PictureBox* Picture(const char* name, QWidget* parent, QRect geometry) {
    return Named(new PictureBox(parent), name, geometry);
}

}  // namespace

void TForm1::CreateControls() {
    setObjectName("Form1");
    setWindowTitle(kApplicationTitle);
    setWindowIcon(WindowIcon());
    // The window's font; where it is missing the closest sans serif face at
    // the same size stands in.
    QFont font("MS Sans Serif", 8);
    font.setStyleHint(QFont::SansSerif);
    setFont(font);
    setCentralWidget(new QWidget(this));
    CreatePlatePanel();
    CreateClockAndFunctionGroups();
    CreateTextAndIconGroups();
    Label2 = Label("Label2", "Version: " ZOR_VERSION, centralWidget(), {504, 544});
    CreateMenu();
    CreateTimers();
    // The frame's top left corner; the size is fitted to the frame once shown.
    move(kWindowGeometry.topLeft());
    resize(kWindowGeometry.size());
}

// The plate pictures lie at the bottom, the LCD picture over the plate's
// glass, the page key's click area on top: they stack in the order created.
void TForm1::CreatePlatePanel() {
    QWidget* window = centralWidget();
    LCDPanel = Named(new ColorPanel("LCDPanel", window), "LCDPanel", {16, 8, 345, 545});
    LCDPanel->SetColor(Qt::black);
    TalvarImage = Picture("TalvarImage", LCDPanel, {24, 16, 297, 473});
    TalvarImage->SetPicture(TalvarPlate());
    TalvarImage->SetStretch(true, true);
    KAIImage = Picture("KAIImage", LCDPanel, {24, 16, 297, 473});
    KAIImage->SetPicture(KaiPlate());
    KAIImage->SetStretch(true, true);
    KAIImage->hide();
    LCDimage = Picture("LCDimage", LCDPanel, {105, 123, 128, 256});
    LCDimage->SetPicture(lcd_.Image());
    LCDimage->setToolTip("LCD screen");
    Image1 = Picture("Image1", LCDPanel, {240, 328, 73, 65});
    SaveLCDButton = Button("SaveLCDButton", "Save LCD Image", LCDPanel, {24, 504, 113, 25});
    PageButton = Button("PageButton", "Next Page", LCDPanel, {208, 504, 113, 25});

    ZORLogo = Picture("ZORLogo", window, {376, 40, 345, 89});
    ZORLogo->SetPicture(Logo());
    ZORLogo->SetStretch(true, true);
    ZORType = Named(new RadioGroup("Style Selection", {"Orto Talvar", "KAI"}, 2, window), "ZORType",
                    {376, 152, 345, 65});
    ZORType->SetItemIndex(0);
}

void TForm1::CreateClockAndFunctionGroups() {
    QWidget* window = centralWidget();
    NextGroup = Group("NextGroup", "Clock Selection", window, {376, 224, 345, 65});
    TimeButton = Button("TimeButton", "Set Time", NextGroup, {40, 24, 113, 25});
    NextButton = Button("NextButton", "Use 'Next' Icon", NextGroup, {192, 24, 113, 25});

    SliderGroup = Group("SliderGroup", "Button Functions", window, {376, 296, 345, 65});
    ButtonKeyLabel = Label("ButtonKeyLabel", "Key:", SliderGroup, {8, 26});
    FunctionKey = DropDownList("FunctionKey", SliderGroup, {32, 24, 41, 21});
    ButtonFunction = DropDownList("ButtonFunction", SliderGroup, {88, 24, 121, 21});
    KeyFunctionButton = Button("KeyFunctionButton", "Send", SliderGroup, {224, 24, 113, 25});
}

void TForm1::CreateTextAndIconGroups() {
    QWidget* window = centralWidget();
    GroupBox3 = Group("GroupBox3", "Text Label", window, {376, 368, 345, 73});
    TextKeyLabel = Label("TextKeyLabel", "Key:", GroupBox3, {8, 34});
    TextComboBox = DropDownList("TextComboBox", GroupBox3, {32, 32, 41, 21});
    TextLabel = Named(new QLineEdit("Text", GroupBox3), "TextLabel", {88, 32, 121, 21});
    TextLabel->setToolTip("Text");
    TextLabelButton = Button("TextLabelButton", "Send", GroupBox3, {224, 32, 113, 25});

    GroupBox6 = Group("GroupBox6", "Dynamic Icon", window, {376, 448, 345, 89});
    DIKeyLabel = Label("DIKeyLabel", "Key:", GroupBox6, {8, 34});
    DIComboBox = DropDownList("DIComboBox", GroupBox6, {32, 32, 41, 21});
    DIImage = Picture("DIImage", GroupBox6, {88, 24, 124, 32});
    DIImage->SetStretch(true);
    DIImage->setToolTip("Icon");
    OpenDIButton = Button("OpenDIButton", "Open", GroupBox6, {224, 32, 57, 25});
    OpenDIButton->setToolTip("Click to open a bitmap");
    SendDIButton = Button("SendDIButton", "Send", GroupBox6, {288, 32, 49, 25});
    SendDIButton->setToolTip("Click to load bitmap to button");
    IconHeight = Label("IconHeight", "Icon Height: 16 pixels", GroupBox6, {8, 64});
    IconWidth = Label("IconWidth", "Icon Width: 62 pixels", GroupBox6, {176, 64});

    OpenDIDialog.title = "Open file";
    OpenDIDialog.filter = "Bitmap (*.bmp);;All files (*)";
    OpenDIDialog.initialFolder = ".";
    // The platform's usual save dialog caption; the name and extension are
    // the window's own.
    SaveLCDDialog.title = "Save As";
    // BMP first and by default; the name's extension picks any other format.
    SaveLCDDialog.filter = QString::fromStdString(panel::SnapshotFilter());
    SaveLCDDialog.fileName = "ZOR";
    SaveLCDDialog.defaultSuffix = "bmp";
}

void TForm1::CreateMenu() {
    MainMenu1 = menuBar();
    MainMenu1->setObjectName("MainMenu1");
    Files1 = MainMenu1->addMenu("File");
    Files1->setObjectName("Files1");
    TextTags1 = Files1->addAction("Save LCD Image");
    TextTags1->setObjectName("TextTags1");
    N1 = Files1->addSeparator();
    N1->setObjectName("N1");
    Exit1 = Files1->addAction("Exit");
    Exit1->setObjectName("Exit1");
    About1 = MainMenu1->addAction("About");
    About1->setObjectName("About1");
}

void TForm1::CreateTimers() {
    Timer2 = new QTimer(this);
    Timer2->setObjectName("Timer2");
    Timer2->setInterval(100);
    SplashTimer = new QTimer(this);
    SplashTimer->setObjectName("SplashTimer");
    SplashTimer->setInterval(2000);
}

// The layout gives the outer size, frame and title bar included. Once the
// window is on the screen and the frame's size is known, the inside is
// shrunk by it; without a frame (no window manager) inside and outside agree.
void TForm1::FitOuterSize() {
    const QMargins frame = windowHandle() != nullptr ? windowHandle()->frameMargins() : QMargins();
    resize(kWindowGeometry.width() - frame.left() - frame.right(),
           kWindowGeometry.height() - frame.top() - frame.bottom());
}

}  // namespace zorsim
