// The "Time-Of-Day Alarms" window: shows and sets the hours and minutes of the eight time-of-day alarms.
#pragma once

#include <QPointer>
#include <QWidget>

class FieldMarks;
class ImageModel;
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
    // Reads and writes its values through `image` and follows it when it is replaced.
    TimeOfDayAlarmsWindow(ImageModel &image, Prompts &prompts, QWidget *parent = nullptr);

    // The "Time-Of-Day Alarms" menu item: shows the window; the boxes keep what was
    // last loaded into them.
    void open();
    // Start-up: selects "Alarm #1" and shows bytes 46 and 47.
    void showStartUpValues();
    // The image was replaced (file, download, undo): the boxes show the selected alarm's
    // bytes as stored, and nothing is written back.
    void showImage();
    // The boxes carry the mark while the selected alarm's hours or minutes differ from
    // the reference of `marks`, and so does each alarm in the open list. Called once.
    void setFieldMarks(FieldMarks *marks);

public slots:
    void onTodAlarmsClicked();
    void onTodHoursChanged();
    void onTodMinutesChanged();
    void onExitDampingClicked();

private:
    // The selected alarm, 1..8.
    int alarm() const;
    void showAlarm();
    // Names the selected alarm's fields for the boxes' marks.
    void markAlarm();
    // The box's number, limited to 0..limit.
    static quint8 boxValue(const QLineEdit *box, int limit);
    QLineEdit *makeBox(const QString &name, const QString &accessibleName);

    ImageModel &m_image;
    QPointer<FieldMarks> m_marks;
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
