// The main window's side of the link: factory window access, identity boxes, busy guard, indicator.
#include "Simulator.h"
#include "core/Protocol.h"
#include "editor/SimulatedEditor.h"
#include "kit/ScriptedPrompts.h"
#include "kit/SimulatorPort.h"
#include "kit/TempProgramFolder.h"
#include "kit/VirtualClock.h"
#include "ui/PortChooser.h"
#include "ui/TransferWarning.h"
#include "ui/dialogs/NmeaSelector.h"
#include "ui/editor/ClickLabel.h"
#include "ui/editor/FillShape.h"
#include "ui/editor/InstrumentController.h"
#include "ui/editor/MainWindow.h"
#include "ui/factory/FactoryWindow.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <memory>

namespace
{
struct Editor : SimulatedEditor {
    Editor() : SimulatedEditor(2)
    {
        sim.memory = SimMemory::factory(sim.softwareVersion);
        window->state().link.portNumber = 2;
    }
};
} // namespace

class TestMainLink : public QObject
{
    Q_OBJECT
private slots:
    void factoryWindowOnlyWhenArmed()
    {
        Editor e;
        e.window->show();
        e.window->instrumentArea().openFactoryWindowIfArmed();
        QVERIFY(!e.window->factoryWindow()->isVisible());

        e.get<QPushButton>("cmdDD4HiBar")->setFocus();
        QTest::keyClick(e.get<QPushButton>("cmdDD4HiBar"), Qt::Key_K, Qt::ShiftModifier | Qt::ControlModifier);
        QCOMPARE(e.window->state().factory.armed, true);
        QVERIFY(e.prompts.verifyAllUsed()); // silently
        QTest::mouseClick(e.get<ClickLabel>("lblConnected"), Qt::LeftButton);
        QVERIFY(e.window->factoryWindow()->isVisible());
    }

    void connectionFillsTheIdentityBoxes()
    {
        Editor e;
        e.window->state().transfer.askUser = false; // no warning window
        e.window->state().transfer.upload[1] = 0;
        e.window->state().transfer.upload[4] = 0;
        e.window->instrumentArea().upload();
        QVERIFY(e.prompts.verifyAllUsed());
        FactoryWindow *f = e.window->factoryWindow();
        QCOMPARE(f->findChild<QLineEdit *>("txtTessaroSN")->text(), QString(" 80315012"));
        QCOMPARE(f->findChild<QLineEdit *>("txtU101SwVer")->text(), QString(" 12"));
        QCOMPARE(f->findChild<QLineEdit *>("txtBrevoProductID")->text(), QString("3"));
        QCOMPARE(e.get<QLabel>("lblTessaroSN")->text(), QString(" Corvane SN#:  80315012"));
        QCOMPARE(e.window->state().instrument.serialNumber, QString(" 80315012"));
    }

    void aHiddenPortChooserLeavesNoWaitBehind()
    {
        Editor e;
        e.window->state().transfer.askUser = false; // no warning window
        e.window->instrumentArea().choosePort();
        auto *chooser = e.window->findChild<PortChooser *>();
        QVERIFY(chooser && chooser->isVisible());
        chooser->findChild<QRadioButton *>("optComm_0")->click();
        chooser->findChild<QPushButton *>("cmdCommsAccept")->click();
        QCOMPARE(int(e.window->state().link.portNumber), 0);

        // With no port the upload opens the chooser; its close box ends the upload quietly.
        e.clock.scheduleIn(0.1, [&] { chooser->close(); });
        e.window->instrumentArea().upload();
        QCOMPARE(e.port.written, QByteArray());

        // Nothing is left busy: the menu opens the chooser again and COM2 uploads.
        e.window->instrumentArea().choosePort();
        QVERIFY(chooser->isVisible());
        chooser->findChild<QRadioButton *>("optComm_2")->click();
        chooser->findChild<QPushButton *>("cmdCommsAccept")->click();
        e.window->instrumentArea().upload();
        QVERIFY(e.prompts.verifyAllUsed());
        QVERIFY(e.port.written.size() > 3000);
    }

