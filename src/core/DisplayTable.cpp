#include "core/DisplayTable.h"

namespace displays
{

const DisplayDef kDisplays[kCount] = {
    {"fraDisplay1", "Digital Display #1", "ComboDisplay1", "LblDisplay1LowAlarm", "LblDisplay1HighAlarm",
     "cmdDD1HiAlarm", "cmdDD1LoAlarm", nullptr, nullptr, nullptr, nullptr, false, 28, 2455, 45},
    {"fraDisplay2", "Digital Display #2", "ComboDisplay2", "LblDisplay2LowAlarm", "LblDisplay2HighAlarm",
     "cmdDD2HiAlarm", "cmdDD2LoAlarm", nullptr, nullptr, nullptr, nullptr, false, 48, 3970, 45},
    {"fraDisplay3", "Digital Display #3", "ComboDisplay3", "LblDisplay3LowAlarm", "LblDisplay3HighAlarm",
     "cmdDD3HiAlarm", "cmdDD3LoAlarm", nullptr, nullptr, nullptr, nullptr, false, 68, 1750, 45},
    {"fraLeftBar", "Left Bar Graph Display", "ComboDisplayLeftBar", "LblLeftBarLowAlarm", "LblLeftBarHighAlarm",
     "cmdDD4HiAlarm", "cmdDD4LoAlarm", "LblLeftBarLowerLimit", "LblLeftBarUpperLimit", "cmdDD4HiBar", "cmdDD4LoBar",
     true, 88, 7150, 45},
    {"fraRightBar", "Right Bar Graph Display", "ComboDisplayRightBar", "LblRightBarLowAlarm", "LblRightBarHighAlarm",
     "cmdDD5HiAlarm", "cmdDD5LoAlarm", "LblRightBarLowerLimit", "LblRightBarUpperLimit", "cmdDD5HiBar", "cmdDD5LoBar",
     true, 108, 5625, 45},
};

} // namespace displays
