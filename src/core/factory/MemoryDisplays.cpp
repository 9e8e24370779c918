#include "core/factory/MemoryDisplays.h"

#include "core/Protocol.h"
#include "core/factory/FactoryAnswers.h"

namespace factory
{

QString displayCountPrompt()
{
    return QStringLiteral("Enter number of bytes to get/display (1-256)");
}

const MemoryDisplay &memoryDisplay(Memory memory)
{
    static const MemoryDisplay displays[] = {
        {Memory::InternalRam, proto::kReadInternalRam, QStringLiteral("Enter Internal 89LPC9408 RAM Start Address"),
         QStringLiteral("Get Data from Internal RAM"), QStringLiteral("How Many bytes from Internal RAM?"), 32767, 0},
        {Memory::Xram, proto::kReadXram, QStringLiteral("Enter Internal 89LPC9408 XRAM Start Address"),
         QStringLiteral("Get Data from Internal XRAM"), QStringLiteral("How Many bytes from Internal XRAM?"), 32767, 0},
        {Memory::FlashRom, proto::kReadFlash, QStringLiteral("Enter 89LPC9408 Flash ROM Start Address"),
         QStringLiteral("Get Data from Flash ROM"), QStringLiteral("How many bytes of flash ROM?"), 32767, 0},
        {Memory::InternalNvm, proto::kReadInternalNvm, QStringLiteral("Enter Internal 89LPC9408 NVM Start Address"),
         QStringLiteral("Get Data from Internal NVM"), QStringLiteral("How Many bytes from Internal NVM?"),
         proto::kInternalNvmSize - 1, proto::kInternalNvmSize},
        {Memory::Eeprom24C512, proto::kRead24C512, QStringLiteral("Enter 24C512 Start Address"),
         QStringLiteral("Get Data from 24C512 NVM"), QStringLiteral("How Many bytes from 24C512 NVM?"),
         proto::k24C512Size - 1, proto::k24C512Size},
    };
    for (const MemoryDisplay &d : displays)
        if (d.memory == memory)
            return d;
    return displays[0];
}

Checked checkDisplayAddress(Memory memory, const QString &answer)
{
    const MemoryDisplay &d = memoryDisplay(memory);
    const qint64 a = answerNumber(answer);
    if (a < 0 || a > d.lastStart)
        return Checked::refuse(QStringLiteral("The start address must be from 0 to %1.").arg(d.lastStart));
    return Checked::accept(a);
}

Checked checkDisplayCount(Memory memory, qint64 start, const QString &answer)
{
    const MemoryDisplay &d = memoryDisplay(memory);
    const qint64 n = answerNumber(answer);
    if (n == 0)
        return Checked::accept(0);
    if (n < 0 || n > 256)
        return Checked::refuse(QStringLiteral("The number of bytes must be from 1 to 256."));
    if (d.memoryEnd > 0 && start + n > d.memoryEnd)
        return Checked::refuse(QStringLiteral("The memory ends at address %1: from address %2 at most %3 bytes can be "
                                              "displayed.")
                                   .arg(d.memoryEnd - 1)
                                   .arg(start)
                                   .arg(d.memoryEnd - start));
    return Checked::accept(n);
}

} // namespace factory