    // The editor closing while the monitor connects or polls: the instrument leaves
    // command mode before the port closes, and is not put into monitor mode (63) when
    // the close came during the connection.
    void closingWhileMonitoringLeavesMonitorMode_data()
    {
        QTest::addColumn<double>("closeAt");
        QTest::addColumn<bool>("monitored");
        QTest::newRow("during the connection") << 1.0 << false;
        QTest::newRow("while polling") << 8.0 << true;
    }
    void closingWhileMonitoringLeavesMonitorMode()
    {
        QFETCH(double, closeAt);
        QFETCH(bool, monitored);
        Editor e;
        e.window->show();
        e.window->state().nmea.channel = 1;
        e.prompts.no(); // Quit Program: do not save
        e.clock.scheduleIn(closeAt, [&] { e.window->close(); });
        e.window->nmeaSelector()->findChild<QPushButton *>("cmdNmeaViewData")->click();
        QVERIFY(e.prompts.verifyAllUsed());
        QCOMPARE(e.ended, 1);
        QCOMPARE(e.port.written.right(5), QByteArray("\x3d\xfb\0\0\0", 5));
        QCOMPARE(e.port.written.contains(char(63)), monitored);
        QCOMPARE(e.port.written.count(QByteArray("\x3d\xfb\0\0\0", 5)), 1);
    }

    // Clicks on the icon boxes and a change made behind the windows' back while the
    // upload runs: the instrument ends with the image as it was when the upload
    // started, every display block's checksum matching its bytes.
    void editsDuringAnUploadDoNotReachTheInstrument()
    {
        Editor e;
        e.window->show();
        EditorState &s = e.window->state();
        s.transfer.askUser = false;
        s.transfer.upload[4] = 0;
        QByteArray before;
        for (int n = 1; n <= 16; ++n)
            before += QByteArray(reinterpret_cast<const char *>(s.configBlock[n] + 1), 127);
        auto *speed = e.window->findChild<QCheckBox *>("ChkIconsUpperSpeed");
        QVERIFY(speed);
        bool disabledWhileRunning = false;
        for (double t = 4.3; t < 16; t += 0.41)
            e.clock.scheduleIn(t, [&] {
                QTest::mouseClick(speed, Qt::LeftButton);
                disabledWhileRunning = !speed->isEnabled();
                s.configBlock[1][5] ^= 0x55; // as an edit would, mid-block
            });
        e.window->instrumentArea().upload();
        QVERIFY(e.prompts.verifyAllUsed());
        QVERIFY(disabledWhileRunning);
        QVERIFY(speed->isEnabled());
        for (int n = 1; n <= 16; ++n) {
            const QByteArray block = e.sim.memory.eeprom.mid(proto::kConfigBlockBase + 128 * (n - 1), 128);
            QCOMPARE(block.mid(1), before.mid(127 * (n - 1), 127));
            quint8 x = 0;
            for (int i = 1; i < 128; ++i)
                x ^= quint8(block[i]);
            QCOMPARE(quint8(block[0]), x);
        }
    }

    // Closing the editor during an upload asks, then cancels it between whole blocks
    // (the instrument leaves command mode) and closes once it stopped.
    void closingDuringAnUploadCancelsIt()
    {
        Editor e;
        e.window->show();
        e.window->state().transfer.askUser = false;
        e.prompts.yes().ok().no(); // cancel and quit; "The upload was cancelled."; do not save
        e.clock.scheduleIn(8.0, [&] { e.window->close(); });
        e.window->instrumentArea().upload();
        QVERIFY(e.prompts.verifyAllUsed());
        QVERIFY(e.prompts.records.at(1).text.startsWith("The upload was cancelled.\r\nThe settings and display "
                                                        "configurations 1 to "));
        QCOMPARE(e.ended, 1);
        QCOMPARE(e.port.written.right(5), QByteArray("\x3d\xfb\0\0\0", 5));
    }

    void indicatorFollowsConnected()
    {
        Editor e;
        e.window->state().link.connected = true;
        e.window->onConnectionTimer();
        QCOMPARE(e.get<FillShape>("shpCommsConnected")->fillColor(), QColor(0, 255, 0));
        QCOMPARE(e.get<ClickLabel>("lblConnected")->text(), QString("Connected to Corvane"));
        e.window->state().link.connected = false;
        e.window->onConnectionTimer();
        QCOMPARE(e.get<FillShape>("shpCommsConnected")->fillColor(), QColor(255, 0, 0));
        QCOMPARE(e.get<ClickLabel>("lblConnected")->text(), QString("Not connected to Corvane"));
    }
};

QTEST_MAIN(TestMainLink)
#include "tst_mainwindow_link_gui.moc"
