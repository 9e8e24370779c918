#include "core/factory/FactoryOutput.h"

#include "core/NumberText.h"

using numtext::signedText;

namespace factory
{
namespace
{
const QString kCrLf = QStringLiteral("\r\n");
const QString kFourBlanks = QStringLiteral("    ");

QString equalsLine(const QString &label, int address, int value)
{
    return label + signedText(qint64(address)) + QStringLiteral("=  ") + signedText(qint64(value)) + kCrLf;
}
} // namespace

QString memoryLine(qint64 address, int value)
{
    return signedText(address) + kFourBlanks + signedText(qint64(value)) + kCrLf;
}

QString memoryLines(qint64 start, const QVector<int> &values)
{
    QString out;
    for (int i = 0; i < values.size(); ++i)
        out += memoryLine(start + i, values.at(i));
    return out;
}

QString flashSectorText(const QVector<int> &values)
{
    return memoryLines(0, values);
}

QString writingSectorLine(int sector, int address)
{
    return QStringLiteral("Writing Sector ") + signedText(qint64(sector)) + QStringLiteral(" to ") +
           signedText(qint64(address)) + kCrLf;
}

QString transferDoneText()
{
    return kCrLf + QStringLiteral("Done") + kCrLf;
}

QString oldValueLine(int address, int value)
{
    return equalsLine(QStringLiteral("Old value at "), address, value);
}

QString oldChecksumLine(int address, int checksum)
{
    return equalsLine(QStringLiteral("Old checksum "), address, checksum);
}

QString newDataLine(int address, int value)
{
    return equalsLine(QStringLiteral("New data at "), address, value);
}

} // namespace factory
