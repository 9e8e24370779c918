// Marks the entries of a choice list (the damping functions, the time-of-day alarms) whose
// fields differ from the reference of the difference marks: a diamond at the end of the
// entry in the open list, and the reference's values in the entry's tooltip and
// description. The closed list shows none: the boxes beside it carry the marks of the
// entry chosen, with their put-back menus.
#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>

class FieldMarks;
class QComboBox;

class ListItemMarks : public QObject
{
    Q_OBJECT
public:
    // `fieldsOf(entry)` names the fields of list entry 0.. by their names in the field table.
    ListItemMarks(QComboBox *list, FieldMarks &marks, std::function<QStringList(int entry)> fieldsOf);

    // Whether the entry carries the mark now.
    static bool isMarked(const QComboBox *list, int entry);

private:
    void update();

    QComboBox *m_list;
    QPointer<FieldMarks> m_marks;
    std::function<QStringList(int)> m_fieldsOf;
};
