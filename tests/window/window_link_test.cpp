// The window's byte link: the Link menu opens it, the status line shows it,
// a host program's bytes wait for the start-up to end and are then served
// with the LCD picture following, and the window's own host controls rest
// while the program is connected.
#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTcpServer>
#include <QTcpSocket>

#include "LinkMenu.h"
#include "RadioGroup.h"
#include "window_fixture.h"

namespace {

// The bytes of "Hi" on key 2 as a host program sends them.
const QByteArray kLabel("\x09\x60\x01\x60H\x60i\x61\x02\x24", 10);

QString Status(zorsim::TForm1& form) {
    const auto* line = form.findChild<QLabel*>("LinkStatus");
    return line != nullptr && form.statusBar()->isVisibleTo(&form) ? line->text() : QString();
}

}  // namespace

class LinkTest : public QObject {
    Q_OBJECT

private slots:
    void aHostProgramDrivesTheModuleWhileTheControlsRest() {
        zortest::FakeDesktop desktop;
        zortest::FormOnFreshModule f;
        const int height = f.form.height();
        desktop.numberAnswers = {0};  // a free port
        f.form.Link->ListenTcp->trigger();
        QCOMPARE(desktop.numberAsked, QStringList{"Listen on TCP port"});
        const QString where = f.form.Link->Server().Where();
        QCOMPARE(Status(f.form), "Link: " + where + ", no client, 0 bytes");
        QVERIFY(f.form.height() > height);  // the line is added below the front panel
        QVERIFY(f.form.Link->Disconnect->isEnabled());

        QTcpSocket client;
        client.connectToHost("127.0.0.1", static_cast<quint16>(where.section(':', -1).toUInt()));
        QVERIFY(client.waitForConnected(5000));
        QTRY_VERIFY(f.form.Link->Server().ClientConnected());
        for (QWidget* control : std::initializer_list<QWidget*>{
                 f.form.PageButton, f.form.Image1, f.form.TimeButton, f.form.NextButton,
                 f.form.KeyFunctionButton, f.form.TextLabelButton, f.form.SendDIButton}) {
            QVERIFY(!control->isEnabled());
            QVERIFY(control->toolTip().startsWith("Rests while a host program is connected"));
        }
        QVERIFY(f.form.SaveLCDButton->isEnabled());
        QVERIFY(f.form.ZORType->isEnabled());

        // The start-up has not shown page 0 yet: the bytes wait for it.
        client.write(kLabel.left(1));
        QTest::qWait(200);
        QCOMPARE(f.form.Link->Server().BytesServed(), 0u);
        f.form.SplashTimerTimer();
        client.write(kLabel.mid(1) + QByteArray("\x81\x09\x00", 3));
        QTRY_COMPARE(client.bytesAvailable(), kLabel.size() + 3);
        QCOMPARE(client.readAll().toHex(' '), QByteArray("09 00 60 00 60 00 60 00 61 24 00 00 81"));
        QTRY_VERIFY(zortest::PictureMismatch(f.form.LCDimage->Picture()).isEmpty());
        QTRY_COMPARE(Status(f.form), "Link: " + where + ", client connected, 13 bytes");

        client.disconnectFromHost();
        QTRY_VERIFY(f.form.PageButton->isEnabled());
        QCOMPARE(f.form.TextLabelButton->toolTip(), QString());
        QCOMPARE(f.form.SendDIButton->toolTip(), QString("Click to load bitmap to button"));
        f.form.Link->Disconnect->trigger();
        QCOMPARE(Status(f.form), QString());
        QCOMPARE(f.form.height(), height);
    }

    void aPortThatCannotBeOpenedIsAnErrorBox() {
        zortest::FakeDesktop desktop;
        zortest::FormOnFreshModule f;
        QTcpServer taken;
        QVERIFY(taken.listen(QHostAddress::LocalHost, 0));
        desktop.numberAnswers = {taken.serverPort()};
        f.form.Link->ListenTcp->trigger();
        QCOMPARE(desktop.boxes.size(), size_t{1});
        QVERIFY(desktop.boxes[0].error);
        QCOMPARE(desktop.boxes[0].text,
                 "cannot listen on 127.0.0.1:" + QString::number(taken.serverPort()) +
                     ": The bound address is already in use");
        QVERIFY(!f.form.Link->Server().IsOpen());
        QCOMPARE(Status(f.form), QString());
    }
};

ZOR_WINDOW_TEST_MAIN(LinkTest)
#include "window_link_test.moc"
