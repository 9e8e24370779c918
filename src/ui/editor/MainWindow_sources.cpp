// MainWindow: data sources of the five displays, alarm and bar limits, the blinking highlight and the factory key
// chord.
#include "ui/editor/MainWindow.h"

#include "core/DataSources.h"
#include "core/DisplayTable.h"
#include "core/NumberText.h"
#include "core/Prompts.h"
#include "ui/dialogs/NmeaSelector.h"
#include "ui/editor/FacePicture.h"
#include "ui/editor/FaceView.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <algorithm>

namespace
{

double clampToWord(double v)
{
    if (v > 65535)
        v = 65535;
    if (v < 0)
        v = 0;
    return v;
}

quint16 toWord(double v)
{
    return quint16(std::clamp<qint64>(numtext::roundHalfEven(v), 0, 65535));
}

} // namespace

// --- lists ------------------------------------------------------------------------------------

bool MainWindow::isFirstRun() const
{
    return ComboDisplay1->count() <= 1;
}

void MainWindow::FillDataSourceLists()
{
    for (int k = 0; k < displays::kCount; ++k) {
        QComboBox *combo = m_display[size_t(k)].combo;
        if (combo->count() >= displays::kListEntries)
            continue;
        // Filling is not a choice: nothing is stored until the view selects the entries.
        const QSignalBlocker blocker(combo);
        combo->clear();
        combo->addItems(datasources::listEntries());
        combo->setCurrentIndex(-1);
    }
}

void MainWindow::ConvertListIndexData(int position, int d)
{
    if (position == displays::kOtherPosition)
        return; // the extra entry stands for the code already stored
    int code = 0;
    if (position >= 1 && position <= 8)
        code = position + displays::kNmeaCodeOffset;
    m_state.ConfigBlock[currentBlock()][d] = quint8(code);
}

// A stored code the lists do not offer (9..22, above 30) is shown as an extra, marked entry and
// kept as it is; it changes only when the user picks another entry.
void MainWindow::refreshDataSourceLists()
{
    for (int k = 0; k < displays::kCount; ++k) {
        QComboBox *combo = m_display[size_t(k)].combo;
        const int code = m_state.ConfigBlock[currentBlock()][displays::kDisplays[k].codeByte];
        int position;
        bool other = false;
        if (code == 0)
            position = 0;
        else if (code >= 23 && code <= 30)
            position = code - displays::kNmeaCodeOffset;
        else if (code >= 1 && code <= 8)
            position = code; // rewritten as that NMEA input's code when the entry changes
        else {
            other = true;
            position = displays::kOtherPosition;
            const QString text = datasources::sourceText(code);
            const QSignalBlocker blocker(combo);
            if (combo->count() <= displays::kOtherPosition)
                combo->addItem(text);
            else
                combo->setItemText(displays::kOtherPosition, text);
        }
        if (combo->currentIndex() != position)
            combo->setCurrentIndex(position); // runs the data-source steps, as a pick does
        if (!other)
            removeOtherSourceEntry(k);
    }

    const int block = currentBlock();
    std::array<int, 5> codes{};
    for (int k = 0; k < displays::kCount; ++k)
        codes[size_t(k)] = m_state.ConfigBlock[block][displays::kDisplays[k].codeByte];
    picBrevo->setSources(codes);
}

void MainWindow::removeOtherSourceEntry(int display)
{
    QComboBox *combo = m_display[size_t(display)].combo;
    if (combo->count() <= displays::kOtherPosition || combo->currentIndex() == displays::kOtherPosition)
        return;
    const QSignalBlocker blocker(combo);
    combo->removeItem(displays::kOtherPosition);
}

// A changed entry, by the user or by the view refresh: store the code and redraw.
void MainWindow::dataSourceChanged(int display, int position)
{
    if (position < 0)
        return;
    ConvertListIndexData(position, displays::kDisplays[display].codeByte);
    UpdateInstrumentDisplay();
    ShowAlarmLimits();
    m_state.NmeaMonitorRunning = false;
}

// The user picked an entry (also the one already shown): the data-source steps, then the NMEA
// sentence selector for an NMEA input. Only a user's pick opens it; a redraw never pops it up.
void MainWindow::dataSourceClicked(int display)
{
    const int position = m_display[size_t(display)].combo->currentIndex();
    if (position < 0)
        return;
    dataSourceChanged(display, position);
    if (position < 1 || position > 8) {
        HideNmeaWindows();
        return;
    }
    const displays::DisplayDef &def = displays::kDisplays[display];
    if (placeNmeaMonitor)
        placeNmeaMonitor(def.monitorTop, def.monitorLeft);
    nmeaSelector()->openForSource(position, besideDataPanel(display));
}

