// The window as its layout describes it: every control's place, caption,
// hint and list, the menu, the timers, the artwork and its stacking.
#include <QAction>
#include <QDockWidget>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "ColorPanel.h"
#include "RadioGroup.h"
#include "window_fixture.h"

class LayoutTest : public QObject {
    Q_OBJECT

    std::unique_ptr<zortest::FormOnFreshModule> f;
    zortest::FakeDesktop desktop;

    zorsim::TForm1& form() { return f->form; }

private slots:
    void initTestCase() {
        f = std::make_unique<zortest::FormOnFreshModule>();
        QVERIFY(zortest::ShowAndActivate(form()));
    }
    void cleanupTestCase() { f.reset(); }

    void windowCaptionSizeAndFont() {
        QCOMPARE(form().windowTitle(), QString("ZOR Simulator"));
        QCOMPARE(form().frameGeometry().size(), QSize(737, 615));
        QCOMPARE(form().font().family(), QString("MS Sans Serif"));
        QCOMPARE(form().font().pointSize(), 8);
        QVERIFY(!form().windowIcon().isNull());
    }

    void controlsSitWhereTheLayoutPutsThem_data() {
        QTest::addColumn<QString>("parent");
        QTest::addColumn<QRect>("geometry");
        const auto row = [](const char* name, const char* parent, QRect geometry) {
            QTest::newRow(name) << QString(parent) << geometry;
        };
        row("LCDPanel", "", {16, 8, 345, 545});
        row("TalvarImage", "LCDPanel", {24, 16, 297, 473});
        row("KAIImage", "LCDPanel", {24, 16, 297, 473});
        row("LCDimage", "LCDPanel", {105, 123, 128, 256});
        row("Image1", "LCDPanel", {240, 328, 73, 65});
        row("SaveLCDButton", "LCDPanel", {24, 504, 113, 25});
        row("PageButton", "LCDPanel", {208, 504, 113, 25});
        row("ZORLogo", "", {376, 40, 345, 89});
        row("ZORType", "", {376, 152, 345, 65});
        row("NextGroup", "", {376, 224, 345, 65});
        row("TimeButton", "NextGroup", {40, 24, 113, 25});
        row("NextButton", "NextGroup", {192, 24, 113, 25});
        row("SliderGroup", "", {376, 296, 345, 65});
        row("FunctionKey", "SliderGroup", {32, 24, 41, 21});
        row("ButtonFunction", "SliderGroup", {88, 24, 121, 21});
        row("KeyFunctionButton", "SliderGroup", {224, 24, 113, 25});
        row("GroupBox3", "", {376, 368, 345, 73});
        row("TextComboBox", "GroupBox3", {32, 32, 41, 21});
        row("TextLabel", "GroupBox3", {88, 32, 121, 21});
        row("TextLabelButton", "GroupBox3", {224, 32, 113, 25});
        row("GroupBox6", "", {376, 448, 345, 89});
        row("DIComboBox", "GroupBox6", {32, 32, 41, 21});
        row("DIImage", "GroupBox6", {88, 24, 124, 32});
        row("OpenDIButton", "GroupBox6", {224, 32, 57, 25});
        row("SendDIButton", "GroupBox6", {288, 32, 49, 25});
    }
    void controlsSitWhereTheLayoutPutsThem() {
        QFETCH(QString, parent);
        QFETCH(QRect, geometry);
        auto* control = form().findChild<QWidget*>(QTest::currentDataTag());
        QVERIFY(control != nullptr);
        QCOMPARE(control->geometry(), geometry);
        QCOMPARE(control->parentWidget()->objectName(), parent);
        QVERIFY(control->isVisible() || control == form().KAIImage);
    }

