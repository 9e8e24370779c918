#include "core/factory/FactoryAnswers.h"

#include "core/NumberText.h"
#include "core/Protocol.h"
#include "core/factory/FactoryText.h"

#include <algorithm>

namespace factory
{
namespace
{

// Where the instrument keeps its backup copy of the system block, inside the code area.
constexpr qint64 kSystemBackupFirst = proto::kSystemBackup;
constexpr qint64 kSystemBackupLast = proto::kSystemBackup + proto::kSystemBlockSize - 1;

Checked inRange(const QString &answer, qint64 lo, qint64 hi, const QString &refusal)
{
    if (answerEmpty(answer))
        return Checked::cancel();
    const qint64 v = answerNumber(answer);
    if (v < lo || v > hi)
        return Checked::refuse(refusal);
    return Checked::accept(v);
}

} // namespace

qint64 answerNumber(const QString &answer)
{
    return numtext::roundHalfEven(numtext::leadingNumber(answer));
}

bool answerEmpty(const QString &answer)
{
    return answer.trimmed().isEmpty();
}

Checked checkDataByte(const QString &answer)
{
    return inRange(answer, 0, 255, QStringLiteral("The data byte must be from 0 to 255."));
}

Checked checkInternalNvmAddress(const QString &answer)
{
    return inRange(answer, 0, proto::kInternalNvmSize - 1,
                   QStringLiteral("The internal NVM address must be from 0 to 511."));
}

Checked check24C512ByteAddress(const QString &answer)
{
    return inRange(answer, 0, proto::k24C512Size - 1, QStringLiteral("The 24C512 address must be from 0 to 65535."));
}

QString badCodeAddressMessage()
{
    return QStringLiteral("Error - bad 24C512 address");
}

Checked checkCodeTarget(qint64 a, int sectors)
{
    if (a <= proto::kCodeImageFirst - 1)
        return Checked::refuse(badCodeAddressMessage());
    if (a > proto::kCodeImageLast)
        return Checked::refuse(badCodeAddressMessage() + QStringLiteral(": code images are kept at 16,384 to 32,767."));
    const qint64 end = a + qint64(sectors) * proto::kSectorSize; // one past the last byte
    if (end > proto::kCodeImageLast + 1)
        return Checked::refuse(
            badCodeAddressMessage() +
            QStringLiteral(": %1 from %2 would run to %3, past 32,767.").arg(sectorsText(sectors)).arg(a).arg(end - 1));
    if (a <= kSystemBackupLast && end - 1 >= kSystemBackupFirst)
        return Checked::refuse(badCodeAddressMessage() +
                               QStringLiteral(": %1 from %2 would overwrite the system backup at 20,608 to "
                                              "20,863.")
                                   .arg(sectorsText(sectors))
                                   .arg(a));
    return Checked::accept(a);
}

Checked checkCodeTargetAddress(const QString &answer, int sectors)
{
    if (answerEmpty(answer))
        return Checked::cancel();
    return checkCodeTarget(answerNumber(answer), sectors);
}

Checked checkFlashReadAddress(const QString &answer)
{
    if (answerEmpty(answer))
        return Checked::accept(proto::kFlashCodeAddress);
    const qint64 a = answerNumber(answer);
    if (a < 0 || a > 32767)
        return Checked::refuse(QStringLiteral("The flash ROM address must be from 0 to 32767."));
    return Checked::accept(a);
}

Checked checkFlashReadSectors(const QString &answer)
{
    return inRange(answer, 1, 16, QStringLiteral("The number of sectors must be from 1 to 16."));
}

Checked checkCopySourceAddress(const QString &answer)
{
    return check24C512ByteAddress(answer);
}

Checked checkCopySectorCount(const QString &answer, qint64 source)
{
    if (answerEmpty(answer))
        return Checked::cancel();
    qint64 n = answerNumber(answer);
    if (n < 0)
        return Checked::refuse(QStringLiteral("The number of sectors must be from 1 to 16."));
    // The instrument copies at most 8 sectors in one go.
    n = std::clamp<qint64>(n, 1, proto::kMaxCopySectors);
    if (source + n * proto::kSectorSize > proto::k24C512Size)
        return Checked::refuse(QStringLiteral("%1 from 24C512 address %2 would run past its end at 65535.")
                                   .arg(sectorsText(n))
                                   .arg(source));
    return Checked::accept(n);
}

Checked checkProductCode(const QString &answer)
{
    return inRange(answer, 1, 3, QStringLiteral("The product code must be 1 (Tessaro), 2 (Lumisk) or 3 (Corvane)."));
}

Checked checkSoftwareVersion(const QString &answer)
{
    return inRange(answer, 0, 255, QStringLiteral("The software version must be from 0 to 255."));
}

} // namespace factory
