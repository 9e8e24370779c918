// The sender window: sender type lists, the curve grid, store-back and the curve chart.
#include "core/Defaults.h"
#include "core/ImageModel.h"
#include "kit/Child.h"
#include "kit/ScriptedPrompts.h"
#include "ui/Twips.h"
#include "ui/dialogs/ChartWindow.h"
#include "ui/dialogs/SendersWindow.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QTest>
#include <memory>

namespace
{

struct Rig {
    std::unique_ptr<EditorState> state = std::make_unique<EditorState>();
    ImageModel image{*state};
    ScriptedPrompts prompts;
    std::unique_ptr<SendersWindow> w;

    Rig()
    {
        writeDefaultsToRam(*state);
        w = std::make_unique<SendersWindow>(*state, image, prompts);
        state->onSenderPositionsChanged = [this] { w->positionListsFromState(); };
        positionSenderLists(*state);
        w->open();
    }
    QPushButton *editButton(int curve) const
    {
        return child<QPushButton>(*w, QStringLiteral("cmdEditCurve%1").arg(curve));
    }
    QTableWidget *grid() const { return child<QTableWidget>(*w, QStringLiteral("MSFlexGrid1")); }
    QPushButton *viewButton() const { return child<QPushButton>(*w, QStringLiteral("cmdSendersView")); }
    QPushButton *exitButton() const { return child<QPushButton>(*w, QStringLiteral("cmdSendersExit")); }
    QComboBox *list(const char *name) const { return child<QComboBox>(*w, QLatin1String(name)); }
    QLabel *label(const char *name) const { return child<QLabel>(*w, QLatin1String(name)); }
    void edit(int curve) const { QTest::mouseClick(editButton(curve), Qt::LeftButton); }
    // Makes (point, col) the current cell and empties it with Backspace.
    void clearCell(int point, int col) const
    {
        grid()->setCurrentCell(point - 1, col);
        for (int n = w->gridText(point, col).size(); n > 0; --n)
            QTest::keyClick(grid(), Qt::Key_Backspace);
    }
    void type(int point, int col, const QString &keys) const
    {
        clearCell(point, col);
        QTest::keyClicks(grid(), keys);
    }
    // A sender list receives the focus from the user.
    bool focusList(QComboBox *list) const
    {
        w->activateWindow();
        if (!QTest::qWaitForWindowActive(w.get()))
            return false;
        exitButton()->setFocus(Qt::MouseFocusReason);
        list->setFocus(Qt::MouseFocusReason);
        return list->hasFocus();
    }
    float ohms(int curve, int point) const { return state->calCurve[curve][point][1]; }
    float value(int curve, int point) const { return state->calCurve[curve][point][2]; }
};

} // namespace

