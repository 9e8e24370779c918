// Bringing the windows' and the operation's copies of the state level again.
#include "core/EditorState.h"

#include <QTest>

class TestEditorState : public QObject
{
    Q_OBJECT
private slots:
    // What each side changed since the copy survives, field by field, in every small
    // object and in the image; what neither changed stays.
    void mergeKeepsBothSidesChanges()
    {
        EditorState base;
        base.link.portNumber = 3;
        base.configBlock[4][48] = 23;

        EditorState windows = base; // the user picks another port, edits a byte
        windows.link.portNumber = 5;
        windows.configBlock[4][49] = 7;
        windows.nmea.channel = 4;

        EditorState operation = base; // the operation connects and downloads
        operation.link.connected = true;
        operation.instrument.serialNumber = QStringLiteral(" 80315012");
        operation.instrument.unitVersions[2] = QStringLiteral(" 12");
        operation.configBlock[4][48] = 25;
        operation.transfer.upload[3] = 0;

        mergeChangedValues(windows, base, operation);
        QCOMPARE(int(windows.link.portNumber), 5);
        QCOMPARE(windows.link.connected, true);
        QCOMPARE(int(windows.nmea.channel), 4);
        QCOMPARE(windows.instrument.serialNumber, QStringLiteral(" 80315012"));
        QCOMPARE(windows.instrument.unitVersions[2], QStringLiteral(" 12"));
        QCOMPARE(windows.instrument.unitVersions[1], QStringLiteral("Unknown"));
        QCOMPARE(int(windows.configBlock[4][48]), 25);
        QCOMPARE(int(windows.configBlock[4][49]), 7);
        QCOMPARE(int(windows.transfer.upload[3]), 0);
        QCOMPARE(int(windows.transfer.upload[4]), 1);
    }
};

QTEST_GUILESS_MAIN(TestEditorState)
#include "tst_editorstate.moc"
