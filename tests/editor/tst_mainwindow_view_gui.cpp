// The main window's view: icon check boxes and their bytes, the redraw, configuration buttons and the three clear/set
// buttons.
#include "MainWindowFixture.h"

#include "ui/editor/FaceView.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QTest>

namespace
{

QByteArray iconBytes(MainWindowFixture &f, int config)
{
    return QByteArray(reinterpret_cast<const char *>(f.block(config) + 1), 4);
}

void setIconBytes(MainWindowFixture &f, int config, const QByteArray &bytes)
{
    for (int i = 0; i < 4; ++i)
        f.block(config)[1 + i] = quint8(bytes[i]);
}

QByteArray bytes4(int a, int b, int c, int d)
{
    return QByteArray(1, char(a)) + char(b) + char(c) + char(d);
}

} // namespace

class TestMainView : public QObject
{
    Q_OBJECT
private slots:
    // Each box owns exactly one bit and one picture element of the instrument picture.
    void eachIconOwnsOneBitAndOneElement_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("element");
        QTest::addColumn<int>("byte");
        QTest::addColumn<int>("bit");
        const struct {
            const char *box, *element;
            int byte, bit;
        } rows[] = {
            {"ChkMidRightArrow", "PicUpRightArrow", 1, 7},
            {"ChkMidLeftArrow", "PicUpLeftArrow", 1, 6},
            {"ChkIconsMiddleNmea3Right", "PicNmea3RArrow", 1, 5},
            {"ChkIconsMiddleNmea3", "lblNmea3", 1, 4},
            {"ChkIconsMiddleNmea2Up", "PicNmea2UArrow", 1, 3},
            {"ChkIconsMiddleNmea2", "lblNmea2", 1, 2},
            {"ChkIconsMiddleNmea2Down", "PicNmea2DArrow", 1, 1},
            {"ChkIconsMiddleNmea1", "lblNmea1", 1, 0},
            {"ChkIconsLowerRightTemp", "LblTemp", 2, 6},
            {"ChkIconsLowerRightFuel", "LblFuel", 2, 5},
            {"ChkIconsLowerRightRpm", "LblRpmLower", 2, 4},
            {"ChkIconsLowerRightDepth", "LblDepthLower", 2, 3},
            {"ChkIconsLowerLeftVdc", "LblVdc", 2, 2},
            {"ChkIconsLowerLeftSpeed", "LblSpeedLower", 2, 1},
            {"ChkIconsLowerLeftOil", "LblOil", 2, 0},
            {"ChkIconsUpperRpm", "lblRpmU", 3, 7},
            {"ChkIconsUpperDepth", "LblDepthU", 3, 6},
            {"ChkIconsUpperSpeed", "lblSpeedU", 3, 5},
            {"ChkIconsMiddleNmea1Left", "PicNmea1LArrow", 4, 2},
            {"ChkIconsUpperDeg", "LblDegU", 4, 0},
        };
        for (const auto &r : rows)
            QTest::newRow(r.box) << QString::fromLatin1(r.box) << QString::fromLatin1(r.element) << r.byte << r.bit;
    }
    void eachIconOwnsOneBitAndOneElement()
    {
        QFETCH(QString, box);
        QFETCH(QString, element);
        QFETCH(int, byte);
        QFETCH(int, bit);
        MainWindowFixture f;
        f.blankBlock(7);
        f.select(7);
        f.get<QCheckBox>(box)->setChecked(true);

        QByteArray expected = bytes4(0, 0, 0, 0);
        expected[byte - 1] = char(1 << bit);
        QCOMPARE(iconBytes(f, 7), expected);
        for (QWidget *w : f.get<FaceView>("picBrevo")->findChildren<QWidget *>()) {
            if (w->objectName().contains(QLatin1String("Blank")) || w->objectName().contains(QLatin1String("Pointer")))
                continue;
            QCOMPARE(!w->isHidden(), w->objectName() == element);
        }
        f.get<QCheckBox>(box)->setChecked(false);
        QCOMPARE(iconBytes(f, 7), bytes4(0, 0, 0, 0));
        QVERIFY(f.get<FaceView>("picBrevo")->element(element)->isHidden());
    }

    // Checking boxes rebuilds the whole byte from its boxes; unowned bits end up 0.
    void checkingBoxesRebuildsTheirByte_data()
    {
        QTest::addColumn<QByteArray>("initial");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("DEG only") << bytes4(0, 0, 0, 0) << QStringList{"ChkIconsUpperDeg"} << bytes4(0, 0, 0, 1);
        QTest::newRow("DEG and NMEA1 left")
            << bytes4(0, 0, 0, 0) << QStringList{"ChkIconsUpperDeg", "ChkIconsMiddleNmea1Left"} << bytes4(0, 0, 0, 5);
        QTest::newRow("unowned bit 7 of byte 2 cleared by TEMP")
            << bytes4(0, 0x80, 0, 0) << QStringList{"ChkIconsLowerRightTemp"} << bytes4(0, 0x40, 0, 0);
        QTest::newRow("unowned low bits of byte 3 cleared by RPM")
            << bytes4(0, 0, 0x1F, 0) << QStringList{"ChkIconsUpperRpm"} << bytes4(0, 0, 0x80, 0);
        QTest::newRow("byte 4 keeps its shown arrow, drops unowned bits")
            << bytes4(0, 0, 0, 0xFC) << QStringList{"ChkIconsUpperDeg"} << bytes4(0, 0, 0, 5);
        QTest::newRow("several groups") << bytes4(0, 0, 0, 0)
                                        << QStringList{"ChkMidRightArrow", "ChkIconsMiddleNmea1",
                                                       "ChkIconsLowerLeftOil", "ChkIconsUpperSpeed"}
                                        << bytes4(0x81, 0x01, 0x20, 0);
    }
    void checkingBoxesRebuildsTheirByte()
    {
        QFETCH(QByteArray, initial);
        QFETCH(QStringList, boxes);
        QFETCH(QByteArray, expected);
        MainWindowFixture f;
        f.blankBlock(2);
        f.blankBlock(3);
        f.select(2);
        setIconBytes(f, 3, initial);
        f.select(3);
        for (const QString &box : boxes)
            f.get<QCheckBox>(box)->setChecked(true);
        QCOMPARE(iconBytes(f, 3), expected);
        QCOMPARE(iconBytes(f, 2), bytes4(0, 0, 0, 0));
    }

    // The redraw sets the boxes; a group in which some box changes is rewritten, others keep their byte.
    void redrawRewritesOnlyGroupsThatChange_data()
    {
        QTest::addColumn<int>("previousByte2");
        QTest::addColumn<int>("shownByte2");
        QTest::addColumn<int>("expectedByte2");
        QTest::newRow("0xC1 after other lower icons becomes 0x41") << 0x3E << 0xC1 << 0x41;
        QTest::newRow("0xC1 after the same lower icons stays") << 0x41 << 0xC1 << 0xC1;
    }
    void redrawRewritesOnlyGroupsThatChange()
    {
        QFETCH(int, previousByte2);
        QFETCH(int, shownByte2);
        QFETCH(int, expectedByte2);
        MainWindowFixture f;
        f.blankBlock(4);
        f.blankBlock(5);
        f.block(4)[2] = quint8(previousByte2);
        f.block(5)[2] = quint8(shownByte2);
        f.select(4);
        f.select(5);
        QCOMPARE(int(f.block(5)[2]), expectedByte2);
        FaceView *face = f.get<FaceView>("picBrevo");
        QVERIFY(!face->element(QStringLiteral("LblTemp"))->isHidden());
        QVERIFY(!face->element(QStringLiteral("LblOil"))->isHidden());
        for (QWidget *w : {face->element(QStringLiteral("LblFuel")), face->element(QStringLiteral("LblRpmLower")),
                           face->element(QStringLiteral("LblDepthLower")), face->element(QStringLiteral("LblVdc")),
                           face->element(QStringLiteral("LblSpeedLower"))})
            QVERIFY2(w->isHidden(), qPrintable(w->objectName()));
        QVERIFY(f.get<QCheckBox>("ChkIconsLowerRightTemp")->isChecked());
        QVERIFY(!f.get<QCheckBox>("ChkIconsLowerRightFuel")->isChecked());
    }

    void confirmations_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("line");
        const QString setTitle = QStringLiteral("Set all Icons for display configuration # 3");
        const QString setLine = QStringLiteral("This will turn ON all the Icons for display configuration # 3");
        const QString clearTitle = QStringLiteral("Clear all Icons for display configuration # 3");
        const QString clearLine = QStringLiteral("This will clear all the Icons for display configuration # 3");
        QTest::newRow("turn all on, Yes")
            << "cmdSetCurrentConfig" << true << bytes4(0, 0, 0, 0) << bytes4(255, 127, 224, 5) << setTitle << setLine;
        QTest::newRow("turn all on, No") << "cmdSetCurrentConfig" << false << bytes4(0, 0, 0, 0) << bytes4(0, 0, 0, 0)
                                         << setTitle << setLine;
        // The boxes are all clear already, so the bytes still hold their unowned bits.
        QTest::newRow("clear icons with unowned bits, Yes")
            << "cmdResetCurrentConfig" << true << bytes4(0, 0x80, 0x1F, 0xFA) << bytes4(0, 0, 0, 0) << clearTitle
            << clearLine;
        QTest::newRow("clear icons, No") << "cmdResetCurrentConfig" << false << bytes4(0, 0x80, 0x1F, 0xFA)
                                         << bytes4(0, 0x80, 0x1F, 0xFA) << clearTitle << clearLine;
    }
    void confirmations()
    {
        QFETCH(QString, button);
        QFETCH(bool, yes);
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        QFETCH(QString, title);
        QFETCH(QString, line);
        MainWindowFixture f;
        f.blankBlock(2);
        f.blankBlock(3);
        f.select(2);
        setIconBytes(f, 3, before);
        f.select(3);
        QCOMPARE(iconBytes(f, 3), before);
        const int beeps = f.prompts.beeps;
        yes ? f.prompts.yes() : f.prompts.no();
        f.click(button);
        QVERIFY(f.prompts.verifyAllUsed());
        QCOMPARE(f.prompts.beeps, beeps + 1);
        QCOMPARE(f.prompts.last().title, title);
        QCOMPARE(f.prompts.last().text, QStringLiteral("Are you sure?\r\n") + line);
        QCOMPARE(f.prompts.last().icon, Prompts::Icon::Question);
        QCOMPARE(iconBytes(f, 3), after);
        const bool allOn = after == bytes4(255, 127, 224, 5);
        for (QCheckBox *box : f.get<QGroupBox>("fraIcons")->findChildren<QCheckBox *>())
            if (after == bytes4(0, 0, 0, 0) || allOn)
                QCOMPARE(box->isChecked(), allOn);
    }

    void clearConfigurationKeepsTheRestOfTheBlock_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("Yes clears") << true;
        QTest::newRow("No keeps") << false;
    }
    void clearConfigurationKeepsTheRestOfTheBlock()
    {
        QFETCH(bool, yes);
        MainWindowFixture f;
        for (int d = 0; d <= 127; ++d)
            f.block(9)[d] = quint8(100 + d);
        const int sources[] = {28, 48, 68, 88, 108};
        for (int i = 0; i < 5; ++i)
            f.block(9)[sources[i]] = quint8(23 + i);
        f.select(9);
        QByteArray before(reinterpret_cast<const char *>(f.block(9)), 128);

        yes ? f.prompts.yes() : f.prompts.no();
        f.click("cmdClearConfig");
        QVERIFY(f.prompts.verifyAllUsed());
        QCOMPARE(f.prompts.last().title, QStringLiteral("Completely clear display configuration # 9"));
        QCOMPARE(f.prompts.last().text,
                 QStringLiteral("Are you sure?\r\nThis will completely clear display configuration # 9"));

        // Byte 0 is the block's checksum: the image keeps it right.
        const QList<int> cleared = {1, 2, 3, 4, 28, 48, 68, 88, 89, 90, 91, 92, 108, 109, 110, 111, 112};
        for (int d = 1; d <= 127; ++d) {
            const int expected = yes && cleared.contains(d) ? 0 : quint8(before[d]);
            QVERIFY2(f.block(9)[d] == expected, qPrintable(QStringLiteral("byte %1").arg(d)));
        }
        if (yes)
            QCOMPARE(f.block(9)[0], configBlockChecksum(f.block(9)));
        if (yes) {
            QCOMPARE(f.get<QComboBox>("ComboDisplay1")->currentText(), QStringLiteral("None - Blank"));
            QCOMPARE(f.text("LblLeftBarUpperLimit"), QStringLiteral("Upper Bar Limit: 0"));
            QCOMPARE(f.get<FaceView>("picBrevo")->sourceText(0), QString());
        }
    }

    void configurationButtons_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("n");
        QTest::newRow("first") << 0 << " 1";
        QTest::newRow("fifth") << 4 << " 5";
        QTest::newRow("last") << 15 << " 16";
    }
    void configurationButtons()
    {
        QFETCH(int, index);
        QFETCH(QString, n);
        MainWindowFixture f;
        // Design captions until the first press.
        QCOMPARE(f.get<QGroupBox>("fraData")->title(), QStringLiteral("Data for Current Configuration #1 "));
        QCOMPARE(f.get<QPushButton>("cmdSetCurrentConfig")->text(), QStringLiteral("Set #1 Icons"));
        QCOMPARE(f.get<QPushButton>("cmdResetCurrentConfig")->text(), QStringLiteral("Clear  #1 Icons"));
        QCOMPARE(f.get<QPushButton>("cmdClearConfig")->text(), QStringLiteral("Clear #1 Configuration"));

        QPushButton *button = f.get<QPushButton>(QStringLiteral("CmdConf1_%1").arg(index));
        QCOMPARE(button->text(), QString::number(index + 1));
        button->click();
        QCOMPARE(int(f.sys(6)), index + 1);
        QCOMPARE(int(f.state().session.currentConfig), index + 1);
        QVERIFY(button->isDefault());
        QCOMPARE(f.get<QGroupBox>("fraData")->title(), QStringLiteral("Data for Current Configuration #") + n + " ");
        QCOMPARE(f.get<QPushButton>("cmdResetCurrentConfig")->text(), QStringLiteral("Clear #") + n + "  Icons");
        QCOMPARE(f.get<QPushButton>("cmdSetCurrentConfig")->text(), QStringLiteral("Set #") + n + "  Icons");
        QCOMPARE(f.get<QPushButton>("cmdClearConfig")->text(), QStringLiteral("Clear Configuration #") + n);
        int defaults = 0;
        for (QPushButton *b : f.get<QGroupBox>("fraConfigurations")->findChildren<QPushButton *>())
            defaults += b->isDefault();
        QCOMPARE(defaults, 1);
    }

    // A damaged byte 6 shows and edits configuration 1 and never touches block 0.
    void damagedCurrentConfigurationShowsTheFirst_data()
    {
        QTest::addColumn<int>("byte6");
        QTest::newRow("zero") << 0;
        QTest::newRow("seventeen") << 17;
        QTest::newRow("255") << 255;
    }
    void damagedCurrentConfigurationShowsTheFirst()
    {
        QFETCH(int, byte6);
        MainWindowFixture f;
        for (int d = 0; d <= 128; ++d)
            f.block(0)[d] = 0xEE;
        f.blankBlock(1);
        f.block(1)[4] = 0x01; // DEG
        f.sys(6) = quint8(byte6);
        f.window->updateInstrumentDisplay();
        f.window->showAlarmLimits();
        QCOMPARE(int(f.sys(6)), 1);
        QCOMPARE(int(f.state().session.currentConfig), 1);
        QVERIFY(f.get<QCheckBox>("ChkIconsUpperDeg")->isChecked());
        f.get<QCheckBox>("ChkIconsUpperSpeed")->setChecked(true);
        QCOMPARE(int(f.block(1)[3]), 0x20);
        for (int d = 0; d <= 128; ++d)
            QCOMPARE(int(f.block(0)[d]), 0xEE);
    }

    // After a load moved byte 6 the captions name the configuration shown.
    void captionsFollowTheConfigurationShown()
    {
        MainWindowFixture f;
        f.select(5);
        f.sys(6) = 1;
        f.window->updateInstrumentDisplay();
        QCOMPARE(f.get<QGroupBox>("fraData")->title(), QStringLiteral("Data for Current Configuration # 1 "));
        QCOMPARE(f.get<QPushButton>("cmdClearConfig")->text(), QStringLiteral("Clear Configuration # 1"));
    }
};

QTEST_MAIN(TestMainView)
#include "tst_mainwindow_view_gui.moc"
