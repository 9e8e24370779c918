// Which device each port number opens: COMn entries of the working folder first, then the system ports in order.
#include "kit/TempProgramFolder.h"
#include "link/PortResolver.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTest>

class TestPortResolver : public QObject
{
    Q_OBJECT
private slots:
    void sortedPorts_data()
    {
        QTest::addColumn<QStringList>("in");
        QTest::addColumn<QStringList>("out");
        QTest::newRow("groups") << QStringList{"/dev/ttyS0", "/dev/ttyACM0", "/dev/rfcomm0", "/dev/ttyUSB0"}
                                << QStringList{"/dev/ttyUSB0", "/dev/ttyACM0", "/dev/ttyS0", "/dev/rfcomm0"};
        QTest::newRow("natural order") << QStringList{"/dev/ttyUSB10", "/dev/ttyUSB2", "/dev/ttyS11", "/dev/ttyS3"}
                                       << QStringList{"/dev/ttyUSB2", "/dev/ttyUSB10", "/dev/ttyS3", "/dev/ttyS11"};
        QTest::newRow("duplicates once") << QStringList{"/dev/ttyS1", "/dev/ttyS1"} << QStringList{"/dev/ttyS1"};
    }
    void sortedPorts()
    {
        QFETCH(QStringList, in);
        QTEST(PortResolver::sortedPorts(in), "out");
    }

#ifndef Q_OS_WIN
    void systemPortsFillTheNumbers()
    {
        TempProgramFolder folder;
        PortResolver r(folder.path());
        r.systemPorts = [] { return QStringList{"/dev/ttyS0", "/dev/ttyUSB0"}; };
        QCOMPARE(r.device(0), QString());
        QCOMPARE(r.device(1), QString("/dev/ttyUSB0"));
        QCOMPARE(r.device(2), QString("/dev/ttyS0"));
        QCOMPARE(r.device(3), QString());
        const QStringList all = r.chooserDevices();
        QCOMPARE(all.size(), 17);
        QCOMPARE(all[1], QString("/dev/ttyUSB0"));
        QCOMPARE(all[16], QString());
    }
    void folderEntriesComeFirst()
    {
        TempProgramFolder folder;
        QVERIFY(QFile::link("/dev/null", folder.file("COM1")));
        QVERIFY(QFile::link(folder.file("nowhere"), folder.file("COM3"))); // dangling: still COM3
        PortResolver r(folder.path());
        r.systemPorts = [] { return QStringList{"/dev/ttyS0", "/dev/ttyUSB0", "/dev/null"}; };
        QCOMPARE(r.device(1), folder.file("COM1"));
        QCOMPARE(r.device(2), QString("/dev/ttyUSB0"));
        QCOMPARE(r.device(3), folder.file("COM3"));
        QCOMPARE(r.device(4), QString("/dev/ttyS0"));
        // /dev/null is named by COM1 already and is not offered again.
        QCOMPARE(r.device(5), QString());
    }
    // An installed editor cannot write its program folder (/usr/bin) and works in the
    // per-user data folder: the COMn links a user makes go there, beside DEFAULT.CFG.
    void installedProgramFindsEntriesInTheDataFolder()
    {
        QStandardPaths::setTestModeEnabled(true);
        const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        QVERIFY(QDir().mkpath(data));
        const QString link = QDir(data).filePath("COM2");
        QFile::remove(link);
        QVERIFY(QFile::link("/dev/null", link));
        TempProgramFolder folder;
        QVERIFY(folder.write("file", "x"));
        // A folder beneath a file can be written by no one, not even root.
        PortResolver r(folder.file("file/bin"));
        r.systemPorts = [] { return QStringList{"/dev/ttyS0"}; };
        QCOMPARE(r.device(1), QString("/dev/ttyS0"));
        QCOMPARE(r.device(2), link);
        QFile::remove(link);
        QDir().rmdir(data);
    }
#endif
};

QTEST_GUILESS_MAIN(TestPortResolver)
#include "tst_portresolver.moc"