    void captionsHintsAndLabels() {
        const std::pair<QAbstractButton*, const char*> buttons[] = {
            {form().SaveLCDButton, "Save LCD Image"},
            {form().PageButton, "Next Page"},
            {form().TimeButton, "Set Time"},
            {form().NextButton, "Use 'Next' Icon"},
            {form().KeyFunctionButton, "Send"},
            {form().TextLabelButton, "Send"},
            {form().OpenDIButton, "Open"},
            {form().SendDIButton, "Send"},
        };
        for (const auto& [button, caption] : buttons) QCOMPARE(button->text(), QString(caption));
        const std::pair<QLabel*, std::pair<const char*, QPoint>> labels[] = {
            {form().ButtonKeyLabel, {"Key:", {8, 26}}},
            {form().TextKeyLabel, {"Key:", {8, 34}}},
            {form().DIKeyLabel, {"Key:", {8, 34}}},
            {form().IconHeight, {"Icon Height: 16 pixels", {8, 64}}},
            {form().IconWidth, {"Icon Width: 62 pixels", {176, 64}}},
            {form().Label2, {"Version: 1.0.0", {504, 544}}},
        };
        for (const auto& [label, expected] : labels) {
            QCOMPARE(label->text(), QString(expected.first));
            QCOMPARE(label->pos(), expected.second);
        }
        QCOMPARE(form().NextGroup->title(), QString("Clock Selection"));
        QCOMPARE(form().SliderGroup->title(), QString("Button Functions"));
        QCOMPARE(form().GroupBox3->title(), QString("Text Label"));
        QCOMPARE(form().GroupBox6->title(), QString("Dynamic Icon"));
        QCOMPARE(form().ZORType->title(), QString("Style Selection"));
        QCOMPARE(form().ZORType->Item(0)->text(), QString("Orto Talvar"));
        QCOMPARE(form().ZORType->Item(1)->text(), QString("KAI"));
        QCOMPARE(form().ZORType->ItemIndex(), 0);
        QCOMPARE(form().LCDPanel->Caption(), QString("LCDPanel"));
        QCOMPARE(form().TextLabel->text(), QString("Text"));
        QCOMPARE(form().TextLabel->toolTip(), QString("Text"));
        QCOMPARE(form().LCDimage->toolTip(), QString("LCD screen"));
        QCOMPARE(form().DIImage->toolTip(), QString("Icon"));
        QCOMPARE(form().OpenDIButton->toolTip(), QString("Click to open a bitmap"));
        QCOMPARE(form().SendDIButton->toolTip(), QString("Click to load bitmap to button"));
    }

    void menuAndTimers() {
        // The front panel's File and About, with the workbench's menus between.
        const QList<QAction*> top = form().MainMenu1->actions();
        QStringList titles;
        for (QAction* action : top) titles << action->text();
        QCOMPARE(titles, (QStringList{"File", "Link", "Module", "View", "About"}));
        QCOMPARE(top[0]->menu(), form().Files1);
        QCOMPARE(top[4], form().About1);
        // The front panel's File items keep their order: "Save LCD Image"
        // first, the separator and "Exit" last; the new ones lie between.
        QStringList file;
        for (QAction* action : form().Files1->actions())
            file << (action->isSeparator() ? "-" : action->text());
        QCOMPARE(file, (QStringList{"Save LCD Image", "Record Host Bytes...", "Stop Recording",
                                    "Load Vocabulary...", "Reload", "Reload When Files Change",
                                    "Reset Module", "Record GIF...", "GIF With Front Plate",
                                    "Stop GIF Recording", "-", "Exit"}));
        // Nothing of the workbench shows until it is asked for.
        for (QDockWidget* dock : form().findChildren<QDockWidget*>()) QVERIFY(!dock->isVisible());

        QCOMPARE(form().Timer2->interval(), 100);
        QVERIFY(form().Timer2->isActive());
        QCOMPARE(form().SplashTimer->interval(), 2000);
    }

    void artworkAtItsSizesAndStacking() {
        QCOMPARE(form().TalvarImage->Picture().size(), QSize(356, 600));
        QCOMPARE(form().TalvarImage->Picture().format(), QImage::Format_RGB888);
        QCOMPARE(form().KAIImage->Picture().size(), QSize(277, 445));
        QCOMPARE(form().KAIImage->Picture().format(), QImage::Format_RGB888);
        QCOMPARE(form().ZORLogo->Picture().size(), QSize(318, 81));
        QCOMPARE(form().ZORLogo->Picture().format(), QImage::Format_Indexed8);
        QVERIFY(form().TalvarImage->Stretch() && form().KAIImage->Stretch() &&
                form().ZORLogo->Stretch() && form().DIImage->Stretch());
        QVERIFY(!form().LCDimage->Stretch());
        QCOMPARE(form().LCDimage->Picture().format(), QImage::Format_Mono);
        QVERIFY(form().Image1->Picture().isNull());  // a click area, nothing drawn
        QCOMPARE(form().LCDPanel->Color(), QColor(Qt::black));

        // Bottom to top: the plates, the LCD picture, the click area.
        QList<QWidget*> order;
        for (QObject* child : form().LCDPanel->children())
            if (auto* picture = qobject_cast<zorsim::PictureBox*>(child)) order << picture;
        QCOMPARE(order, QList<QWidget*>(
                            {form().TalvarImage, form().KAIImage, form().LCDimage, form().Image1}));
        // The LCD picture's place in the window is the panel's (105, 123).
        QCOMPARE(form().LCDimage->mapTo(&form(), QPoint(0, 0)),
                 form().LCDPanel->mapTo(&form(), QPoint(105, 123)));
    }
};

ZOR_WINDOW_TEST_MAIN(LayoutTest)
#include "window_layout_test.moc"
