#include "ui/dialogs/TimeOfDayAlarmsWindow.h"

#include "core/FieldNames.h"
#include "core/ImageModel.h"
#include "core/NumberText.h"
#include "ui/dialogs/ListItemMarks.h"
#include "ui/editor/FieldMarks.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace
{
constexpr int kMaxHours = 23;
constexpr int kMaxMinutes = 59;
} // namespace

TimeOfDayAlarmsWindow::TimeOfDayAlarmsWindow(ImageModel &image, Prompts &, QWidget *parent)
    : QWidget(parent), m_image(image)
{
    setWindowFlag(Qt::Window);
    setObjectName(QStringLiteral("frmTimeOfDayAlarms"));
    setWindowTitle(QStringLiteral("Time-Of-Day Alarms"));

    m_alarmsGroup = new QGroupBox(QStringLiteral("Set Time-Of-Day Alarms (0=OFF)"), this);
    m_alarmsGroup->setObjectName(QStringLiteral("fraTodAlarms"));

    m_alarmList = new QComboBox(m_alarmsGroup);
    m_alarmList->setObjectName(QStringLiteral("cboTodAlarms"));
    m_alarmList->setAccessibleName(QStringLiteral("Time-Of-Day Alarm #"));
    for (int k = 1; k <= layout::kTodAlarmCount; ++k)
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
    connect(&m_image, &ImageModel::imageReplaced, this, &TimeOfDayAlarmsWindow::showImage);

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

int TimeOfDayAlarmsWindow::alarm() const
{
    return qBound(0, m_alarmList->currentIndex(), layout::kTodAlarmCount - 1) + 1;
}

void TimeOfDayAlarmsWindow::showAlarm()
{
    const int shown = alarm();
    m_hoursBox->setText(numtext::formatTwoDigits(m_image.todAlarmHours(shown)));
    m_minutesBox->setText(numtext::formatTwoDigits(m_image.todAlarmMinutes(shown)));
    markAlarm();
}

void TimeOfDayAlarmsWindow::setFieldMarks(FieldMarks *marks)
{
    m_marks = marks;
    if (marks)
        new ListItemMarks(m_alarmList, *marks, [](int entry) {
            return QStringList{fields::todAlarmFieldName(entry + 1, false), fields::todAlarmFieldName(entry + 1, true)};
        });
    markAlarm();
}

void TimeOfDayAlarmsWindow::markAlarm()
{
    if (!m_marks)
        return;
    m_marks->attach(m_hoursBox, {fields::todAlarmFieldName(alarm(), false)});
    m_marks->attach(m_minutesBox, {fields::todAlarmFieldName(alarm(), true)});
}

void TimeOfDayAlarmsWindow::onTodAlarmsClicked()
{
    // The boxes store what they are given: a byte beyond its limit is stored limited.
    showAlarm();
}

void TimeOfDayAlarmsWindow::showImage()
{
    const QSignalBlocker quietHours(m_hoursBox);
    const QSignalBlocker quietMinutes(m_minutesBox);
    showAlarm();
}

void TimeOfDayAlarmsWindow::onTodHoursChanged()
{
    m_image.setTodAlarmHours(alarm(), boxValue(m_hoursBox, kMaxHours));
}
void TimeOfDayAlarmsWindow::onTodMinutesChanged()
{
    m_image.setTodAlarmMinutes(alarm(), boxValue(m_minutesBox, kMaxMinutes));
}

quint8 TimeOfDayAlarmsWindow::boxValue(const QLineEdit *box, int limit)
{
    // The box keeps what was typed even when the stored value was limited.
    const qint64 v = numtext::roundHalfEven(numtext::leadingNumber(box->text()));
    return quint8(qBound<qint64>(0, v, qint64(limit)));
}

void TimeOfDayAlarmsWindow::onExitDampingClicked()
{
    hide();
}
