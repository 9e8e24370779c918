// The names of the fields whose names depend on where they are (a display configuration,
// a data source's alarm limits), as the field table spells them and as the windows name
// the fields their controls edit.
#pragma once

#include "core/ImageLayout.h"
#include "core/SenderLists.h"

#include <QString>
#include <QStringList>

namespace fields
{

// "Configuration 3 · Icons · Upper Speed", for a part of display configuration 1..16.
QString configurationFieldName(int configuration, const QString &part);
// The data source of display 0..4 (displays::kDisplays) of a configuration.
QString sourceFieldName(int configuration, int display);
// The lower or upper bar limit of bar display 3 or 4 of a configuration.
QString barLimitFieldName(int configuration, int display, bool upper);
// The icon icons::kIcons[icon] of a configuration.
QString iconFieldName(int configuration, int icon);
// The low or high alarm limit of a data-source code; empty for a code without alarm limits.
QString alarmLimitFieldName(int code, bool high);
// The damping of function 0..3 of damping::kTable.
QString dampingFieldName(int function);
// The hours or minutes of time-of-day alarm 1..8.
QString todAlarmFieldName(int alarm, bool minutes);
// The talker, sentence or comma count chosen for NMEA data source 1..8 (#1A .. #4B).
QString nmeaFieldName(int source, layout::NmeaPart part);
// The sender type chosen in a sender list.
QString senderTypeFieldName(senderlists::SenderList list);
// Point 1..32 of calibration curve 1..32.
QString curvePointFieldName(int curve, int point);
// Every field of a group of the table (fields::Group), checksums aside.
QStringList groupFieldNames(int group);

} // namespace fields
