#include "core/DisplayTable.h"

#include "core/ImageLayout.h"

namespace displays
{

const DisplayDef kDisplays[kCount] = {
    {"fraDisplay1", "Digital Display #1", "ComboDisplay1", "LblDisplay1LowAlarm", "LblDisplay1HighAlarm",
     "cmdDD1HiAlarm", "cmdDD1LoAlarm", nullptr, nullptr, nullptr, nullptr, false, layout::kDisplay1Source, 2455, 45},
    {"fraDisplay2", "Digital Display #2", "ComboDisplay2", "LblDisplay2LowAlarm", "LblDisplay2HighAlarm",
     "cmdDD2HiAlarm", "cmdDD2LoAlarm", nullptr, nullptr, nullptr, nullptr, false, layout::kDisplay2Source, 3970, 45},
    {"fraDisplay3", "Digital Display #3", "ComboDisplay3", "LblDisplay3LowAlarm", "LblDisplay3HighAlarm",
     "cmdDD3HiAlarm", "cmdDD3LoAlarm", nullptr, nullptr, nullptr, nullptr, false, layout::kDisplay3Source, 1750, 45},
    {"fraLeftBar", "Left Bar Graph Display", "ComboDisplayLeftBar", "LblLeftBarLowAlarm", "LblLeftBarHighAlarm",
     "cmdDD4HiAlarm", "cmdDD4LoAlarm", "LblLeftBarLowerLimit", "LblLeftBarUpperLimit", "cmdDD4HiBar", "cmdDD4LoBar",
     true, layout::kLeftBarSource, 7150, 45},
    {"fraRightBar", "Right Bar Graph Display", "ComboDisplayRightBar", "LblRightBarLowAlarm", "LblRightBarHighAlarm",
     "cmdDD5HiAlarm", "cmdDD5LoAlarm", "LblRightBarLowerLimit", "LblRightBarUpperLimit", "cmdDD5HiBar", "cmdDD5LoBar",
     true, layout::kRightBarSource, 5625, 45},
};

} // namespace displays
