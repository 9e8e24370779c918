#include "ui/dialogs/TimeOfDayAlarmsWindow.h"

#include "core/EditorState.h"
#include "core/NumberText.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{
constexpr int kFirstHoursByte = 46;
constexpr int kLastAlarm = 7; // list positions 0..7
constexpr int kMaxHours = 23;
constexpr int kMaxMinutes = 59;
} // namespace

TimeOfDayAlarmsWindow::TimeOfDayAlarmsWindow(EditorState &state, Prompts &, QWidget *parent)
    : QWidget(parent), m_state(state)
{
    setWindowFlag(Qt::Window);
    setObjectName(QStringLiteral("frmTimeOfDayAlarms"));
    setWindowTitle(QStringLiteral("Time-Of-Day Alarms"));

    m_alarmsGroup = new QGroupBox(QStringLiteral("Set Time-Of-Day Alarms (0=OFF)"), this);
    m_alarmsGroup->setObjectName(QStringLiteral("fraTodAlarms"));

    m_alarmList = new QComboBox(m_alarmsGroup);
    m_alarmList->setObjectName(QStringLiteral("cboTodAlarms"));
    m_alarmList->setAccessibleName(QStringLiteral("Time-Of-Day Alarm #"));
    for (int k = 1; k <= 8; ++k)
        m_alarmList->addItem(QStringLiteral("Alarm #%1").arg(k));
    m_alarmList->setCurrentIndex(0);
    m_alarmLabel = new QLabel(QStringLiteral("Time-Of-Day Alarm #"), m_alarmsGroup);
    m_alarmLabel->setObjectName(QStringLiteral("lblTodAlarm"));
    m_alarmLabel->setBuddy(m_alarmList);

    m_hoursBox = makeBox(QStringLiteral("txtTodHours"), QStringLiteral("Hours"));
    m_minutesBox = makeBox(QStringLiteral("txtTodMinutes"), QStringLiteral("Minutes"));
    m_hoursLabel = new QLabel(QStringLiteral("Hours"), m_alarmsGroup);
    m_hoursLabel->setObjectName(QStringLiteral("lblTodHours"));
    m_hoursLabel->setBuddy(m_hoursBox);
    m_minutesLabel = new QLabel(QStringLiteral("Minutes"), m_alarmsGroup);
    m_minutesLabel->setObjectName(QStringLiteral("lblTodMinutes"));
    m_minutesLabel->setBuddy(m_minutesBox);
    m_colonLabel = new QLabel(QStringLiteral(":"), m_alarmsGroup);
    m_colonLabel->setObjectName(QStringLiteral("lblTodColon"));
    m_colonLabel->setAccessibleName(QStringLiteral("Hours and minutes separator"));
    QFont bold = m_colonLabel->font();
    bold.setBold(true);
    m_colonLabel->setFont(bold);

    m_doneButton = new QPushButton(QStringLiteral("Done"), this);
    m_doneButton->setObjectName(QStringLiteral("cmdExitDamping"));
    m_doneButton->setAccessibleName(QStringLiteral("Done"));

    auto *grid = new QGridLayout(m_alarmsGroup);
    grid->addWidget(m_alarmLabel, 0, 0);
    grid->addWidget(m_hoursLabel, 0, 1, Qt::AlignHCenter);
    grid->addWidget(m_minutesLabel, 0, 3, Qt::AlignHCenter);
    grid->addWidget(m_alarmList, 1, 0);
    grid->addWidget(m_hoursBox, 1, 1);
    grid->addWidget(m_colonLabel, 1, 2, Qt::AlignCenter);
    grid->addWidget(m_minutesBox, 1, 3);
    grid->setColumnMinimumWidth(0, m_alarmLabel->sizeHint().width());
    grid->setHorizontalSpacing(8);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_doneButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_alarmsGroup);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // A program step that changes the alarm loads its boxes as a user's pick would; the user's
    // pick (activated) loads them also when it is the alarm already shown, whose boxes may hold
    // a typed value that was limited when stored.
    connect(m_alarmList, &QComboBox::currentIndexChanged, this, &TimeOfDayAlarmsWindow::onTodAlarmsClicked);
    connect(m_alarmList, &QComboBox::activated, this, &TimeOfDayAlarmsWindow::onTodAlarmsClicked);
    connect(m_hoursBox, &QLineEdit::textChanged, this, &TimeOfDayAlarmsWindow::onTodHoursChanged);
    connect(m_minutesBox, &QLineEdit::textChanged, this, &TimeOfDayAlarmsWindow::onTodMinutesChanged);
    connect(m_doneButton, &QPushButton::clicked, this, &TimeOfDayAlarmsWindow::onExitDampingClicked);

    showStartUpValues();
}

QLineEdit *TimeOfDayAlarmsWindow::makeBox(const QString &name, const QString &accessibleName)
{
    auto *box = new QLineEdit(m_alarmsGroup);
    box->setObjectName(name);
    box->setAccessibleName(accessibleName);
    box->setAlignment(Qt::AlignCenter);
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 12);
    return box;
}

void TimeOfDayAlarmsWindow::open()
{
    show();
    raise();
    activateWindow();
}

void TimeOfDayAlarmsWindow::showStartUpValues()
{
    if (m_alarmList->currentIndex() != 0)
        m_alarmList->setCurrentIndex(0); // loads the boxes
    else
        onTodAlarmsClicked();
}

int TimeOfDayAlarmsWindow::hoursByte() const
{
    const int i = qBound(0, m_alarmList->currentIndex(), kLastAlarm);
    return kFirstHoursByte + 2 * i;
}

void TimeOfDayAlarmsWindow::onTodAlarmsClicked()
{
    const int byte = hoursByte();
    m_hoursBox->setText(numtext::formatTwoDigits(m_state.SystemBlock[byte]));
    m_minutesBox->setText(numtext::formatTwoDigits(m_state.SystemBlock[byte + 1]));
}

void TimeOfDayAlarmsWindow::onTodHoursChanged()
{
    store(m_hoursBox, hoursByte(), kMaxHours);
}
void TimeOfDayAlarmsWindow::onTodMinutesChanged()
{
    store(m_minutesBox, hoursByte() + 1, kMaxMinutes);
}

void TimeOfDayAlarmsWindow::store(QLineEdit *box, int byte, int limit)
{
    // The box keeps what was typed even when the stored value was limited.
    const qint64 v = numtext::roundHalfEven(numtext::leadingNumber(box->text()));
    m_state.SystemBlock[byte] = quint8(qBound<qint64>(0, v, qint64(limit)));
}

void TimeOfDayAlarmsWindow::onExitDampingClicked()
{
    hide();
}
