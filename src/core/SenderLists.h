// The five sender lists of the sender window: their entries and the list position <-> sender type mapping.
#pragma once

#include <QStringList>

// Sender list positions of the sender window, kept here so that procedures that
// replace the image can position them without touching the window.
struct SenderListPositions {
    int fuel = 0;        // cboFuelSender        (byte 98)
    int trim = 0;        // cboTrimSender        (byte 99)
    int engineTemp = 0;  // cboEngineTempSender  (byte 100)
    int oilPressure = 0; // cboOilPressureSender (byte 101)
    int secondTank = 0;  // cbo2ndTankSender     (byte 103)
    bool operator==(const SenderListPositions &o) const
    {
        return fuel == o.fuel && trim == o.trim && engineTemp == o.engineTemp && oilPressure == o.oilPressure &&
               secondTank == o.secondTank;
    }
};

namespace senderlists
{

enum class SenderList { EngineTemp, Fuel, OilPressure, Trim, SecondTank };

constexpr SenderList kAllLists[] = {SenderList::EngineTemp, SenderList::Fuel, SenderList::OilPressure, SenderList::Trim,
                                    SenderList::SecondTank};

// The entries in list order ("0:  None" first).
const QStringList &entries(SenderList list);
// The system block byte holding the list's sender type.
int systemByte(SenderList list);
// The sender type stored for a list position: 0 for "0:  None" (and for a position
// the list does not have), else the number the entry starts with.
int typeForPosition(SenderList list, int position);
// The list position showing a sender type; a type below the list's range or beyond
// its last entry shows "0:  None".
int positionForType(SenderList list, int type);

} // namespace senderlists
