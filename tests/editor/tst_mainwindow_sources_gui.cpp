// The main window's data sources: list refresh and picks, alarm and bar limits, the NMEA selector, blink and key chord.
#include "MainWindowFixture.h"
#include "core/DataSources.h"
#include "ui/editor/SourcesController.h"

#include "ui/Twips.h"
#include "ui/dialogs/NmeaSelector.h"
#include "ui/editor/FaceView.h"

#include <QApplication>
#include <QTest>

namespace
{

// Configuration 2 with display 1 (byte 28) showing `code`, shown after a blank configuration 3.
void showOnDisplay1(MainWindowFixture &f, int code)
{
    f.blankBlock(2);
    f.blankBlock(3);
    f.select(3);
    f.block(2)[28] = quint8(code);
    f.select(2);
}

} // namespace

class TestMainSources : public QObject
{
    Q_OBJECT
private slots:
    void alarmLabelsFollowTheSource_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("firstByte");
        QTest::addColumn<QByteArray>("alarmBytes");
        QTest::addColumn<QString>("low");
        QTest::addColumn<QString>("high");
        QTest::addColumn<bool>("changeable");
        QTest::newRow("NMEA #1A") << 23 << 180 << QByteArray("\x00\x64\x03\xE8", 4) << "100"
                                  << "1000" << true;
        QTest::newRow("NMEA #4B") << 30 << 208 << QByteArray("\x00\x05\x00\x06", 4) << "5"
                                  << "6" << true;
        QTest::newRow("one decimal (code 10)") << 10 << 156 << QByteArray("\x04\xD2\x00\x05", 4) << "123.4"
                                               << "0.5" << true;
        QTest::newRow("two decimals (code 9)") << 9 << 152 << QByteArray("\x00\x05\xFF\xFF", 4) << "0.05"
                                               << "655.35" << true;
        QTest::newRow("code 34: no decimals for alarms") << 34 << 220 << QByteArray("\x00\x07\x01\x00", 4) << "7"
                                                         << "256" << true;
        QTest::newRow("no alarm bytes, one decimal (code 11)") << 11 << 0 << QByteArray() << "0.0"
                                                               << "0.0" << false;
        QTest::newRow("unknown code 15") << 15 << 0 << QByteArray() << "0"
                                         << "0" << false;
        QTest::newRow("none") << 0 << 0 << QByteArray() << "0"
                              << "0" << false;
    }
    void alarmLabelsFollowTheSource()
    {
        QFETCH(int, code);
        QFETCH(int, firstByte);
        QFETCH(QByteArray, alarmBytes);
        QFETCH(QString, low);
        QFETCH(QString, high);
        QFETCH(bool, changeable);
        MainWindowFixture f;
        for (int i = 0; i < alarmBytes.size(); ++i)
            f.sys(firstByte + i) = quint8(alarmBytes[i]);
        showOnDisplay1(f, code);
        QCOMPARE(f.text("LblDisplay1LowAlarm"), QStringLiteral("Low Alarm Limit: ") + low);
        QCOMPARE(f.text("LblDisplay1HighAlarm"), QStringLiteral("High Alarm Limit: ") + high);
        QCOMPARE(f.get<QPushButton>("cmdDD1HiAlarm")->isEnabled(), changeable);
        QCOMPARE(f.get<QPushButton>("cmdDD1LoAlarm")->isEnabled(), changeable);
        QVERIFY(f.get<QPushButton>("cmdDD4HiBar")->isEnabled());
    }

    void storeAlarmValue_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("high");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("2 dp: 655.34 stores 65534") << 9 << true << "655.34" << 65534 << "655.34";
        QTest::newRow("2 dp: capped at 655.35") << 18 << true << "700" << 65535 << "655.35";
        QTest::newRow("1 dp: 25.56 stores 256") << 10 << false << "25.56" << 256 << "25.6";
        QTest::newRow("1 dp: capped at 6553.5") << 31 << true << "9999" << 65535 << "6553.5";
        QTest::newRow("0 dp: 12.7 stores 13") << 23 << true << "12.7" << 13 << "13";
        QTest::newRow("0 dp: a half goes to even") << 23 << false << "12.5" << 12 << "12";
        QTest::newRow("text stores 0") << 23 << true << "abc" << 0 << "0";
        QTest::newRow("negative stores 0") << 24 << true << "-5" << 0 << "0";
        QTest::newRow("above the range stores 65535") << 23 << true << "70000" << 65535 << "65535";
        QTest::newRow("leading blanks and trailing text") << 23 << false << "  42 gallons" << 42 << "42";
    }
    void storeAlarmValue()
    {
        QFETCH(int, code);
        QFETCH(bool, high);
        QFETCH(QString, answer);
        QFETCH(int, stored);
        QFETCH(QString, shown);
        MainWindowFixture f;
        showOnDisplay1(f, code);
        const QString oldDefault =
            f.text(high ? "LblDisplay1HighAlarm" : "LblDisplay1LowAlarm").section(QStringLiteral(": "), 1);
        const int first = datasources::alarmSlot(code).first + (high ? 2 : 0);
        const quint16 other = f.state().systemWord(high ? first - 2 : first + 2);

        f.prompts.input(answer);
        f.click(high ? "cmdDD1HiAlarm" : "cmdDD1LoAlarm");
        QVERIFY(f.prompts.verifyAllUsed());
        QCOMPARE(f.prompts.last().title, QStringLiteral("Enter Value"));
        QCOMPARE(f.prompts.last().text, high ? QStringLiteral("Enter new High Alarm Value below:")
                                             : QStringLiteral("Enter new Low Alarm Value below:"));
        QCOMPARE(f.prompts.last().defaultText, oldDefault);
        QCOMPARE(int(f.state().systemWord(first)), stored);
        QCOMPARE(f.state().systemWord(high ? first - 2 : first + 2), other);
        QCOMPARE(f.text(high ? "LblDisplay1HighAlarm" : "LblDisplay1LowAlarm"),
                 (high ? QStringLiteral("High Alarm Limit: ") : QStringLiteral("Low Alarm Limit: ")) + shown);
    }

    void cancelledOrEmptyAnswerChangesNothing_data()
    {
        QTest::addColumn<QString>("button");
        QTest::newRow("high alarm") << "cmdDD1HiAlarm";
        QTest::newRow("low alarm") << "cmdDD1LoAlarm";
    }
    void cancelledOrEmptyAnswerChangesNothing()
    {
        QFETCH(QString, button);
        MainWindowFixture f;
        showOnDisplay1(f, 23);
        QByteArray before(reinterpret_cast<const char *>(f.state().systemBlock), 257);
        f.prompts.cancelInput();
        f.click(button);
        QVERIFY(f.prompts.verifyAllUsed());
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(f.state().systemBlock), 257), before);
    }

    void twoDisplaysShareTheirSourcesLimits()
    {
        MainWindowFixture f;
        f.blankBlock(2);
        f.block(2)[28] = 25;
        f.block(2)[68] = 25;
        f.select(2);
        f.prompts.input("777");
        f.click("cmdDD3HiAlarm");
        QCOMPARE(int(f.state().systemWord(188 + 2)), 777);
        QCOMPARE(f.text("LblDisplay1HighAlarm"), QStringLiteral("High Alarm Limit: 777"));
        QCOMPARE(f.text("LblDisplay3HighAlarm"), QStringLiteral("High Alarm Limit: 777"));
    }

    void storeBarLimit_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("codeByte");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("limitByte");
        QTest::addColumn<int>("stored");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("text");
        QTest::newRow("left upper, 2 dp: 655.34 stores 65530")
            << "cmdDD4HiBar" << 88 << 9 << "655.34" << 91 << 65530 << "LblLeftBarUpperLimit"
            << "Upper Bar Limit: 655.30";
        QTest::newRow("left lower, 2 dp") << "cmdDD4LoBar" << 88 << 18 << "1.25" << 89 << 125 << "LblLeftBarLowerLimit"
                                          << "Lower Bar Limit: 1.25";
        QTest::newRow("right upper, 1 dp capped")
            << "cmdDD5HiBar" << 108 << 10 << "7000" << 111 << 65535 << "LblRightBarUpperLimit"
            << "Upper Bar Limit: 6553.5";
        QTest::newRow("right lower, text stores 0")
            << "cmdDD5LoBar" << 108 << 23 << "abc" << 109 << 0 << "LblRightBarLowerLimit"
            << "Lower Bar Limit: 0";
        QTest::newRow("code 34 has one decimal on bars")
            << "cmdDD5HiBar" << 108 << 34 << "12.34" << 111 << 123 << "LblRightBarUpperLimit"
            << "Upper Bar Limit: 12.3";
        QTest::newRow("label shows the value as stored")
            << "cmdDD4HiBar" << 88 << 23 << "12.5" << 91 << 12 << "LblLeftBarUpperLimit"
            << "Upper Bar Limit: 12";
    }
    void storeBarLimit()
    {
        QFETCH(QString, button);
        QFETCH(int, codeByte);
        QFETCH(int, code);
        QFETCH(QString, answer);
        QFETCH(int, limitByte);
        QFETCH(int, stored);
        QFETCH(QString, label);
        QFETCH(QString, text);
        MainWindowFixture f;
        f.blankBlock(3);
        f.block(3)[codeByte] = quint8(code);
        f.block(3)[codeByte + 1] = 0x12;
        f.block(3)[codeByte + 2] = 0x34;
        f.block(3)[codeByte + 3] = 0x56;
        f.block(3)[codeByte + 4] = 0x78;
        f.select(3);
        const QByteArray before(reinterpret_cast<const char *>(f.block(3)), 128);
        const QString otherLabel = label.contains(QLatin1String("Upper"))
                                       ? QString(label).replace(QLatin1String("Upper"), QLatin1String("Lower"))
                                       : QString(label).replace(QLatin1String("Lower"), QLatin1String("Upper"));
        const QString otherText = f.text(otherLabel);

        f.prompts.input(answer);
        f.click(button);
        QVERIFY(f.prompts.verifyAllUsed());
        QCOMPARE(f.prompts.last().title, QStringLiteral("Enter Value"));
        QCOMPARE(f.prompts.last().text, button.contains(QLatin1String("Hi"))
                                            ? QStringLiteral("Enter new Upper Bar Limit value below:")
                                            : QStringLiteral("Enter new Lower Bar Limit value below:"));
        QCOMPARE(int(f.state().blockWord(3, limitByte)), stored);
        for (int d = 1; d < 128; ++d) // byte 0 is the checksum, kept right
            if (d != limitByte && d != limitByte + 1)
                QCOMPARE(f.block(3)[d], quint8(before[d]));
        QCOMPARE(f.block(3)[0], configBlockChecksum(f.block(3)));
        QCOMPARE(f.text(label), text);
        QCOMPARE(f.text(otherLabel), otherText);
    }

    // The list shows the stored code; codes 1..8 become the NMEA input at that position when the entry changes,
    // codes no entry offers are shown as a marked extra entry and kept.
    void listRefresh_data()
    {
        QTest::addColumn<int>("previous");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("entries");
        QTest::newRow("NMEA #3A") << 23 << 27 << "NMEA 0183 input #3A" << 27 << 9;
        QTest::newRow("code 5 becomes #3A (27)") << 23 << 5 << "NMEA 0183 input #3A" << 27 << 9;
        QTest::newRow("code 5 kept when #3A was shown") << 27 << 5 << "NMEA 0183 input #3A" << 5 << 9;
        QTest::newRow("code 15 kept and marked") << 23 << 15 << "Other source (code 15)" << 15 << 10;
        QTest::newRow("code 40 kept and marked") << 0 << 40 << "Other source (code 40)" << 40 << 10;
        QTest::newRow("none") << 23 << 0 << "None - Blank" << 0 << 9;
    }
    void listRefresh()
    {
        QFETCH(int, previous);
        QFETCH(int, code);
        QFETCH(QString, shown);
        QFETCH(int, stored);
        QFETCH(int, entries);
        MainWindowFixture f;
        f.blankBlock(4);
        f.blankBlock(5);
        f.block(4)[28] = quint8(previous);
        f.block(5)[28] = quint8(code);
        f.select(4);
        f.select(5);
        auto *list = f.get<QComboBox>("ComboDisplay1");
        QCOMPARE(list->currentText(), shown);
        QCOMPARE(int(f.block(5)[28]), stored);
        QCOMPARE(list->count(), entries);
        QVERIFY(!f.window->hasNmeaSelector() || f.window->nmeaSelector()->isHidden());
        // Back on a configuration with a listed source the extra entry goes away.
        f.select(4);
        QCOMPARE(list->count(), 9);
        QCOMPARE(int(f.block(5)[28]), stored);
    }

    void pickingAnNmeaInputOpensTheSelector_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("codeByte");
        QTest::addColumn<int>("monitorTop");
        QTest::addColumn<int>("firstByte");
        QTest::addColumn<int>("channel");
        QTest::newRow("right bar #2B") << "ComboDisplayRightBar" << 4 << 108 << 5625 << 77 << 2;
        QTest::newRow("display 1 #1A") << "ComboDisplay1" << 1 << 28 << 2455 << 68 << 1;
        QTest::newRow("display 2 #3B") << "ComboDisplay2" << 6 << 48 << 3970 << 83 << 3;
        QTest::newRow("display 3 #4A") << "ComboDisplay3" << 7 << 68 << 1750 << 86 << 4;
        QTest::newRow("left bar #1B") << "ComboDisplayLeftBar" << 2 << 88 << 7150 << 71 << 1;
    }
    void pickingAnNmeaInputOpensTheSelector()
    {
        QFETCH(QString, list);
        QFETCH(int, position);
        QFETCH(int, codeByte);
        QFETCH(int, monitorTop);
        QFETCH(int, firstByte);
        QFETCH(int, channel);
        MainWindowFixture f;
        QPoint monitorAt;
        f.window->placeNmeaMonitor = [&](int t, int l) { monitorAt = QPoint(l, t); };
        f.blankBlock(6);
        f.select(6);
        f.sys(firstByte) = 16;
        f.sys(firstByte + 1) = 60;
        f.sys(firstByte + 2) = 5;
        f.state().nmea.monitorRunning = true;

        f.pick(list, position);
        QCOMPARE(int(f.block(6)[codeByte]), position + 22);
        NmeaSelector *selector = f.window->nmeaSelector();
        QVERIFY(!selector->isHidden());
        QCOMPARE(monitorAt, QPoint(45, monitorTop));
        QCOMPARE(int(f.state().nmea.selectionIndex), firstByte);
        QCOMPARE(int(f.state().nmea.channel), channel);
        QCOMPARE(f.state().nmea.monitorRunning, false);
        QCOMPARE(selector->findChild<QComboBox *>("cmbNmeaTalker")->currentText(), QStringLiteral("GP"));
        QCOMPARE(selector->findChild<QComboBox *>("cmbNmeaID")->currentText(), QStringLiteral("RMC"));
        QCOMPARE(selector->findChild<QComboBox *>("cmdNmeaCommas")->currentText(), QStringLiteral("5"));
        QCOMPARE(f.get<FaceView>("picBrevo")
                     ->sourceText(codeByte == 28   ? 0
                                  : codeByte == 48 ? 1
                                  : codeByte == 68 ? 2
                                  : codeByte == 88 ? 3
                                                   : 4),
                 FaceView::sourceTextFor(position + 22));
    }

    void acceptStoresTheSelectionOfThePickedSource()
    {
        MainWindowFixture f;
        f.blankBlock(6);
        f.select(6);
        f.pick("ComboDisplayRightBar", 4);
        NmeaSelector *selector = f.window->nmeaSelector();
        selector->findChild<QComboBox *>("cmbNmeaTalker")->setCurrentText("GP");
        selector->findChild<QComboBox *>("cmbNmeaID")->setCurrentText("RMC");
        selector->findChild<QComboBox *>("cmdNmeaCommas")->setCurrentText("5");
        const QByteArray before(reinterpret_cast<const char *>(f.state().systemBlock), 257);
        selector->findChild<QPushButton *>("cmdNmeaAccept")->click();
        QCOMPARE(int(f.sys(77)), 16);
        QCOMPARE(int(f.sys(78)), 60);
        QCOMPARE(int(f.sys(79)), 5);
        // Byte 0 is the checksum, kept with the block.
        QCOMPARE(f.sys(0), systemBlockChecksum(f.state().systemBlock));
        for (int i = 1; i <= 256; ++i)
            if (i < 77 || i > 79)
                QCOMPARE(f.sys(i), quint8(before[i]));
        QVERIFY(selector->isHidden());
    }

    void pickingNoneHidesTheNmeaWindows()
    {
        MainWindowFixture f;
        int monitorHides = 0;
        f.window->hideNmeaMonitor = [&] { ++monitorHides; };
        f.blankBlock(6);
        f.select(6);
        f.pick("ComboDisplay2", 3);
        QVERIFY(!f.window->nmeaSelector()->isHidden());
        monitorHides = 0;
        f.pick("ComboDisplay2", 0);
        QCOMPARE(int(f.block(6)[48]), 0);
        QVERIFY(f.window->nmeaSelector()->isHidden());
        QVERIFY(monitorHides > 0);
        QCOMPARE(f.text("LblDisplay2LowAlarm"), QStringLiteral("Low Alarm Limit: 0"));
        QCOMPARE(f.text("LblDisplay2HighAlarm"), QStringLiteral("High Alarm Limit: 0"));
        QVERIFY(!f.get<QPushButton>("cmdDD2HiAlarm")->isEnabled());
        QVERIFY(!f.get<QPushButton>("cmdDD2LoAlarm")->isEnabled());
    }

    // Picking the extra entry again keeps the code it stands for; picking a listed entry replaces it.
    void theExtraEntryKeepsItsCodeUntilAnotherIsPicked()
    {
        MainWindowFixture f;
        showOnDisplay1(f, 15);
        f.pick("ComboDisplay1", 9);
        QCOMPARE(int(f.block(2)[28]), 15);
        f.pick("ComboDisplay1", 2);
        QCOMPARE(int(f.block(2)[28]), 24);
        QCOMPARE(f.get<QComboBox>("ComboDisplay1")->count(), 9);
    }

    void focusedListBlinksItsDisplay()
    {
        MainWindowFixture f;
        FaceView *face = f.get<FaceView>("picBrevo");
        f.window->sourcesArea().setFocusFlag(1, true);
        QCOMPARE(f.window->sourcesArea().hasFocus(1), true);
        face->element(QStringLiteral("PicDisplay4Blank"))->show();
        face->element(QStringLiteral("PicDisplayBarLimitBlank"))->show();
        const bool expected[] = {true, false, true};
        for (bool visible : expected) {
            f.window->onConnectionTimer();
            QCOMPARE(!face->element(QStringLiteral("PicDisplay2Blank"))->isHidden(), visible);
            QVERIFY(face->element(QStringLiteral("PicDisplay4Blank"))->isHidden());
            QVERIFY(face->element(QStringLiteral("PicDisplayBarLimitBlank"))->isHidden());
        }
        f.window->sourcesArea().setFocusFlag(1, false);
        f.window->onConnectionTimer();
        QVERIFY(face->element(QStringLiteral("PicDisplay2Blank"))->isHidden());
    }

    void keyboardFocusSetsTheFocusFlags()
    {
        MainWindowFixture f;
        f.window->show();
        QApplication::setActiveWindow(f.window.get());
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        f.get<QComboBox>("ComboDisplayRightBar")->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(f.window->sourcesArea().hasFocus(4), true);
        f.get<QComboBox>("ComboDisplay3")->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(f.window->sourcesArea().hasFocus(2), true);
        QCOMPARE(f.window->sourcesArea().hasFocus(4), false);
    }

    void keyChordArmsFactoryMode_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("armed");
        const int shiftCtrl = int(Qt::ShiftModifier | Qt::ControlModifier);
        QTest::newRow("Shift+Ctrl+K on the upper bar limit button")
            << "cmdDD4HiBar" << int(Qt::Key_K) << shiftCtrl << true;
        QTest::newRow("Ctrl+K") << "cmdDD4HiBar" << int(Qt::Key_K) << int(Qt::ControlModifier) << false;
        QTest::newRow("Shift+K") << "cmdDD4HiBar" << int(Qt::Key_K) << int(Qt::ShiftModifier) << false;
        QTest::newRow("Shift+Ctrl+J") << "cmdDD4HiBar" << int(Qt::Key_J) << shiftCtrl << false;
        QTest::newRow("Shift+Ctrl+Alt+K")
            << "cmdDD4HiBar" << int(Qt::Key_K) << int(shiftCtrl | Qt::AltModifier) << false;
        QTest::newRow("another button") << "cmdDD4LoBar" << int(Qt::Key_K) << shiftCtrl << false;
    }
    void keyChordArmsFactoryMode()
    {
        QFETCH(QString, button);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, armed);
        MainWindowFixture f;
        QTest::keyClick(f.get<QPushButton>(button), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(f.state().factory.armed, armed ? true : false);
        QVERIFY(f.prompts.verifyAllUsed()); // nothing is shown
    }
};

QTEST_MAIN(TestMainSources)
#include "tst_mainwindow_sources_gui.moc"