// The selector opens beside the data panel, level with the display whose list opened it,
// where it covers neither that list nor "Clear Configuration": to the right of the main
// window, or where the screen leaves no room there, to the left of the panel, below or
// above it.
twips::Beside MainWindow::besideDataPanel(int display) const
{
    const DisplayControls &c = m_display[size_t(display)];
    QRect panel = twips::globalRect(fraData);
    panel.setRight(frameGeometry().right());
    const auto *frame = findChild<QWidget *>(QLatin1String(displays::kDisplays[display].frameName));
    const int top = frame ? twips::globalRect(frame).top() : panel.top();
    return {panel, top, {twips::globalRect(c.combo), twips::globalRect(cmdClearConfig)}};
}

void MainWindow::onDisplay1Clicked()
{
    dataSourceClicked(0);
}
void MainWindow::onDisplay2Clicked()
{
    dataSourceClicked(1);
}
void MainWindow::onDisplay3Clicked()
{
    dataSourceClicked(2);
}
void MainWindow::onDisplayLeftBarClicked()
{
    dataSourceClicked(3);
}
void MainWindow::onDisplayRightBarClicked()
{
    dataSourceClicked(4);
}

void MainWindow::HideNmeaWindows()
{
    if (m_nmea)
        m_nmea->hide();
    if (hideNmeaMonitor)
        hideNmeaMonitor();
}

// --- alarm and bar limits ----------------------------------------------------------------------

void MainWindow::GetAlarmValues(int code)
{
    const datasources::AlarmSlot slot = datasources::alarmSlot(code);
    AlarmIndex = quint8(slot.first);
    DecimalPlaces = quint8(slot.decimals);
    int low = 0, high = 0;
    NoAlarmLimits = AlarmIndex == 0;
    if (!NoAlarmLimits) {
        low = m_state.systemWord(AlarmIndex);
        high = m_state.systemWord(AlarmIndex + 2);
    }
    LowAlarmText = datasources::formatStored(low, DecimalPlaces);
    HighAlarmText = datasources::formatStored(high, DecimalPlaces);
}

void MainWindow::GetDecimalPlaces(int code)
{
    DecimalPlaces = quint8(datasources::barDecimals(code));
}

void MainWindow::GetLimitValues(int d)
{
    const int block = currentBlock();
    GetDecimalPlaces(m_state.ConfigBlock[block][d]);
    LowerLimitText = datasources::formatStored(m_state.blockWord(block, d + 1), DecimalPlaces);
    UpperLimitText = datasources::formatStored(m_state.blockWord(block, d + 3), DecimalPlaces);
}

void MainWindow::ShowAlarmLimits()
{
    const int block = currentBlock();
    for (int k = 0; k < displays::kCount; ++k) {
        const displays::DisplayDef &def = displays::kDisplays[k];
        DisplayControls &c = m_display[size_t(k)];
        GetAlarmValues(m_state.ConfigBlock[block][def.codeByte]);
        c.lowAlarm->setText(QStringLiteral("Low Alarm Limit: ") + LowAlarmText);
        c.highAlarm->setText(QStringLiteral("High Alarm Limit: ") + HighAlarmText);
        c.hiAlarm->setEnabled(!NoAlarmLimits);
        c.loAlarm->setEnabled(!NoAlarmLimits);
        if (def.isBar) {
            GetLimitValues(def.codeByte);
            c.lowerLimit->setText(QStringLiteral("Lower Bar Limit: ") + LowerLimitText);
            c.upperLimit->setText(QStringLiteral("Upper Bar Limit: ") + UpperLimitText);
        }
    }
}

void MainWindow::StoreAlarmValue(const QString &text)
{
    // Only the alarm table (bytes 128..227) is a target; a source without alarm bytes has none.
    if (AlarmIndex < 128 || AlarmIndex + 1 > 227)
        return;
    double v = clampToWord(numtext::leadingNumber(text));
    if (DecimalPlaces == 1)
        v = qMin(v, 6553.5) * 10.0;
    else if (DecimalPlaces == 2)
        v = qMin(v, 655.35) * 100.0;
    m_state.setSystemWord(AlarmIndex, toWord(v));
    ShowAlarmLimits();
}

void MainWindow::StoreBarLimit(const QString &text, int d)
{
    double v = clampToWord(numtext::leadingNumber(text));
    if (DecimalPlaces == 1)
        v = qMin(v, 6553.5) * 10.0;
    else if (DecimalPlaces == 2)
        v = qMin(v, 655.3) * 100.0; // 655.3 for bar limits, not 655.35 as for alarms
    const quint16 stored = toWord(v);
    // The label shows the value as stored, so that it reads the same after the next redraw.
    NewLimitText = datasources::formatStored(stored, DecimalPlaces);
    m_state.setBlockWord(currentBlock(), d, stored);
}

