// Where the editor's values live in the configuration image: the system block and the
// display configuration blocks, byte by byte. A 16-bit value takes two bytes, high byte
// first, and is named by its first byte. Bytes not named here are carried unchanged.
#pragma once

#include <QtGlobal>

namespace layout
{

// --- system block, bytes 0..255 --------------------------------------------------------

constexpr int kSystemBytes = 256;

constexpr int kSystemChecksum = 0;      // XOR of bytes 1..255
constexpr int kDisplayFlags = 1;        // bar graph type, clock, temperature, pressure and speed units
constexpr int kTachoSensitivity = 2;    // low four bits; the high four belong to the instrument
constexpr int kProductVariant = 3;      // 1 on a Lumisk unit, else 0 (factory settings)
constexpr int kShownConfiguration = 6;  // display configuration 1..16 the instrument shows
constexpr int kPulleyRatio = 7;         // tachometer ratio: 1, 5, 10, 20, 50, 100 or 200
constexpr int kCodeCopyMark = 8;        // cleared by the factory code copy, else not read
constexpr int kUploadCounter = 10;      // 16-bit, advanced by every upload
constexpr int kSerialNumber = 12;       // four bytes: year, month, day, unit number
constexpr int kFirstUploadDate = 17;    // year of the century, month, day; 255 x 3 = none yet
constexpr int kFuelTankSize = 21;       // 16-bit, tenths
constexpr int kSecondTankSize = 23;     // 16-bit, tenths
constexpr int kFineCalibrationsA = 26;  // fine calibrations, bytes 26..31 ...
constexpr int kFineCalibrationsB = 33;  // ... 33..45 ...
constexpr int kTodAlarms = 46;          // 16 bytes: hours, minutes of alarms 1..8
constexpr int kFineCalibrationsC = 64;  // ... 64, 65 ...
constexpr int kRaceTimers = 66;         // race timers
constexpr int kNmeaSelection = 68;      // 24 bytes: talker, sentence, commas of NMEA inputs 1..8
constexpr int kSoftwareVersion = 94;    // the instrument's software version
constexpr int kFuelSender = 98;         // fuel sender type (7..9; 0 none)
constexpr int kTrimSender = 99;         // trim sender type (17..21; 0 none)
constexpr int kEngineTempSender = 100;  // engine temperature sender type (1..6; 0 none)
constexpr int kOilSender = 101;         // oil pressure sender type (10..16; 0 none)
constexpr int kDamping2B = 102;         // damping of NMEA channel 2B (0..250)
constexpr int kSecondTankSender = 103;  // second tank sender type (23..25; 0 none)
constexpr int kDampingSettings = 104;   // display damping settings 104..110 (with 102 and 113)
constexpr int kDamping2A = 105;         // damping of NMEA channel 2A
constexpr int kDamping3A = 109;         // damping of NMEA channel 3A
constexpr int kDamping3B = 110;         // damping of NMEA channel 3B
constexpr int kFineCalibrationsD = 111; // ... and 111, 112
constexpr int kDampingLast = 113;       // last display damping setting
constexpr int kMaintenanceAlarm = 114;  // 16-bit minutes; 0 = off
constexpr int kAlarmLimits = 128;       // low, high limit (16-bit each) per data source, to 227
constexpr int kNmeaAlarmLimits = 180;   // those of NMEA inputs 1..8 (codes 23..30), four bytes apart
constexpr int kAlarmLimitsLast = 227;   // last byte of the alarm limits
constexpr int kSystemLast = 255;        // 255 once a serial number was written

constexpr int kTodAlarmCount = 8;
constexpr int kNmeaInputs = 8;
constexpr int kNmeaSelectionLast = kNmeaSelection + 3 * kNmeaInputs - 1;

// Bits of kDisplayFlags.
constexpr quint8 kBarChartBit = 0x02;   // set: bar chart; clear: pointer
constexpr quint8 kTwelveHourBit = 0x04; // set: 12-hour clock; clear: 24-hour
constexpr quint8 kFahrenheitBit = 0x08; // set: degrees F; clear: degrees C
constexpr quint8 kPsiBit = 0x10;        // set: psi; clear: bar
constexpr quint8 kSpeedUnitBits = 0x60; // none: knots; 0x20: mph; 0x40: km/h
constexpr quint8 kMphBits = 0x20;
constexpr quint8 kKphBits = 0x40;
// Bits of kTachoSensitivity the editor sets.
constexpr quint8 kSensitivityBits = 0x0F;

// Hours of time-of-day alarm 1..8; its minutes are the byte after.
constexpr int todAlarmHours(int alarm)
{
    return kTodAlarms + 2 * (alarm - 1);
}

// The display damping category: bytes 102, 104..110 and 113.
constexpr bool isDampingByte(int byte)
{
    return byte == kDamping2B || (byte >= kDampingSettings && byte <= kDamping3B) || byte == kDampingLast;
}

// One byte of the NMEA sentence selection of input 1..8 (#1A, #1B, .. #4B).
enum class NmeaPart { Talker = 0, Sentence = 1, Commas = 2 };
constexpr int nmeaSelectionByte(int input, NmeaPart part)
{
    return kNmeaSelection + 3 * (input - 1) + int(part);
}

// --- display configuration block, bytes 0..127 --------------------------------------------

constexpr int kBlockBytes = 128;

constexpr int kBlockChecksum = 0;    // XOR of bytes 1..127
constexpr int kIconBytes = 1;        // icon bytes 1..4: one bit per icon of the face
constexpr int kIconBytesLast = 4;    // last icon byte
constexpr int kDisplay1Source = 28;  // data source of digital display 1
constexpr int kDisplay2Source = 48;  // data source of digital display 2
constexpr int kDisplay3Source = 68;  // data source of digital display 3
constexpr int kLeftBarSource = 88;   // data source of the left bar graph
constexpr int kLeftBarLower = 89;    // 16-bit lower limit of the left bar graph
constexpr int kLeftBarUpper = 91;    // 16-bit upper limit of the left bar graph
constexpr int kRightBarSource = 108; // data source of the right bar graph
constexpr int kRightBarLower = 109;  // 16-bit lower limit of the right bar graph
constexpr int kRightBarUpper = 111;  // 16-bit upper limit of the right bar graph

// A bar graph's limits follow its data-source byte.
constexpr int kBarLowerAfterSource = kLeftBarLower - kLeftBarSource;
constexpr int kBarUpperAfterSource = kLeftBarUpper - kLeftBarSource;
static_assert(kRightBarLower - kRightBarSource == kBarLowerAfterSource, "both bars alike");
static_assert(kRightBarUpper - kRightBarSource == kBarUpperAfterSource, "both bars alike");

} // namespace layout
