// The "Time-Of-Day Alarms" window: shows and sets the hours and minutes of the eight time-of-day alarms.
#pragma once

#include <QWidget>

struct EditorState;
class Prompts;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TimeOfDayAlarmsWindow : public QWidget
{
    Q_OBJECT
public:
    TimeOfDayAlarmsWindow(EditorState &state, Prompts &prompts, QWidget *parent = nullptr);

    // The "Time-Of-Day Alarms" menu item: shows the window; the boxes keep what was
    // last loaded into them.
    void open();
    // Start-up: selects "Alarm #1" and shows bytes 46 and 47.
    void showStartUpValues();

public slots:
    void onTodAlarmsClicked();
    void onTodHoursChanged();
    void onTodMinutesChanged();
    void onExitDampingClicked();

private:
    // The alarm's hours byte: 46 + 2i for list position i.
    int hoursByte() const;
    void store(QLineEdit *box, int byte, int limit);
    QLineEdit *makeBox(const QString &name, const QString &accessibleName);

    EditorState &m_state;
    QGroupBox *m_alarmsGroup;
    QLabel *m_alarmLabel;
    QComboBox *m_alarmList;
    QLabel *m_hoursLabel;
    QLabel *m_minutesLabel;
    QLineEdit *m_hoursBox;
    QLabel *m_colonLabel;
    QLineEdit *m_minutesBox;
    QPushButton *m_doneButton;
};
