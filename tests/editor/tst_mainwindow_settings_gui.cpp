// The main window's Edit menu: radio choices and their bits, the menu refresh, and the three number entries.
#include "MainWindowFixture.h"

#include "ui/editor/FaceView.h"

#include <QActionGroup>
#include <QMenu>
#include <QTest>

namespace
{

const QStringList kRadioItems = {"Knots",
                                 "MPH",
                                 "KmHr",
                                 "DegF",
                                 "DegC",
                                 "Psi",
                                 "Bars",
                                 "Hr12",
                                 "Hr24",
                                 "BarChart",
                                 "Pointer",
                                 "TachoSensitivityMaximum",
                                 "TachoSensitivityHigh",
                                 "TachoSensitivityMedium",
                                 "TachoSensitivityLow",
                                 "TachoSensitivityMinimum",
                                 "TachoRatio1",
                                 "TachoRatio5",
                                 "TachoRatio10",
                                 "TachoRatio20",
                                 "TachoRatio50",
                                 "TachoRatio100",
                                 "TachoRatio200"};

QStringList checkedItems(MainWindowFixture &f)
{
    QStringList checked;
    for (const QString &name : kRadioItems)
        if (f.get<QAction>(name)->isChecked())
            checked << name;
    return checked;
}

} // namespace

