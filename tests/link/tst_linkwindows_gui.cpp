// The port chooser and the connecting and progress windows, driven as a user would.
#include "core/EditorState.h"
#include "kit/Child.h"
#include "kit/RecordingView.h"
#include "ui/ConnectingWindow.h"
#include "ui/LinkWindows.h"
#include "ui/PortChooser.h"
#include "ui/ProgressWindow.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace
{
QRadioButton *option(const PortChooser &w, int n)
{
    return child<QRadioButton>(w, QStringLiteral("optComm_%1").arg(n));
}
QPushButton *acceptButton(const PortChooser &w)
{
    return child<QPushButton>(w, QStringLiteral("cmdCommsAccept"));
}
} // namespace

class TestLinkWindows : public QObject
{
    Q_OBJECT
private slots:
    void chooserLayout()
    {
        EditorState state;
        state.link.portNumber = 5;
        PortChooser w(state);
        QCOMPARE(w.windowTitle(), QString("Corvane Communication Port"));
        QCOMPARE(child<QLabel>(w, QStringLiteral("lblComms"))->text(), QString("Please select a COM port"));
        QCOMPARE(w.findChild<QRadioButton *>("optComm_0")->text(), QString("None"));
        QCOMPARE(w.findChild<QRadioButton *>("optComm_16")->text(), QString("COM16"));
        QVERIFY(w.findChild<QRadioButton *>("optComm_5")->isChecked()); // the stored port
        QCOMPARE(w.findChild<QPushButton *>("cmdCommsAccept")->text(), QString("Accept"));
        w.setDevices({QString(), "/dev/ttyUSB0"});
        QCOMPARE(child<QLabel>(w, QStringLiteral("lblDevice_1"))->text(), QString("/dev/ttyUSB0"));
        QCOMPARE(child<QLabel>(w, QStringLiteral("lblDevice_2"))->text(), QString("(no device)"));
    }
    void accept_data()
    {
        QTest::addColumn<int>("choice");
        QTest::addColumn<QString>("label");
        QTest::newRow("COM3") << 3 << "COM Port =  3";
        QTest::newRow("COM12") << 12 << "COM Port =  12";
        QTest::newRow("None") << 0 << "COM Port =  0";
    }
    void accept()
    {
        QFETCH(int, choice);
        EditorState state;
        state.link.portNumber = 1;
        state.link.connected = true;
        RecordingView mainView;
        LinkWindows windows(state, nullptr);
        windows.setMainView(&mainView);
        windows.showPortChooser();
        PortChooser *w = windows.comms();
        QVERIFY(w->isVisible());
        QTest::mouseClick(option(*w, choice), Qt::LeftButton);
        QTest::mouseClick(acceptButton(*w), Qt::LeftButton);
        QCOMPARE(int(state.link.portNumber), choice);
        QCOMPARE(state.link.connected, false);
        QVERIFY(!w->isVisible());
        QTEST(mainView.commsPortLabel, "label");
        delete w;
    }
    void keyboardChoosesAPort()
    {
        EditorState state;
        PortChooser w(state);
        w.show();
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        option(w, 0)->setFocus();
        QTest::keyClick(option(w, 0), Qt::Key_Down);
        QTest::keyClick(option(w, 1), Qt::Key_Down);
        QCOMPARE(w.selectedPort(), 2);
        acceptButton(w)->setFocus();
        QTest::keyClick(acceptButton(w), Qt::Key_Space);
        QCOMPARE(state.link.portNumber, quint8(2));
    }
    void portBeyondTheOptionsSelectsNone()
    {
        EditorState state;
        PortChooser w(state);
        w.selectPort(200);
        QCOMPARE(w.selectedPort(), -1);
        state.link.portNumber = 200;
        w.onCommsAcceptClicked();
        QCOMPARE(state.link.portNumber, quint8(200));
    }
    void connectingAndProgress()
    {
        EditorState state;
        LinkWindows windows(state, nullptr);
        windows.setConnectingCaption("Attempting");
        windows.showConnecting();
        ConnectingWindow *c = windows.connecting();
        QCOMPARE(c->windowTitle(), QString("Connection to Corvane"));
        QVERIFY(c->isVisible());
        QCOMPARE(windows.connectingCaption(), QString("Attempting"));
        windows.hideConnecting();
        QVERIFY(!c->isVisible());

        ProgressWindow *p = windows.progress();
        QCOMPARE(p->windowTitle(), QString("Connected to Corvane "));
        QCOMPARE(child<QLabel>(p, QStringLiteral("lblProgress"))->text(), QString("Progress"));
        const QProgressBar *bar = child<QProgressBar>(p, QStringLiteral("ProgressBar1"));
        QCOMPARE(bar->maximum(), 17);
        windows.setProgress(12);
        QCOMPARE(bar->value(), 12);
        windows.setProgress(40); // held to the range
        QCOMPARE(bar->value(), 17);
        windows.setProgressMaximum(100);
        windows.setProgress(40);
        QCOMPARE(bar->value(), 40);
        delete c;
        delete p;
    }
};

QTEST_MAIN(TestLinkWindows)
#include "tst_linkwindows_gui.moc"
