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

    fraTodAlarms = new QGroupBox(QStringLiteral("Set Time-Of-Day Alarms (0=OFF)"), this);
    fraTodAlarms->setObjectName(QStringLiteral("fraTodAlarms"));

    cboTodAlarms = new QComboBox(fraTodAlarms);
    cboTodAlarms->setObjectName(QStringLiteral("cboTodAlarms"));
    cboTodAlarms->setAccessibleName(QStringLiteral("Time-Of-Day Alarm #"));
    for (int k = 1; k <= 8; ++k)
        cboTodAlarms->addItem(QStringLiteral("Alarm #%1").arg(k));
    cboTodAlarms->setCurrentIndex(0);
    lblTodAlarm = new QLabel(QStringLiteral("Time-Of-Day Alarm #"), fraTodAlarms);
    lblTodAlarm->setObjectName(QStringLiteral("lblTodAlarm"));
    lblTodAlarm->setBuddy(cboTodAlarms);

    txtTodHours = makeBox(QStringLiteral("txtTodHours"), QStringLiteral("Hours"));
    txtTodMinutes = makeBox(QStringLiteral("txtTodMinutes"), QStringLiteral("Minutes"));
    lblTodHours = new QLabel(QStringLiteral("Hours"), fraTodAlarms);
    lblTodHours->setObjectName(QStringLiteral("lblTodHours"));
    lblTodHours->setBuddy(txtTodHours);
    lblTodMinutes = new QLabel(QStringLiteral("Minutes"), fraTodAlarms);
    lblTodMinutes->setObjectName(QStringLiteral("lblTodMinutes"));
    lblTodMinutes->setBuddy(txtTodMinutes);
    lblTodColon = new QLabel(QStringLiteral(":"), fraTodAlarms);
    lblTodColon->setObjectName(QStringLiteral("lblTodColon"));
    lblTodColon->setAccessibleName(QStringLiteral("Hours and minutes separator"));
    QFont bold = lblTodColon->font();
    bold.setBold(true);
    lblTodColon->setFont(bold);

    cmdExitDamping = new QPushButton(QStringLiteral("Done"), this);
    cmdExitDamping->setObjectName(QStringLiteral("cmdExitDamping"));
    cmdExitDamping->setAccessibleName(QStringLiteral("Done"));

    auto *grid = new QGridLayout(fraTodAlarms);
    grid->addWidget(lblTodAlarm, 0, 0);
    grid->addWidget(lblTodHours, 0, 1, Qt::AlignHCenter);
    grid->addWidget(lblTodMinutes, 0, 3, Qt::AlignHCenter);
    grid->addWidget(cboTodAlarms, 1, 0);
    grid->addWidget(txtTodHours, 1, 1);
    grid->addWidget(lblTodColon, 1, 2, Qt::AlignCenter);
    grid->addWidget(txtTodMinutes, 1, 3);
    grid->setColumnMinimumWidth(0, lblTodAlarm->sizeHint().width());
    grid->setHorizontalSpacing(8);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdExitDamping);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(fraTodAlarms);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // A program step that changes the alarm loads its boxes as a user's pick would; the user's
    // pick (activated) loads them also when it is the alarm already shown, whose boxes may hold
    // a typed value that was limited when stored.
    connect(cboTodAlarms, &QComboBox::currentIndexChanged, this, &TimeOfDayAlarmsWindow::onTodAlarmsClicked);
    connect(cboTodAlarms, &QComboBox::activated, this, &TimeOfDayAlarmsWindow::onTodAlarmsClicked);
    connect(txtTodHours, &QLineEdit::textChanged, this, &TimeOfDayAlarmsWindow::onTodHoursChanged);
    connect(txtTodMinutes, &QLineEdit::textChanged, this, &TimeOfDayAlarmsWindow::onTodMinutesChanged);
    connect(cmdExitDamping, &QPushButton::clicked, this, &TimeOfDayAlarmsWindow::onExitDampingClicked);

    showStartUpValues();
}

QLineEdit *TimeOfDayAlarmsWindow::makeBox(const QString &name, const QString &accessibleName)
{
    auto *box = new QLineEdit(fraTodAlarms);
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
    if (cboTodAlarms->currentIndex() != 0)
        cboTodAlarms->setCurrentIndex(0); // loads the boxes
    else
        onTodAlarmsClicked();
}

int TimeOfDayAlarmsWindow::hoursByte() const
{
    const int i = qBound(0, cboTodAlarms->currentIndex(), kLastAlarm);
    return kFirstHoursByte + 2 * i;
}

void TimeOfDayAlarmsWindow::onTodAlarmsClicked()
{
    const int byte = hoursByte();
    txtTodHours->setText(numtext::formatTwoDigits(m_state.SystemBlock[byte]));
    txtTodMinutes->setText(numtext::formatTwoDigits(m_state.SystemBlock[byte + 1]));
}

void TimeOfDayAlarmsWindow::onTodHoursChanged()
{
    store(txtTodHours, hoursByte(), kMaxHours);
}
void TimeOfDayAlarmsWindow::onTodMinutesChanged()
{
    store(txtTodMinutes, hoursByte() + 1, kMaxMinutes);
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
