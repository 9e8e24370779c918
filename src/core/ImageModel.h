// The configuration image held in the editor's state, read and written by what its
// values mean. Every setter keeps the checksum of the block it writes (system byte 0,
// byte 0 of a display block) and tells who listens what changed; a value set to what
// it already is changes nothing and tells nobody.
#pragma once

#include "core/EditorState.h"
#include "core/ImageLayout.h"
#include "core/SenderLists.h"

#include <QObject>

class ImageModel : public QObject
{
    Q_OBJECT
public:
    // The image stays in `state` (the rest of the program reads it there).
    explicit ImageModel(EditorState &state, QObject *parent = nullptr);

    const EditorState &state() const { return m_state; }

    // Code that replaced the image wholesale (file load, download, undo) says so here.
    void announceReplaced();

    // --- system block -----------------------------------------------------------------
    quint8 systemByte(int byte) const { return m_state.systemBlock[byte]; }
    quint16 systemWord(int byte) const { return m_state.systemWord(byte); }
    // The `mask` bits of a byte become `bits`; the others stay.
    void setSystemBits(int byte, quint8 mask, quint8 bits);
    void setSystemByte(int byte, quint8 value) { setSystemBits(byte, 0xFF, value); }
    void setSystemWord(int byte, quint16 value);

    // Units and settings (display flags, tachometer, configuration shown).
    quint8 displayFlags() const { return systemByte(layout::kDisplayFlags); }
    void setDisplayFlags(quint8 mask, quint8 bits) { setSystemBits(layout::kDisplayFlags, mask, bits); }
    bool barGraphAsPointer() const { return !(displayFlags() & layout::kBarChartBit); }
    bool twelveHourClock() const { return displayFlags() & layout::kTwelveHourBit; }
    bool temperatureInCelsius() const { return !(displayFlags() & layout::kFahrenheitBit); }
    bool pressureInBars() const { return !(displayFlags() & layout::kPsiBit); }
    quint8 speedUnits() const { return displayFlags() & layout::kSpeedUnitBits; }
    quint8 tachoSensitivity() const { return systemByte(layout::kTachoSensitivity) & layout::kSensitivityBits; }
    void setTachoSensitivity(quint8 v) { setSystemBits(layout::kTachoSensitivity, layout::kSensitivityBits, v); }
    quint8 pulleyRatio() const { return systemByte(layout::kPulleyRatio); }
    void setPulleyRatio(quint8 ratio) { setSystemByte(layout::kPulleyRatio, ratio); }
    int shownConfiguration() const { return systemByte(layout::kShownConfiguration); }
    void setShownConfiguration(int config) { setSystemByte(layout::kShownConfiguration, quint8(config)); }

    // Tanks (tenths) and the engine maintenance alarm (minutes, 0 = off).
    quint16 fuelTankSize() const { return systemWord(layout::kFuelTankSize); }
    void setFuelTankSize(quint16 tenths) { setSystemWord(layout::kFuelTankSize, tenths); }
    quint16 secondTankSize() const { return systemWord(layout::kSecondTankSize); }
    void setSecondTankSize(quint16 tenths) { setSystemWord(layout::kSecondTankSize, tenths); }
    quint16 maintenanceAlarm() const { return systemWord(layout::kMaintenanceAlarm); }
    void setMaintenanceAlarm(quint16 minutes) { setSystemWord(layout::kMaintenanceAlarm, minutes); }

    // Damping of function 0..3 of the damping list (damping::kTable).
    quint8 damping(int function) const;
    void setDamping(int function, quint8 value);

    // Time-of-day alarms 1..8.
    quint8 todAlarmHours(int alarm) const { return systemByte(layout::todAlarmHours(alarm)); }
    quint8 todAlarmMinutes(int alarm) const { return systemByte(layout::todAlarmHours(alarm) + 1); }
    void setTodAlarmHours(int alarm, quint8 hours) { setSystemByte(layout::todAlarmHours(alarm), hours); }
    void setTodAlarmMinutes(int alarm, quint8 minutes) { setSystemByte(layout::todAlarmHours(alarm) + 1, minutes); }

    // The sentence selection of NMEA input 1..8: list position + 1, or the number of commas.
    quint8 nmeaSelection(int input, layout::NmeaPart part) const;
    void setNmeaSelection(int input, layout::NmeaPart part, quint8 code);

    // The sender type stored for a sender list.
    quint8 senderType(senderlists::SenderList list) const;
    void setSenderType(senderlists::SenderList list, quint8 type);

    // The low or high alarm limit of a data-source code; 0 (and nothing stored) for a
    // code without alarm limits.
    enum class Limit { Low, High };
    quint16 alarmLimit(int code, Limit which) const;
    void setAlarmLimit(int code, Limit which, quint16 value);

    // --- display configuration blocks 1..16 -----------------------------------------------
    quint8 configByte(int config, int byte) const { return m_state.configBlock[config][byte]; }
    quint16 configWord(int config, int byte) const { return m_state.blockWord(config, byte); }
    void setConfigByte(int config, int byte, quint8 value);
    void setConfigWord(int config, int byte, quint16 value);

    // Data source of display 0..4 (displays::kDisplays).
    quint8 dataSource(int config, int display) const;
    void setDataSource(int config, int display, quint8 code);
    // Lower (Low) or upper (High) limit of a bar graph display (3 or 4).
    quint16 barLimit(int config, int display, Limit which) const;
    void setBarLimit(int config, int display, Limit which, quint16 value);
    // Icon bytes 1..4, and one icon of icons::kIcons.
    quint8 iconByte(int config, int byte) const { return configByte(config, byte); }
    void setIconByte(int config, int byte, quint8 value) { setConfigByte(config, byte, value); }
    bool icon(int config, int icon) const;
    void setIcon(int config, int icon, bool on);
    // Every icon off (icon bytes 1..4 to 0).
    void clearIcons(int config);
    // Icons, data sources and bar limits to 0, as "Clear Configuration" leaves a block.
    void clearConfiguration(int config);

    // --- sender curves 1..32, points 1..32 --------------------------------------------------
    float curveOhms(int curve, int point) const { return m_state.calCurve[curve][point][1]; }
    // The value in tenths of the display unit.
    float curveValue(int curve, int point) const { return m_state.calCurve[curve][point][2]; }
    void setCurveOhms(int curve, int point, float ohms) { setCurveField(curve, point, 1, ohms); }
    void setCurveValue(int curve, int point, float tenths) { setCurveField(curve, point, 2, tenths); }

signals:
    void systemChanged();
    void configurationChanged(int config);
    void curvesChanged();
    void imageReplaced();

private:
    // Writes `count` bytes into the system block; true when any of them changed.
    bool writeSystem(int byte, const quint8 *values, int count);
    bool writeBlock(int config, int byte, const quint8 *values, int count);
    void setCurveField(int curve, int point, int field, float value);

    EditorState &m_state;
};
