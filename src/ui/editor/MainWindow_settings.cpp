// MainWindow: the Edit menu's instrument settings: units, clock, bar graph type, tachometer, tank sizes, maintenance
// alarm.
#include "ui/editor/MainWindow.h"

#include "core/NumberText.h"
#include "core/Prompts.h"
#include "ui/editor/FaceView.h"

#include <QAction>
#include <algorithm>

namespace
{

void checkOnly(QAction *chosen, std::initializer_list<QAction *> group)
{
    for (QAction *a : group)
        a->setChecked(a == chosen);
}

} // namespace

void MainWindow::setPressureLabel(bool bars)
{
    if (onPressureUnitsChanged)
        onPressureUnitsChanged(bars);
}

void MainWindow::setTemperatureLabel(bool celsius)
{
    if (onTemperatureUnitsChanged)
        onTemperatureUnitsChanged(celsius);
}

void MainWindow::RefreshSettingsMenu()
{
    quint8 &b1 = m_state.SystemBlock[1];
    const bool psi = b1 & 0x10;
    checkOnly(psi ? Psi : Bars, {Psi, Bars});
    setPressureLabel(!psi);
    const bool degF = b1 & 0x08;
    checkOnly(degF ? DegF : DegC, {DegF, DegC});
    setTemperatureLabel(!degF);
    checkOnly(b1 & 0x04 ? Hr12 : Hr24, {Hr12, Hr24});
    checkOnly(b1 & 0x02 ? BarChart : Pointer, {BarChart, Pointer});

    QAction *speed[4] = {Knots, MPH, KmHr, nullptr}; // bits 6, 5 = 1, 1 matches no item
    checkOnly(speed[(b1 >> 5) & 3], {Knots, MPH, KmHr});

    picBrevo->setPointerMode(Pointer->isChecked());

    QAction *sensitivity = nullptr;
    switch (m_state.SystemBlock[2] & 0x0F) {
    case 15:
        sensitivity = TachoSensitivityMaximum;
        break;
    case 14:
        sensitivity = TachoSensitivityHigh;
        break;
    case 13:
        sensitivity = TachoSensitivityMedium;
        break;
    case 11:
        sensitivity = TachoSensitivityLow;
        break;
    case 7:
        sensitivity = TachoSensitivityMinimum;
        break;
    default:
        break;
    }
    checkOnly(sensitivity, {TachoSensitivityMaximum, TachoSensitivityHigh, TachoSensitivityMedium, TachoSensitivityLow,
                            TachoSensitivityMinimum});

    QAction *ratio = nullptr;
    switch (m_state.SystemBlock[7]) {
    case 1:
        ratio = TachoRatio1;
        break;
    case 5:
        ratio = TachoRatio5;
        break;
    case 10:
        ratio = TachoRatio10;
        break;
    case 20:
        ratio = TachoRatio20;
        break;
    case 50:
        ratio = TachoRatio50;
        break;
    case 100:
        ratio = TachoRatio100;
        break;
    case 200:
        ratio = TachoRatio200;
        break;
    default:
        // The instrument knows no other ratio: an unknown one becomes 1:1.
        m_state.SystemBlock[7] = 1;
        ratio = TachoRatio1;
        break;
    }
    checkOnly(ratio,
              {TachoRatio1, TachoRatio5, TachoRatio10, TachoRatio20, TachoRatio50, TachoRatio100, TachoRatio200});
}

// --- radio choices ------------------------------------------------------------------------------

void MainWindow::chooseSpeed(QAction *item, quint8 andMask, quint8 orMask)
{
    m_state.SystemBlock[1] = quint8((m_state.SystemBlock[1] & andMask) | orMask);
    checkOnly(item, {Knots, MPH, KmHr});
}

void MainWindow::Knots_Click()
{
    chooseSpeed(Knots, 0x9F, 0x00);
}
void MainWindow::MPH_Click()
{
    chooseSpeed(MPH, 0xBF, 0x20);
}
void MainWindow::KmHr_Click()
{
    chooseSpeed(KmHr, 0xDF, 0x40);
}

void MainWindow::setByte1Bit(quint8 bit, bool on)
{
    quint8 &b1 = m_state.SystemBlock[1];
    b1 = on ? quint8(b1 | bit) : quint8(b1 & ~bit);
}

void MainWindow::DegF_Click()
{
    setByte1Bit(0x08, true);
    checkOnly(DegF, {DegF, DegC});
    setTemperatureLabel(false);
}

void MainWindow::DegC_Click()
{
    setByte1Bit(0x08, false);
    checkOnly(DegC, {DegF, DegC});
    setTemperatureLabel(true);
}

void MainWindow::Psi_Click()
{
    setByte1Bit(0x10, true);
    checkOnly(Psi, {Psi, Bars});
    setPressureLabel(false);
}

void MainWindow::Bars_Click()
{
    setByte1Bit(0x10, false);
    checkOnly(Bars, {Psi, Bars});
    setPressureLabel(true);
}