class TestSendersWindow : public QObject
{
    Q_OBJECT
private slots:
    void doneWritesSenderTypes_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("byte");
        QTest::addColumn<int>("type");
        QTest::newRow("fuel user curve") << "cboFuelSender" << 3 << 98 << 9;
        QTest::newRow("fuel none") << "cboFuelSender" << 0 << 98 << 0;
        QTest::newRow("trim 0-10,000") << "cboTrimSender" << 4 << 99 << 20;
        QTest::newRow("trim user curve") << "cboTrimSender" << 3 << 99 << 19;
        QTest::newRow("engine user curve") << "cboEngineTempSender" << 6 << 100 << 6;
        QTest::newRow("engine none") << "cboEngineTempSender" << 0 << 100 << 0;
        QTest::newRow("oil first") << "cboOilPressureSender" << 1 << 101 << 10;
        QTest::newRow("oil user curve") << "cboOilPressureSender" << 7 << 101 << 16;
        QTest::newRow("second tank user curve") << "cbo2ndTankSender" << 3 << 103 << 25;
        QTest::newRow("second tank none") << "cbo2ndTankSender" << 0 << 103 << 0;
    }
    void doneWritesSenderTypes()
    {
        QFETCH(QString, list);
        QFETCH(int, position);
        QFETCH(int, byte);
        QFETCH(int, type);
        Rig rig;
        auto *combo = rig.w->findChild<QComboBox *>(list);
        QVERIFY(combo);
        combo->setCurrentIndex(position);
        QVERIFY(combo->currentText().startsWith(QString::number(type) + QLatin1Char(':')));
        rig.state->systemBlock[byte] = 200;
        QTest::mouseClick(rig.exitButton(), Qt::LeftButton);
        QCOMPARE(int(rig.state->systemBlock[byte]), type);
        QCOMPARE(int(rig.state->systemBlock[102]), 0); // between the sender bytes, not one
        QVERIFY(rig.prompts.verifyAllUsed());
    }

    void imageReplacedPositionsLists_data()
    {
        QTest::addColumn<QList<int>>("bytes");  // 98, 99, 100, 101, 103
        QTest::addColumn<QStringList>("shown"); // engine, fuel, oil, trim, second tank
        QTest::newRow("defaults") << QList<int>{7, 20, 3, 11, 23}
                                  << QStringList{"3:  VDO type 1: 10-180 ohm, 275-60 deg F",
                                                 "7:  Linear: USA 10-180 ohm", "11: VDO type 9: 10-250 ohm, 420-12 psi",
                                                 "20: Linear: 0-10,000 ohm", "23: Linear: USA 10-180 ohm"};
        QTest::newRow("below and beyond the lists")
            << QList<int>{6, 22, 7, 17, 26} << QStringList{"0:  None", "0:  None", "0:  None", "0:  None", "0:  None"};
        QTest::newRow("user curves") << QList<int>{9, 19, 6, 16, 25}
                                     << QStringList{"6:  User defined Engine Temperature curve",
                                                    "9:  User defined fuel sender curve",
                                                    "16: User defined Oil Pressure curve",
                                                    "19: User defined Trim sender curve (0-1000 ohm)",
                                                    "25: User defined 2'nd Tank Level sender curve"};
    }
    void imageReplacedPositionsLists()
    {
        QFETCH(QList<int>, bytes);
        QFETCH(QStringList, shown);
        Rig rig;
        const int byteNumbers[] = {98, 99, 100, 101, 103};
        for (int i = 0; i < 5; ++i)
            rig.state->systemBlock[byteNumbers[i]] = quint8(bytes[i]);
        positionSenderLists(*rig.state);
        const QComboBox *lists[] = {rig.list("cboEngineTempSender"), rig.list("cboFuelSender"),
                                    rig.list("cboOilPressureSender"), rig.list("cboTrimSender"),
                                    rig.list("cbo2ndTankSender")};
        for (int i = 0; i < 5; ++i)
            QCOMPARE(lists[i]->currentText(), shown[i]);
    }

    void positionBeyondAListSelectsNone()
    {
        Rig rig;
        rig.state->senderPositions.fuel = 4;
        rig.state->senderPositions.engineTemp = -1;
        rig.w->positionListsFromState();
        QCOMPARE(rig.list("cboFuelSender")->currentIndex(), 0);
        QCOMPARE(rig.list("cboEngineTempSender")->currentIndex(), 0);
    }

    void editButtonsLoadTheirCurve_data()
    {
        QTest::addColumn<int>("curve");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("leftTwips");
        QTest::newRow("engine temperature") << 6 << "   Engine    Temp." << 270;
        QTest::newRow("fuel") << 9 << "    Fuel    Tank" << 1380;
        QTest::newRow("oil pressure") << 16 << "   Oil    Pressure" << 2480;
        QTest::newRow("trim") << 19 << "    Trim     Angle" << 3580;
        QTest::newRow("second tank") << 25 << "2'nd Tank Level" << 4680;
    }
    void editButtonsLoadTheirCurve()
    {
        QFETCH(int, curve);
        QFETCH(QString, caption);
        QFETCH(int, leftTwips);
        Rig rig;
        rig.state->calCurve[curve][7][1] = 12.5f;
        QVERIFY(!rig.grid()->isVisible());
        QVERIFY(!rig.viewButton()->isEnabled());
        QCOMPARE(rig.editButton(curve)->text(), caption);
        rig.edit(curve);
        QVERIFY(rig.grid()->isVisible());
        QCOMPARE(rig.grid()->pos(), QPoint(twips::toPixels(leftTwips), 0));
        QVERIFY(rig.grid()->geometry().right() < rig.w->width());
        QCOMPARE(int(rig.state->session.editCurveNumber), curve);
        QCOMPARE(rig.w->graphCurveNumber(), curve);
        QVERIFY(rig.viewButton()->isEnabled());
        QCOMPARE(rig.w->gridText(0, 0), QStringLiteral("Index"));
        QCOMPARE(rig.w->gridText(0, 1), QStringLiteral("Ohms"));
        QCOMPARE(rig.w->gridText(0, 2), QStringLiteral("Value"));
        QCOMPARE(rig.w->gridText(32, 0), QStringLiteral("32"));
        QCOMPARE(rig.w->gridText(7, 1), QStringLiteral("12.5"));
        QCOMPARE(rig.w->gridText(32, 1), QStringLiteral("180"));
        QVERIFY(rig.grid()->columnWidth(0) >= twips::toPixels(500));
        QCOMPARE(rig.grid()->item(4, 2)->textAlignment(), int(Qt::AlignCenter));
    }

    void valueColumnShows_data()
    {
        QTest::addColumn<int>("curve");
        QTest::addColumn<float>("stored");
        QTest::addColumn<bool>("celsius");
        QTest::addColumn<bool>("bars");
        QTest::addColumn<QString>("shown");
        QTest::newRow("175.5 F") << 6 << 1755.0f << false << false << "175";
        QTest::newRow("175.5 F in C") << 6 << 1755.0f << true << false << "79";
        QTest::newRow("0 F in C") << 6 << 0.0f << true << false << "-18";
        QTest::newRow("bar") << 16 << 290.08f << false << true << "2.0";
        QTest::newRow("psi") << 16 << 355.0f << false << false << "35.5";
        QTest::newRow("trim whole") << 19 << 459.0f << false << false << "45";
        QTest::newRow("fuel tenths") << 9 << 1000.0f << false << false << "100.0";
        QTest::newRow("second tank tenths") << 25 << 5.0f << true << true << "0.5";
    }
    void valueColumnShows()
    {
        QFETCH(int, curve);
        QFETCH(float, stored);
        QFETCH(bool, celsius);
        QFETCH(bool, bars);
        QFETCH(QString, shown);
        Rig rig;
        rig.w->setTemperatureInCelsius(celsius);
        rig.w->setPressureInBars(bars);
        rig.state->calCurve[curve][3][2] = stored;
        rig.edit(curve);
        QCOMPARE(rig.w->gridText(3, 2), shown);
    }

    void typingStores_data()
    {
        QTest::addColumn<int>("curve");
        QTest::addColumn<bool>("celsius");
        QTest::addColumn<bool>("bars");
        QTest::addColumn<int>("point");
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<float>("stored");
        QTest::newRow("80 deg C") << 6 << true << false << 1 << 2 << "80" << 1760.0f;
        QTest::newRow("200 deg F") << 6 << false << false << 2 << 2 << "200" << 2000.0f;
        QTest::newRow("2 bar") << 16 << false << true << 1 << 2 << "2" << 290.08f;
        QTest::newRow("35.5 psi") << 16 << false << false << 5 << 2 << "35.5" << 355.0f;
        QTest::newRow("trim 45") << 19 << false << false << 32 << 2 << "45" << 450.0f;
        QTest::newRow("fuel 12.5") << 9 << true << true << 4 << 2 << "12.5" << 125.0f;
        QTest::newRow("emptied value") << 25 << false << false << 2 << 2 << "" << 0.0f;
        QTest::newRow("ohms 1.2.3") << 9 << false << false << 3 << 1 << "1.2.3" << 1.2f;
        QTest::newRow("ohms not converted") << 6 << true << false << 10 << 1 << "250" << 250.0f;
        QTest::newRow("ohms leading point") << 16 << false << true << 32 << 1 << ".5" << 0.5f;
    }
    void typingStores()
    {
        QFETCH(int, curve);
        QFETCH(bool, celsius);
        QFETCH(bool, bars);
        QFETCH(int, point);
        QFETCH(int, col);
        QFETCH(QString, keys);
        QFETCH(float, stored);
        Rig rig;
        rig.w->setTemperatureInCelsius(celsius);
        rig.w->setPressureInBars(bars);
        rig.edit(curve);
        const float otherField = rig.state->calCurve[curve][point][col == 1 ? 2 : 1];
        rig.type(point, col, keys);
        QCOMPARE(rig.w->gridText(point, col), keys);
        QCOMPARE(rig.state->calCurve[curve][point][col], stored);
        QCOMPARE(rig.state->calCurve[curve][point][col == 1 ? 2 : 1], otherField);
        QCOMPARE(rig.prompts.beeps, 0);
        QVERIFY(rig.prompts.verifyAllUsed());
    }

    void refusedKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("beeps");
        QTest::newRow("letter") << int(Qt::Key_A) << "a" << 1;
        QTest::newRow("minus") << int(Qt::Key_Minus) << "-" << 1;
        QTest::newRow("comma") << int(Qt::Key_Comma) << "," << 1;
        QTest::newRow("space") << int(Qt::Key_Space) << " " << 1;
        QTest::newRow("enter") << int(Qt::Key_Return) << "\r" << 1;
        QTest::newRow("escape") << int(Qt::Key_Escape) << "\x1b" << 1;
        QTest::newRow("arrow moves, no beep") << int(Qt::Key_Down) << "" << 0;
    }
    void refusedKeys()
    {
        QFETCH(int, key);
        QFETCH(QString, text);
        QFETCH(int, beeps);
        Rig rig;
        rig.edit(9);
        rig.grid()->setCurrentCell(1, 2);
        const QString before = rig.w->gridText(2, 2);
        const float stored = rig.value(9, 2);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(rig.grid(), &press);
        QCOMPARE(rig.prompts.beeps, beeps);
        QCOMPARE(rig.w->gridText(2, 2), before);
        QCOMPARE(rig.value(9, 2), stored);
    }

    void storeBackRoundTrip_data()
    {
        QTest::addColumn<int>("curve");
        QTest::addColumn<bool>("celsius");
        QTest::addColumn<bool>("bars");
        QTest::addColumn<float>("point32");                      // the linear curve's 1000 after the round trip
        QTest::newRow("deg C") << 6 << true << false << 1004.0f; // shown 38 C
        QTest::newRow("deg F") << 6 << false << false << 1000.0f;
        QTest::newRow("bar") << 16 << false << true << float(6.9 * 10 * 14.504);
        QTest::newRow("psi") << 16 << false << false << 1000.0f;
        QTest::newRow("trim") << 19 << false << false << 1000.0f;
    }
    void storeBackRoundTrip()
    {
        QFETCH(int, curve);
        QFETCH(bool, celsius);
        QFETCH(bool, bars);
        QFETCH(float, point32);
        Rig rig;
        rig.w->setTemperatureInCelsius(celsius);
        rig.w->setPressureInBars(bars);
        rig.edit(curve);
        QStringList shown;
        for (int p = 1; p <= 32; ++p)
            shown << rig.w->gridText(p, 1) + QLatin1Char('|') + rig.w->gridText(p, 2);

        QVERIFY(rig.focusList(rig.list("cboOilPressureSender")));
        QVERIFY(!rig.grid()->isVisible());
        QVERIFY(!rig.viewButton()->isEnabled());
        QCOMPARE(int(rig.state->session.editCurveNumber), curve);
        QCOMPARE(rig.w->graphCurveNumber(), curve);
        QCOMPARE(rig.value(curve, 32), point32);

        rig.edit(curve);
        for (int p = 1; p <= 32; ++p)
            QCOMPARE(rig.w->gridText(p, 1) + QLatin1Char('|') + rig.w->gridText(p, 2), shown[p - 1]);
    }

    // The grid shows very small and very large numbers with an exponent; a store-back keeps them.
    void storeBackKeepsNumbersShownWithAnExponent()
    {
        Rig rig;
        rig.state->calCurve[9][1][1] = 1.0e-6f;
        rig.state->calCurve[9][2][1] = 2.5e7f;
        rig.state->calCurve[9][3][2] = 4.0e16f;
        rig.edit(9);
        QCOMPARE(rig.w->gridText(1, 1), QStringLiteral("1E-06"));
        QVERIFY(rig.focusList(rig.list("cboFuelSender")));
        QCOMPARE(rig.ohms(9, 1), 1.0e-6f);
        QCOMPARE(rig.ohms(9, 2), 2.5e7f);
        QCOMPARE(rig.value(9, 3), 4.0e16f);
    }

    void typingAfterTheImageWasReplacedStoresNothing()
    {
        Rig rig;
        rig.edit(9);
        rig.state->session.editCurveNumber = 99; // a file was opened meanwhile
        rig.state->calCurve[9][1][2] = 77.0f;
        rig.type(1, 2, QStringLiteral("42"));
        QCOMPARE(rig.w->gridText(1, 2), QStringLiteral("42"));
        QCOMPARE(rig.value(9, 1), 77.0f);
        QVERIFY(rig.focusList(rig.list("cboFuelSender")));
        QCOMPARE(rig.value(9, 1), 77.0f);
        QCOMPARE(rig.prompts.beeps, 0);
    }

    void imageReplacedShowsTheLoadedCurve()
    {
        Rig rig;
        rig.edit(9);
        rig.state->calCurve[9][1][1] = 123.0f; // undo, Open, a download ...
        rig.image.announceReplaced();
        QCOMPARE(rig.w->gridText(1, 1), QStringLiteral("123"));
        QCOMPARE(rig.ohms(9, 1), 123.0f); // the grid's old number was not stored back
    }

    // The grid's numbers are read back in the unit shown: switching the unit while a
    // curve is loaded must show the curve in the new unit, or the next store-back
    // would read degrees F as degrees C.
    void unitChangeWhileLoadedShowsTheNewUnit_data()
    {
        QTest::addColumn<int>("curve");
        QTest::addColumn<float>("stored");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<float>("storedBack");
        QTest::newRow("F to C") << 6 << 1755.0f << "175"
                                << "79" << 1742.0f;
        QTest::newRow("psi to bar") << 16 << 290.08f << "29.0"
                                    << "2.0" << 290.08f;
    }
    void unitChangeWhileLoadedShowsTheNewUnit()
    {
        QFETCH(int, curve);
        QFETCH(float, stored);
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(float, storedBack);
        Rig rig;
        rig.w->setTemperatureInCelsius(false);
        rig.w->setPressureInBars(false);
        rig.state->calCurve[curve][1][2] = stored;
        rig.edit(curve);
        QCOMPARE(rig.w->gridText(1, 2), before);
        rig.w->setTemperatureInCelsius(true);
        rig.w->setPressureInBars(true);
        QCOMPARE(rig.w->gridText(1, 2), after);
        QVERIFY(rig.focusList(rig.list("cboTrimSender")));
        QCOMPARE(rig.value(curve, 1), storedBack);
    }

    void chartShowsInstrumentUnits_data()
    {
        QTest::addColumn<int>("curve");
        QTest::addColumn<bool>("celsius");
        QTest::addColumn<bool>("bars");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<double>("firstY");
        QTest::newRow("deg C shown, F plotted") << 6 << true << false << "80" << 176.0;
        QTest::newRow("bar shown, psi plotted") << 16 << false << true << "2" << 29.008;
        QTest::newRow("fuel") << 9 << true << true << "50" << 50.0;
    }
    void chartShowsInstrumentUnits()
    {
        QFETCH(int, curve);
        QFETCH(bool, celsius);
        QFETCH(bool, bars);
        QFETCH(QString, keys);
        QFETCH(double, firstY);
        Rig rig;
        rig.w->setTemperatureInCelsius(celsius);
        rig.w->setPressureInBars(bars);
        rig.edit(curve);
        rig.type(1, 2, keys);
        rig.type(2, 1, QStringLiteral("17"));
        QTest::mouseClick(rig.viewButton(), Qt::LeftButton);
        ChartWindow *chart = rig.w->chartWindow();
        QVERIFY(chart);
        QVERIFY(chart->isVisible());
        QCOMPARE(chart->windowTitle(), QStringLiteral("Calibration Curve Chart"));
        QCOMPARE(chart->curveNumber(), curve);
        const QList<QPointF> points = chart->plottedPoints();
        QCOMPARE(points.size(), 32);
        QVERIFY(qAbs(points[0].y() - firstY) < 1e-4);
        QCOMPARE(points[1].x(), 17.0);
        for (int p = 1; p <= 32; ++p) {
            QCOMPARE(points[p - 1].x(), double(rig.ohms(curve, p)));
            QCOMPARE(points[p - 1].y(), double(float(double(rig.value(curve, p)) / 10.0)));
        }
        // An edit while the chart is open shows at once.
        rig.type(3, 2, QStringLiteral("1"));
        QCOMPARE(chart->plottedPoints()[2].y(), double(float(double(rig.value(curve, 3)) / 10.0)));
        // So does a new image (undo, Open, a download).
        rig.state->calCurve[curve][4][2] = 1230.0f;
        rig.image.announceReplaced();
        QCOMPARE(chart->plottedPoints()[3].y(), 123.0);
    }

    void doneHidesAndUnloadsTheCurve()
    {
        Rig rig;
        rig.edit(16);
        QTest::mouseClick(rig.exitButton(), Qt::LeftButton);
        QVERIFY(!rig.w->isVisible());
        QVERIFY(!rig.grid()->isVisible());
        QVERIFY(!rig.viewButton()->isEnabled());
        QCOMPARE(int(rig.state->session.editCurveNumber), 99);
        rig.w->open();
        QVERIFY(rig.w->isVisible());
        QVERIFY(!rig.grid()->isVisible());
    }

    void closingFromTheFrameWritesNoSenderTypes()
    {
        Rig rig;
        rig.edit(19);
        rig.list("cboFuelSender")->setCurrentIndex(3);
        QVERIFY(rig.w->close());
        QVERIFY(!rig.w->isVisible());
        QCOMPARE(int(rig.state->systemBlock[98]), 7);
        QCOMPARE(rig.list("cboFuelSender")->currentIndex(), 3);
        QVERIFY(!rig.grid()->isVisible());
        QVERIFY(!rig.viewButton()->isEnabled());
    }

    void unitLabels_data()
    {
        QTest::addColumn<bool>("on");
        QTest::addColumn<QString>("pressure");
        QTest::addColumn<QString>("temperature");
        QTest::newRow("bars and deg C") << true << "Pressure:  Bars"
                                        << "Temperature:  Deg C";
        QTest::newRow("psi and deg F") << false << "Pressure:  PSI"
                                       << "Temperature:  Deg F";
    }
    void unitLabels()
    {
        QFETCH(bool, on);
        QFETCH(QString, pressure);
        QFETCH(QString, temperature);
        Rig rig;
        rig.w->setPressureInBars(on);
        rig.w->setTemperatureInCelsius(on);
        QCOMPARE(rig.label("lblSendersUofMPressure")->text(), pressure);
        QCOMPARE(rig.label("lblSendersUofMTemperature")->text(), temperature);
    }

    void opensAtItsPlace()
    {
        Rig rig;
        const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInch();
        QCOMPARE(rig.w->pos(), QPoint(twips::toPixels(2500, dpi), twips::toPixels(500, dpi)));
        QCOMPARE(rig.w->windowTitle(),
                 QStringLiteral("View / Select sender types & edit user defined calibration curves"));
        // The defaults' byte 1 (26) means PSI and degrees F.
        QCOMPARE(rig.label("lblSendersUofMPressure")->text(), QStringLiteral("Pressure:  PSI"));
        QCOMPARE(rig.label("lblSendersUofMTemperature")->text(), QStringLiteral("Temperature:  Deg F"));
    }
};

QTEST_MAIN(TestSendersWindow)
#include "tst_senders_gui.moc"
