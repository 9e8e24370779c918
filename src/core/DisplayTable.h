// The five displays of a configuration: names of their controls, their code byte and where the NMEA windows open.
#pragma once

namespace displays
{

struct DisplayDef {
    const char *frameName;
    const char *frameTitle;
    const char *list;
    const char *lowAlarmLabel, *highAlarmLabel;
    const char *hiAlarmButton, *loAlarmButton;
    const char *lowerLimitLabel, *upperLimitLabel; // bars only
    const char *hiBarButton, *loBarButton;         // bars only
    bool isBar;
    int codeByte;                // data-source byte of the display configuration block
    int monitorTop, monitorLeft; // NMEA data monitor, twips
};

constexpr int kCount = 5;
extern const DisplayDef kDisplays[kCount];

// Data-source list entries: position 0 "None - Blank", positions 1..8 the NMEA inputs (codes 23..30).
constexpr int kListEntries = 9;
constexpr int kNmeaCodeOffset = 22;
// Position of the extra entry that names a stored code the list does not offer.
constexpr int kOtherPosition = kListEntries;

} // namespace displays
