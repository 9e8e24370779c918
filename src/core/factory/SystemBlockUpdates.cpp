#include "core/factory/SystemBlockUpdates.h"

#include "core/EditorState.h"
#include "core/ImageLayout.h"
#include "core/Protocol.h"

#include <QByteArray>

namespace factory
{
namespace
{

constexpr int kMaintenanceHigh = layout::kMaintenanceAlarm;
constexpr int kMaintenanceLow = layout::kMaintenanceAlarm + 1;

struct Setting {
    int byte;
    quint8 value;
};

// The product variant byte depends on the product code and is set apart.
constexpr Setting kFactorySettings[] = {
    {5, 1},    {6, 1},    {7, 5},     {8, 0},   {9, 0},    {10, 0},  {11, 0},   {16, 0},  {17, 255},
    {18, 255}, {19, 255}, {20, 0},    {21, 3},  {22, 232}, {23, 3},  {24, 232}, {25, 10}, {32, 0},
    {45, 50},  {62, 0},   {63, 0},    {66, 5},  {67, 10},  {92, 1},  {93, 244}, {102, 0}, {104, 3},
    {105, 0},  {106, 3},  {107, 100}, {108, 3}, {109, 0},  {110, 0}, {113, 3},  {114, 4}, {115, 176},
};

constexpr int kLumisk = 2;

} // namespace

LogBlock buildLogBlock(const quint8 *systemBlock)
{
    LogBlock l;
    l.fill(0);
    for (int i = 64; i < 128; ++i)
        l[i] = 255;
    l[1] = 1;
    l[6] = systemBlock[kMaintenanceHigh];
    l[7] = systemBlock[kMaintenanceLow];
    quint8 x = 0;
    for (int i = 1; i <= 31; ++i)
        x ^= l[i];
    l[0] = x;
    l[32] = x;
    l[33] = 1;
    l[38] = systemBlock[kMaintenanceHigh];
    l[39] = systemBlock[kMaintenanceLow];
    return l;
}

void applyFactorySettings(BlockBytes &block, int productCode)
{
    block[layout::kProductVariant] = productCode == kLumisk ? 1 : 0;
    for (const Setting &s : kFactorySettings)
        block[s.byte] = s.value;
    block[layout::kSystemChecksum] = systemBlockChecksum(block.data());
}

void applyNewSerialNumber(BlockBytes &block, const SerialBytes &serial, std::optional<quint8> softwareVersion)
{
    for (int i = 0; i < 4; ++i)
        block[layout::kSerialNumber + i] = serial[i];
    if (softwareVersion)
        block[proto::kSoftwareVersionByte] = *softwareVersion;
    block[layout::kSystemLast] = 255;
    block[layout::kSystemChecksum] = systemBlockChecksum(block.data());
}

QByteArray erasedLogTail()
{
    return QByteArray(128, char(255));
}

} // namespace factory
