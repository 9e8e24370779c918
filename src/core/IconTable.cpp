#include "core/IconTable.h"

namespace icons
{

const IconDef kIcons[kCount] = {
    {"ChkIconsUpperSpeed", "SPEED", "Upper SPEED", "lblSpeedU", 3, 5, Group::Upper},
    {"ChkIconsUpperDepth", "DEPTH", "Upper DEPTH", "LblDepthU", 3, 6, Group::Upper},
    {"ChkIconsUpperRpm", "RPM", "Upper RPM", "lblRpmU", 3, 7, Group::Upper},
    {"ChkIconsUpperDeg", "DEG", "Upper DEG", "LblDegU", 4, 0, Group::Upper},
    {"ChkIconsMiddleNmea1", "NMEA1", "NMEA1", "lblNmea1", 1, 0, Group::Middle},
    {"ChkIconsMiddleNmea1Left", "Left", "NMEA1 Left Arrow", "PicNmea1LArrow", 4, 2, Group::Middle},
    {"ChkIconsMiddleNmea2", "NMEA2", "NMEA2", "lblNmea2", 1, 2, Group::Middle},
    {"ChkIconsMiddleNmea2Down", "Down", "NMEA2 Down Arrow", "PicNmea2DArrow", 1, 1, Group::Middle},
    {"ChkIconsMiddleNmea2Up", "Up", "NMEA2 Up Arrow", "PicNmea2UArrow", 1, 3, Group::Middle},
    {"ChkIconsMiddleNmea3", "NMEA3", "NMEA3", "lblNmea3", 1, 4, Group::Middle},
    {"ChkIconsMiddleNmea3Right", "Right", "NMEA3 Right Arrow", "PicNmea3RArrow", 1, 5, Group::Middle},
    {"ChkMidLeftArrow", "Left Up Arrow", "Left Up Arrow", "PicUpLeftArrow", 1, 6, Group::Middle},
    {"ChkMidRightArrow", "Right Up Arrow", "Right Up Arrow", "PicUpRightArrow", 1, 7, Group::Middle},
    {"ChkIconsLowerLeftOil", "OIL", "Lower Left OIL", "LblOil", 2, 0, Group::LowerLeft},
    {"ChkIconsLowerLeftSpeed", "SPEED", "Lower Left SPEED", "LblSpeedLower", 2, 1, Group::LowerLeft},
    {"ChkIconsLowerLeftVdc", "VDC", "Lower Left VDC", "LblVdc", 2, 2, Group::LowerLeft},
    {"ChkIconsLowerRightDepth", "DEPTH", "Lower Right DEPTH", "LblDepthLower", 2, 3, Group::LowerRight},
    {"ChkIconsLowerRightRpm", "RPM", "Lower Right RPM", "LblRpmLower", 2, 4, Group::LowerRight},
    {"ChkIconsLowerRightFuel", "FUEL", "Lower Right FUEL", "LblFuel", 2, 5, Group::LowerRight},
    {"ChkIconsLowerRightTemp", "TEMP.", "Lower Right TEMP.", "LblTemp", 2, 6, Group::LowerRight},
};

int indexOf(int byte, int bit)
{
    for (int i = 0; i < kCount; ++i)
        if (kIcons[i].byte == byte && kIcons[i].bit == bit)
            return i;
    return -1;
}

} // namespace icons
