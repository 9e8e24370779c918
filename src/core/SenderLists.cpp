#include "core/SenderLists.h"

#include "core/ImageLayout.h"

namespace senderlists
{
namespace
{

// The first entry after "0:  None" is sender type offset + 1.
int typeOffset(SenderList list)
{
    switch (list) {
    case SenderList::EngineTemp:
        return 0;
    case SenderList::Fuel:
        return 6;
    case SenderList::OilPressure:
        return 9;
    case SenderList::Trim:
        return 16;
    case SenderList::SecondTank:
        return 22;
    }
    return 0;
}

} // namespace

const QStringList &entries(SenderList list)
{
    static const QStringList engineTemp = {
        QStringLiteral("0:  None"),
        QStringLiteral("1:  Cyberdyne:  10-180 ohm, 280-80 deg F"),
        QStringLiteral("2:  Teleflex:   10-180 ohm, 295-70 deg F"),
        QStringLiteral("3:  VDO type 1: 10-180 ohm, 275-60 deg F"),
        QStringLiteral("4:  VDO type 2: 10-180 ohm, 310-65 deg F"),
        QStringLiteral("5:  VDO type 5: 10-180 ohm, 270-55 deg F"),
        QStringLiteral("6:  User defined Engine Temperature curve"),
    };
    static const QStringList fuel = {
        QStringLiteral("0:  None"),
        QStringLiteral("7:  Linear: USA 10-180 ohm"),
        QStringLiteral("8:  Linear: European 240-33 ohm"),
        QStringLiteral("9:  User defined fuel sender curve"),
    };
    static const QStringList oilPressure = {
        QStringLiteral("0:  None"),
        QStringLiteral("10: VDO type 2: 10-180 ohm, 5-600 psi"),
        QStringLiteral("11: VDO type 9: 10-250 ohm, 420-12 psi"),
        QStringLiteral("12: VDO 221-016-262A: 10-180 ohm, 0-215 psi"),
        QStringLiteral("13: VDO 217A: 10-180 ohm, 2-115 psi"),
        QStringLiteral("14: Teleflex: 10-180 ohm, 85-0 psi"),
        QStringLiteral("15: Stewart-Warner: 10-180 ohm, 85-0 psi"),
        QStringLiteral("16: User defined Oil Pressure curve"),
    };
    static const QStringList trim = {
        QStringLiteral("0:  None"),
        QStringLiteral("17: Linear: USA 10-180 ohm"),
        QStringLiteral("18: Linear: European 240-33 ohm"),
        QStringLiteral("19: User defined Trim sender curve (0-1000 ohm)"),
        QStringLiteral("20: Linear: 0-10,000 ohm"),
        QStringLiteral("21: Linear: 10,000-0 ohm"),
    };
    static const QStringList secondTank = {
        QStringLiteral("0:  None"),
        QStringLiteral("23: Linear: USA 10-180 ohm"),
        QStringLiteral("24: Linear: European 240-33 ohm"),
        QStringLiteral("25: User defined 2'nd Tank Level sender curve"),
    };
    switch (list) {
    case SenderList::EngineTemp:
        return engineTemp;
    case SenderList::Fuel:
        return fuel;
    case SenderList::OilPressure:
        return oilPressure;
    case SenderList::Trim:
        return trim;
    case SenderList::SecondTank:
        return secondTank;
    }
    return engineTemp;
}

int systemByte(SenderList list)
{
    switch (list) {
    case SenderList::EngineTemp:
        return layout::kEngineTempSender;
    case SenderList::Fuel:
        return layout::kFuelSender;
    case SenderList::OilPressure:
        return layout::kOilSender;
    case SenderList::Trim:
        return layout::kTrimSender;
    case SenderList::SecondTank:
        return layout::kSecondTankSender;
    }
    return layout::kEngineTempSender;
}

int typeForPosition(SenderList list, int position)
{
    if (position <= 0 || position >= entries(list).size())
        return 0;
    return position + typeOffset(list);
}

int positionForType(SenderList list, int type)
{
    const int position = type - typeOffset(list);
    return (position < 0 || position >= entries(list).size()) ? 0 : position;
}

} // namespace senderlists