class TestMainSettings : public QObject
{
    Q_OBJECT
private slots:
    void radioChoices_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("byte");
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("after");
        QTest::newRow("MPH from 0x40") << "MPH" << 1 << 0x40 << 0x20;
        QTest::newRow("KPH from 0x7F") << "KmHr" << 1 << 0x7F << 0x5F;
        QTest::newRow("Knots from 0x7F") << "Knots" << 1 << 0x7F << 0x1F;
        QTest::newRow("Knots again keeps its mark") << "Knots" << 1 << 0x00 << 0x00;
        QTest::newRow("Deg F") << "DegF" << 1 << 0x00 << 0x08;
        QTest::newRow("Deg C") << "DegC" << 1 << 0xFF << 0xF7;
        QTest::newRow("PSI") << "Psi" << 1 << 0x00 << 0x10;
        QTest::newRow("Bars") << "Bars" << 1 << 0xFF << 0xEF;
        QTest::newRow("12 Hr") << "Hr12" << 1 << 0x00 << 0x04;
        QTest::newRow("24 Hr") << "Hr24" << 1 << 0xFF << 0xFB;
        QTest::newRow("Bar Chart") << "BarChart" << 1 << 0x00 << 0x02;
        QTest::newRow("Pointer") << "Pointer" << 1 << 0xFF << 0xFD;
        QTest::newRow("Minimum from 0x9F") << "TachoSensitivityMinimum" << 2 << 0x9F << 0x97;
        QTest::newRow("Maximum from 0x90") << "TachoSensitivityMaximum" << 2 << 0x90 << 0x9F;
        QTest::newRow("High from 0x37") << "TachoSensitivityHigh" << 2 << 0x37 << 0x3E;
        QTest::newRow("Medium from 0xA0") << "TachoSensitivityMedium" << 2 << 0xA0 << 0xAD;
        QTest::newRow("Low from 0x5F") << "TachoSensitivityLow" << 2 << 0x5F << 0x5B;
        QTest::newRow("50:1") << "TachoRatio50" << 7 << 1 << 50;
        QTest::newRow("200:1") << "TachoRatio200" << 7 << 5 << 200;
    }
    void radioChoices()
    {
        QFETCH(QString, item);
        QFETCH(int, byte);
        QFETCH(int, before);
        QFETCH(int, after);
        MainWindowFixture f;
        f.sys(byte) = quint8(before);
        f.window->refreshSettingsMenu();
        const quint8 b1 = f.sys(1), b2 = f.sys(2), b7 = f.sys(7);
        QAction *chosen = f.get<QAction>(item);
        chosen->trigger();
        QCOMPARE(int(f.sys(byte)), after);
        QCOMPARE(f.sys(1), byte == 1 ? quint8(after) : b1);
        QCOMPARE(f.sys(2), byte == 2 ? quint8(after) : b2);
        QCOMPARE(f.sys(7), byte == 7 ? quint8(after) : b7);
        // Exactly the chosen item of its group carries the mark.
        for (QAction *sibling : chosen->actionGroup()->actions())
            QCOMPARE(sibling->isChecked(), sibling == chosen);
        // The marks still say what a redraw would say.
        const QStringList marks = checkedItems(f);
        f.window->refreshSettingsMenu();
        QCOMPARE(checkedItems(f), marks);
    }

    void menuRefresh_data()
    {
        QTest::addColumn<int>("b1");
        QTest::addColumn<int>("b2");
        QTest::addColumn<int>("b7");
        QTest::addColumn<QStringList>("checked");
        QTest::addColumn<int>("b7After");
        QTest::newRow("all clear") << 0x00 << 0x0F << 1
                                   << QStringList{"Knots",      "DegC",    "Bars",
                                                  "Hr24",       "Pointer", "TachoSensitivityMaximum",
                                                  "TachoRatio1"}
                                   << 1;
        QTest::newRow("speed bits 11 match no item")
            << 0x7E << 0xFB << 100
            << QStringList{"DegF", "Psi", "Hr12", "BarChart", "TachoSensitivityLow", "TachoRatio100"} << 100;
        QTest::newRow("MPH, unknown sensitivity")
            << 0x20 << 0x93 << 20 << QStringList{"MPH", "DegC", "Bars", "Hr24", "Pointer", "TachoRatio20"} << 20;
        QTest::newRow("KPH, ratio 3 becomes 1:1")
            << 0x40 << 0x07 << 3
            << QStringList{"KmHr", "DegC", "Bars", "Hr24", "Pointer", "TachoSensitivityMinimum", "TachoRatio1"} << 1;
        QTest::newRow("ratio 0 becomes 1:1")
            << 0x00 << 0x0E << 0
            << QStringList{"Knots", "DegC", "Bars", "Hr24", "Pointer", "TachoSensitivityHigh", "TachoRatio1"} << 1;
    }
    void menuRefresh()
    {
        QFETCH(int, b1);
        QFETCH(int, b2);
        QFETCH(int, b7);
        QFETCH(QStringList, checked);
        QFETCH(int, b7After);
        MainWindowFixture f;
        f.sys(1) = quint8(b1);
        f.sys(2) = quint8(b2);
        f.sys(7) = quint8(b7);
        f.select(3); // the redraw refreshes the menu
        QCOMPARE(checkedItems(f), checked);
        QCOMPARE(int(f.sys(7)), b7After);
        QCOMPARE(int(f.sys(1)), b1);
        QCOMPARE(int(f.sys(2)), b2);
        const bool pointer = checked.contains("Pointer");
        FaceView *face = f.get<FaceView>("picBrevo");
        for (QWidget *mark : {face->element(QStringLiteral("PicDisplay4PointerU")),
                              face->element(QStringLiteral("PicDisplay4PointerD")),
                              face->element(QStringLiteral("PicDisplay5PointerU")),
                              face->element(QStringLiteral("PicDisplay5PointerD"))})
            QCOMPARE(!mark->isHidden(), pointer);
        QCOMPARE(face->pointerMode(), pointer);
    }

    void unitLabelsOfTheSenderWindow()
    {
        MainWindowFixture f;
        const auto units = [&f] {
            return f.text("lblSendersUofMPressure") + " / " + f.text("lblSendersUofMTemperature");
        };
        f.sys(1) = 0x18; // psi, degrees F
        f.window->updateInstrumentDisplay();
        QCOMPARE(units(), QString("Pressure:  PSI / Temperature:  Deg F"));
        f.trigger("Bars");
        f.trigger("DegC");
        QCOMPARE(units(), QString("Pressure:  Bars / Temperature:  Deg C"));
        f.trigger("Psi");
        f.trigger("DegF");
        QCOMPARE(units(), QString("Pressure:  PSI / Temperature:  Deg F"));
    }

    void barGraphTypeSwitchesThePicture()
    {
        MainWindowFixture f;
        f.trigger("BarChart");
        QVERIFY(!f.get<FaceView>("picBrevo")->pointerMode());
        QVERIFY(f.get<FaceView>("picBrevo")->element(QStringLiteral("PicDisplay5PointerU"))->isHidden());
        f.trigger("Pointer");
        QVERIFY(f.get<FaceView>("picBrevo")->pointerMode());
        QVERIFY(!f.get<FaceView>("picBrevo")->element(QStringLiteral("PicDisplay5PointerU"))->isHidden());
    }

    void numberEntries_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("byte");
        QTest::addColumn<int>("before");
        QTest::addColumn<QStringList>("answers"); // an empty answer is Cancel
        QTest::addColumn<int>("after");
        QTest::addColumn<QStringList>("defaults");
        const QString fuel = "FuelTankSize", tank2 = "Tank2Size", service = "ViewMaintenanceAlarm";
        QTest::newRow("fuel 123.4 stores 1234") << fuel << 21 << 0 << QStringList{"123.4"} << 1234 << QStringList{" 0"};
        QTest::newRow("fuel 6500 stores 65000")
            << fuel << 21 << 10 << QStringList{"6500"} << 65000 << QStringList{" 1"};
        QTest::newRow("fuel 7000 beeps and asks again")
            << fuel << 21 << 1234 << QStringList{"7000", "5"} << 50 << QStringList{" 123.4", " 123.4"};
        QTest::newRow("fuel negative asks again")
            << fuel << 21 << 0 << QStringList{"-1", "1"} << 10 << QStringList{" 0", " 0"};
        QTest::newRow("fuel stored 40000 shows 4000")
            << fuel << 21 << 40000 << QStringList{"1"} << 10 << QStringList{" 4000"};
        QTest::newRow("second tank: text reads 0")
            << tank2 << 23 << 500 << QStringList{"abc"} << 0 << QStringList{" 50"};
        QTest::newRow("second tank: Cancel keeps")
            << tank2 << 23 << 555 << QStringList{""} << 555 << QStringList{" 55.5"};
        QTest::newRow("maintenance 999.9 hours stores 59994")
            << service << 114 << 0 << QStringList{"999.9"} << 59994 << QStringList{" 0"};
        QTest::newRow("maintenance 59994 minutes shows 1000")
            << service << 114 << 59994 << QStringList{"0"} << 0 << QStringList{" 1000"};
        QTest::newRow("maintenance 1000 hours asks again")
            << service << 114 << 120 << QStringList{"1000", "2.5"} << 150 << QStringList{" 2", " 2"};
        QTest::newRow("maintenance half hour to even")
            << service << 114 << 150 << QStringList{""} << 150 << QStringList{" 2"};
    }
    void numberEntries()
    {
        QFETCH(QString, item);
        QFETCH(int, byte);
        QFETCH(int, before);
        QFETCH(QStringList, answers);
        QFETCH(int, after);
        QFETCH(QStringList, defaults);
        MainWindowFixture f;
        f.state().setSystemWord(byte, quint16(before));
        for (const QString &a : answers)
            a.isEmpty() ? f.prompts.cancelInput() : f.prompts.input(a);
        const int beeps = f.prompts.beeps;
        f.trigger(item);
        QVERIFY(f.prompts.verifyAllUsed());
        QCOMPARE(int(f.state().systemWord(byte)), after);
        QCOMPARE(f.prompts.beeps - beeps, answers.size());

        const QString title = item == "FuelTankSize" ? "View/Set Fuel Tank Size"
                              : item == "Tank2Size"  ? "View/Set Optional 2n'd Tank Size"
                                                     : "View/Set Engine Maintenance Alarm";
        const QString range = item == "FuelTankSize" ? "Enter a value between 0 and 6500.0"
                              : item == "Tank2Size"  ? "Enter a value between 0.0 and 6500.0"
                                                     : "Enter a value between 0 and 999.9 hours.";
        QStringList shownDefaults;
        for (const PromptRecord &r : f.prompts.records) {
            QCOMPARE(r.title, title);
            QCOMPARE(r.text, range + "\r\n0=OFF");
            shownDefaults << r.defaultText;
        }
        QCOMPARE(shownDefaults, defaults);
    }

    void editMenuOrder()
    {
        MainWindowFixture f;
        auto describe = [](QMenu *menu) {
            QStringList items;
            for (QAction *a : menu->actions())
                items << (a->isSeparator() ? QStringLiteral("|") : a->objectName());
            return items;
        };
        QCOMPARE(describe(f.get<QMenu>("mnuFile")),
                 (QStringList{"New", "Open", "RecentFiles", "CompareWithFile", "TakeParts", "ExportReport",
                              "ExportPictures", "|", "Save", "SaveAs", "|", "Exit"}));
        QCOMPARE(f.get<QAction>("New")->text(), QStringLiteral("&New "));
        QCOMPARE(f.get<QAction>("SaveAs")->text(), QStringLiteral("Save  &As"));
        QCOMPARE(describe(f.get<QMenu>("mnuEdit")), (QStringList{"EditUndo",
                                                                 "EditRedo",
                                                                 "|",
                                                                 "SpeedUnits",
                                                                 "TemperatureUnits",
                                                                 "PressureUnits",
                                                                 "|",
                                                                 "TimeFormat",
                                                                 "BarGraphType",
                                                                 "Tacho",
                                                                 "|",
                                                                 "ViewDamping",
                                                                 "ViewMaintenanceAlarm",
                                                                 "Senders",
                                                                 "TessaroComPort",
                                                                 "ViewTodAlarms",
                                                                 "|",
                                                                 "FuelTankSize",
                                                                 "Tank2Size",
                                                                 "|",
                                                                 "ResetDefaults",
                                                                 "CreateBackup",
                                                                 "RestoreBackup",
                                                                 "|",
                                                                 "CompareWithInstrument",
                                                                 "VerifyAfterUpload",
                                                                 "|",
                                                                 "InstrumentHistory"}));
        QCOMPARE(describe(f.get<QMenu>("Tacho")), (QStringList{"TachoSensitivity", "PullyRatio"}));
        QCOMPARE(describe(f.get<QMenu>("PullyRatio")),
                 (QStringList{"TachoRatio1", "TachoRatio5", "TachoRatio10", "TachoRatio20", "TachoRatio50",
                              "TachoRatio100", "TachoRatio200"}));
        QCOMPARE(describe(f.get<QMenu>("mnuHelp")), (QStringList{"Contents", "|", "About"}));
        QCOMPARE(f.get<QAction>("Tank2Size")->text(), QStringLiteral("2n'd Tank Size"));
        QCOMPARE(f.get<QAction>("TessaroComPort")->text(), QStringLiteral("Communications Port"));
    }
};

QTEST_MAIN(TestMainSettings)
#include "tst_mainwindow_settings_gui.moc"
