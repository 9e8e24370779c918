// End to end: the editor's real serial path (QSerialPort, port resolver, steady clock) against corvane-sim on a
// pseudo-terminal.
#include "core/EditorState.h"
#include "kit/RecordingView.h"
#include "kit/ScriptedPrompts.h"
#include "kit/SimProgram.h"
#include "kit/TempProgramFolder.h"
#include "link/Clock.h"
#include "link/Connection.h"
#include "link/PortResolver.h"
#include "link/SerialBytePort.h"
#include "link/SerialLink.h"

#include <QFileInfo>
#include <QProcess>
#include <QTest>

namespace
{
QString simProgram()
{
    return simProgramPath();
}

struct RealBench {
    TempProgramFolder folder;
    QProcess sim;
    EditorState state;
    ScriptedPrompts prompts;
    DeadlineClock clock;
    SerialBytePort port;
    PortResolver resolver{folder.path()};
    RecordingView view;
    SerialLink link{state, prompts, clock, port, [this](int n) { return resolver.device(n); }};

    bool start(const QStringList &extra = {})
    {
        resolver.systemPorts = [] { return QStringList(); };
        state.link.portNumber = 1;
        link.setView(&view);
        sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        sim.start(simProgram(), QStringList{"--link", folder.file("COM1"), "--memory", folder.file("mem.bin")} + extra);
        if (!sim.waitForStarted(5000))
            return false;
        return QTest::qWaitFor([&] { return QFileInfo(folder.file("COM1")).isSymLink(); }, 5000);
    }
    void stop()
    {
        if (sim.state() == QProcess::NotRunning)
            return;
        sim.terminate();
        sim.waitForFinished(5000);
    }
    ~RealBench() { stop(); }
};
} // namespace

class TestLinkPty : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (!QFileInfo(simProgram()).isExecutable())
            QSKIP("corvane-sim is not built");
    }
    void connectsAndIdentifies()
    {
        RealBench b;
        QVERIFY(b.start());
        QCOMPARE(b.resolver.device(1), b.folder.file("COM1"));
        connectToInstrument(b.state, b.prompts, b.clock, b.link, b.view);
        QVERIFY(b.prompts.verifyAllUsed());
        QCOMPARE(b.state.link.connected, true);
        QCOMPARE(b.state.instrument.serialNumber, QString(" 80315012"));
        QCOMPARE(b.state.instrument.softwareVersion, QString(" 23"));
        QCOMPARE(b.state.instrument.productCode, quint8(3));
        QCOMPARE(b.view.serialNumberLabel, QString(" Corvane SN#:  80315012"));

        // Echoed block write through the real port: every echo arrives in time.
        b.link.emptyBuffer();
        b.link.sendFrame(3, 64, 0x80, 0);
        for (int i = 0; i < 64; ++i)
            b.link.sendByteCheckEcho(i);
        QCOMPARE(b.link.missedEchoes(), 0);
        b.link.delay(0.1);
        b.link.emptyBuffer();
        b.link.sendFrame(2, 64, 0x80, 0);
        b.link.delay(0.2);
        QCOMPARE(b.link.RxCount, qint16(64));
        for (int i = 0; i < 64; ++i)
            QCOMPARE(b.link.element(i + 1), qint16(i));

        b.link.sendFrame(251, 0, 0, 0);
        b.stop();
        // The simulator saved its memories and removed its link on the way out.
        QVERIFY(QFileInfo::exists(b.folder.file("mem.bin")));
        QVERIFY(!QFileInfo(b.folder.file("COM1")).isSymLink());
    }
    void simulatorGoneEndsTheOperation()
    {
        RealBench b;
        QVERIFY(b.start({"--disconnect-after", "20"}));
        b.prompts.ok();
        const bool ok = runInstrumentOperation(b.link, b.state, b.prompts, b.view, [&] {
            connectToInstrument(b.state, b.prompts, b.clock, b.link, b.view);
        });
        QVERIFY(!ok);
        QVERIFY(b.prompts.verifyAllUsed());
        QCOMPARE(b.prompts.last().title, QString("Connection lost"));
        QCOMPARE(b.state.link.connected, false);
        QVERIFY(!b.port.isOpen());
    }
    void missingDeviceIsNotFound()
    {
        TempProgramFolder folder;
        SerialBytePort port;
        QVERIFY(!port.open(folder.file("COM9")));
        QCOMPARE(port.lastOpenError(), BytePort::OpenError::NotFound);
    }
};

QTEST_GUILESS_MAIN(TestLinkPty)
#include "tst_link_pty.moc"