void MainWindow::alarmChange(int display, bool high)
{
    GetAlarmValues(m_state.ConfigBlock[currentBlock()][displays::kDisplays[display].codeByte]);
    if (NoAlarmLimits)
        return; // the buttons are disabled for such a source; nothing could be stored
    const QString answer = m_prompts.inputBox(high ? QStringLiteral("Enter new High Alarm Value below:")
                                                   : QStringLiteral("Enter new Low Alarm Value below:"),
                                              QStringLiteral("Enter Value"), high ? HighAlarmText : LowAlarmText);
    if (answer.isEmpty())
        return;
    if (high)
        AlarmIndex = quint8(AlarmIndex + 2);
    StoreAlarmValue(answer);
}

void MainWindow::barLimitChange(int display, bool upper)
{
    const int d = displays::kDisplays[display].codeByte;
    GetLimitValues(d);
    const QString answer = m_prompts.inputBox(upper ? QStringLiteral("Enter new Upper Bar Limit value below:")
                                                    : QStringLiteral("Enter new Lower Bar Limit value below:"),
                                              QStringLiteral("Enter Value"), upper ? UpperLimitText : LowerLimitText);
    if (answer.isEmpty())
        return;
    StoreBarLimit(answer, upper ? d + 3 : d + 1);
    const DisplayControls &c = m_display[size_t(display)];
    if (upper)
        c.upperLimit->setText(QStringLiteral("Upper Bar Limit: ") + NewLimitText);
    else
        c.lowerLimit->setText(QStringLiteral("Lower Bar Limit: ") + NewLimitText);
}

void MainWindow::onDD1HiAlarmClicked()
{
    alarmChange(0, true);
}
void MainWindow::onDD1LoAlarmClicked()
{
    alarmChange(0, false);
}
void MainWindow::onDD2HiAlarmClicked()
{
    alarmChange(1, true);
}
void MainWindow::onDD2LoAlarmClicked()
{
    alarmChange(1, false);
}
void MainWindow::onDD3HiAlarmClicked()
{
    alarmChange(2, true);
}
void MainWindow::onDD3LoAlarmClicked()
{
    alarmChange(2, false);
}
void MainWindow::onDD4HiAlarmClicked()
{
    alarmChange(3, true);
}
void MainWindow::onDD4LoAlarmClicked()
{
    alarmChange(3, false);
}
void MainWindow::onDD5HiAlarmClicked()
{
    alarmChange(4, true);
}
void MainWindow::onDD5LoAlarmClicked()
{
    alarmChange(4, false);
}
void MainWindow::onDD4HiBarClicked()
{
    barLimitChange(3, true);
}
void MainWindow::onDD4LoBarClicked()
{
    barLimitChange(3, false);
}
void MainWindow::onDD5HiBarClicked()
{
    barLimitChange(4, true);
}
void MainWindow::onDD5LoBarClicked()
{
    barLimitChange(4, false);
}

// --- focus highlight, timer and key chord ---------------------------------------------------------

void MainWindow::setFocusFlag(int display, bool focused)
{
    *m_display[size_t(display)].focus = focused ? true : false;
}

void MainWindow::onDisplay1FocusIn()
{
    setFocusFlag(0, true);
}
void MainWindow::onDisplay2FocusIn()
{
    setFocusFlag(1, true);
}
void MainWindow::onDisplay3FocusIn()
{
    setFocusFlag(2, true);
}
void MainWindow::onDisplayLeftBarFocusIn()
{
    setFocusFlag(3, true);
}
void MainWindow::onDisplayRightBarFocusIn()
{
    setFocusFlag(4, true);
}
void MainWindow::onDisplay1FocusOut()
{
    setFocusFlag(0, false);
}
void MainWindow::onDisplay2FocusOut()
{
    setFocusFlag(1, false);
}
void MainWindow::onDisplay3FocusOut()
{
    setFocusFlag(2, false);
}
void MainWindow::onDisplayLeftBarFocusOut()
{
    setFocusFlag(3, false);
}
void MainWindow::onDisplayRightBarFocusOut()
{
    setFocusFlag(4, false);
}

void MainWindow::onConnectionTimer()
{
    for (const DisplayControls &c : m_display) {
        if (*c.focus)
            c.highlight->setVisible(c.highlight->isHidden()); // one blink per second at 500 ms ticks
        else
            c.highlight->hide();
    }
    picBrevo->PicDisplayBarLimitBlank->hide();
    updateConnectionIndicator();
}

void MainWindow::cmdDD4HiBar_KeyDown(int KeyCode, Qt::KeyboardModifiers Shift)
{
    const Qt::KeyboardModifiers chord =
        Shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (KeyCode == Qt::Key_K && chord == (Qt::ShiftModifier | Qt::ControlModifier))
        m_state.FactoryArmed = true;
}