void MainWindow::Hr12_Click()
{
    setByte1Bit(0x04, true);
    checkOnly(Hr12, {Hr12, Hr24});
}

void MainWindow::Hr24_Click()
{
    setByte1Bit(0x04, false);
    checkOnly(Hr24, {Hr12, Hr24});
}

void MainWindow::BarChart_Click()
{
    setByte1Bit(0x02, true);
    checkOnly(BarChart, {BarChart, Pointer});
    picBrevo->setPointerMode(false);
}

void MainWindow::Pointer_Click()
{
    setByte1Bit(0x02, false);
    checkOnly(Pointer, {BarChart, Pointer});
    picBrevo->setPointerMode(true);
}

void MainWindow::chooseSensitivity(QAction *item, quint8 andMask, quint8 orMask)
{
    // Bits 7..4 belong to the instrument and stay as they are.
    m_state.SystemBlock[2] = quint8((m_state.SystemBlock[2] & andMask) | orMask);
    checkOnly(item, {TachoSensitivityMaximum, TachoSensitivityHigh, TachoSensitivityMedium, TachoSensitivityLow,
                     TachoSensitivityMinimum});
}

void MainWindow::TachoSensitivityMaximum_Click()
{
    chooseSensitivity(TachoSensitivityMaximum, 0xFF, 0x0F);
}
void MainWindow::TachoSensitivityHigh_Click()
{
    chooseSensitivity(TachoSensitivityHigh, 0xFE, 0x0E);
}
void MainWindow::TachoSensitivityMedium_Click()
{
    chooseSensitivity(TachoSensitivityMedium, 0xFD, 0x0D);
}
void MainWindow::TachoSensitivityLow_Click()
{
    chooseSensitivity(TachoSensitivityLow, 0xFB, 0x0B);
}
void MainWindow::TachoSensitivityMinimum_Click()
{
    chooseSensitivity(TachoSensitivityMinimum, 0xF7, 0x07);
}

void MainWindow::choosePulleyRatio(QAction *item, quint8 ratio)
{
    m_state.SystemBlock[7] = ratio;
    checkOnly(item, {TachoRatio1, TachoRatio5, TachoRatio10, TachoRatio20, TachoRatio50, TachoRatio100, TachoRatio200});
}

void MainWindow::TachoRatio1_Click()
{
    choosePulleyRatio(TachoRatio1, 1);
}
void MainWindow::TachoRatio5_Click()
{
    choosePulleyRatio(TachoRatio5, 5);
}
void MainWindow::TachoRatio10_Click()
{
    choosePulleyRatio(TachoRatio10, 10);
}
void MainWindow::TachoRatio20_Click()
{
    choosePulleyRatio(TachoRatio20, 20);
}
void MainWindow::TachoRatio50_Click()
{
    choosePulleyRatio(TachoRatio50, 50);
}
void MainWindow::TachoRatio100_Click()
{
    choosePulleyRatio(TachoRatio100, 100);
}
void MainWindow::TachoRatio200_Click()
{
    choosePulleyRatio(TachoRatio200, 200);
}

// --- number entries ------------------------------------------------------------------------------

// Asks until the answer is in range or cancelled; an out-of-range answer beeps and asks again
// with the stored value as the default.
void MainWindow::numberEntryLoop(const QString &title, const QString &rangeLine, double maximum, int factor, int byte,
                                 bool hoursDefault)
{
    for (;;) {
        m_prompts.beep();
        const quint16 value = m_state.systemWord(byte);
        const QString defaultText = hoursDefault ? numtext::signedText(numtext::roundHalfEven(value / 60.0))
                                                 : numtext::signedText(double(value) / 10.0);
        const QString answer = m_prompts.inputBox(rangeLine + QStringLiteral("\r\n0=OFF"), title, defaultText);
        if (answer.isEmpty())
            return;
        const double v = numtext::leadingNumber(answer);
        if (v < 0 || v > maximum)
            continue;
        m_state.setSystemWord(byte, quint16(std::clamp<qint64>(numtext::roundHalfEven(v * factor), 0, 65535)));
        return;
    }
}

void MainWindow::FuelTankSize_Click()
{
    numberEntryLoop(QStringLiteral("View/Set Fuel Tank Size"), QStringLiteral("Enter a value between 0 and 6500.0"),
                    6500, 10, 21, false);
}

void MainWindow::Tank2Size_Click()
{
    numberEntryLoop(QStringLiteral("View/Set Optional 2n'd Tank Size"),
                    QStringLiteral("Enter a value between 0.0 and 6500.0"), 6500, 10, 23, false);
}

void MainWindow::ViewMaintenanceAlarm_Click()
{
    numberEntryLoop(QStringLiteral("View/Set Engine Maintenance Alarm"),
                    QStringLiteral("Enter a value between 0 and 999.9 hours."), 999.9, 60, 114, true);
}
