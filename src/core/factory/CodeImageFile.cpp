#include "core/factory/CodeImageFile.h"

#include "core/NumberText.h"
#include "core/factory/FactoryText.h"

#include <QSaveFile>

namespace factory
{
namespace
{

// Print zones: a field followed by a further field on the same line fills 14 characters.
constexpr int kZoneWidth = 14;
const QByteArray kLineEnd = QByteArrayLiteral("\r\n");

QString zoned(const QString &field)
{
    return field.leftJustified(kZoneWidth, QLatin1Char(' '));
}

} // namespace

QString CodeImageFile::firstLine(int sectors, CodeImageOrigin origin)
{
    const QString text = origin == CodeImageOrigin::HexFile ? QStringLiteral(",Number of 64 byte Sectors")
                                                            : QStringLiteral(", Number of 64 byte Sectors");
    return zoned(numtext::numberField(qint64(sectors))) + text;
}

QString CodeImageFile::byteLine(int address, int value)
{
    return zoned(numtext::numberField(qint64(address))) + numtext::numberField(qint64(value));
}

QByteArray CodeImageFile::format(const CodeImage &image)
{
    const int sectors = image.sectorCount();
    QByteArray out = firstLine(sectors, image.origin).toLatin1() + kLineEnd;
    // Addresses are 16-bit and wrap after 65535: an image read from a file whose first
    // address is near the top must still be written as a file the reader accepts.
    for (int i = 0; i < sectors * proto::kSectorSize; ++i)
        out += byteLine(quint16(image.firstAddress + i), image.byteAt(i)).toLatin1() + kLineEnd;
    return out;
}

QString CodeImageFile::write(const QString &path, const CodeImage &image)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return QStringLiteral("Cannot write %1: %2").arg(shortName(path), f.errorString());
    const QByteArray content = format(image);
    if (f.write(content) != content.size() || !f.commit())
        return QStringLiteral("Cannot write %1: %2").arg(shortName(path), f.errorString());
    return QString();
}

FileResult<CodeImage> CodeImageFile::parse(const QByteArray &content, const QString &fileName)
{
    using Result = FileResult<CodeImage>;
    TextLines lines(content, fileName);
    QString line;
    if (!lines.next(&line))
        return Result::fail(lines.endedEarly(QStringLiteral("line 1 should give the number of 64 byte sectors")));

    // Line 1: the sector count, then a text field after a comma or blanks.
    const QString head = line.trimmed();
    int end = 0;
    while (end < head.size() && head.at(end) != QLatin1Char(',') && !head.at(end).isSpace())
        ++end;
    qint64 sectors = 0;
    QString problem;
    if (!parseWhole(head.left(end), 1, kMaxCodeSectors, QStringLiteral("the number of 64 byte sectors"), &sectors,
                    &problem))
        return Result::fail(lines.error(problem));

    CodeImage image;
    image.origin =
        head.mid(end).trimmed().startsWith(QStringLiteral(", ")) ? CodeImageOrigin::FlashRom : CodeImageOrigin::HexFile;
    const int count = int(sectors) * proto::kSectorSize;
    image.bytes.reserve(count);
    for (int i = 0; i < count; ++i) {
        if (!lines.next(&line))
            return Result::fail(
                lines.endedEarly(QStringLiteral("line 1 promises %1 sectors, that is %2 byte lines, but only %3 follow")
                                     .arg(sectors)
                                     .arg(count)
                                     .arg(i)));
        const QStringList fields = splitFields(line);
        if (fields.size() != 2)
            return Result::fail(
                lines.error(QStringLiteral("a byte line holds two numbers, an address and a value; found %1 fields")
                                .arg(fields.size())));
        qint64 address = 0;
        qint64 value = 0;
        if (!parseWhole(fields.at(0), 0, 65535, QStringLiteral("the address"), &address, &problem) ||
            !parseWhole(fields.at(1), 0, 255, QStringLiteral("the byte value"), &value, &problem))
            return Result::fail(lines.error(problem));
        if (i == 0)
            image.firstAddress = int(address);
        image.bytes.append(char(value));
    }
    if (!lines.onlyBlankLeft()) {
        while (lines.next(&line) && line.trimmed().isEmpty()) {
        }
        return Result::fail(lines.error(QStringLiteral("more byte lines than the %1 %2 that line 1 promises")
                                            .arg(sectors)
                                            .arg(sectors == 1 ? QStringLiteral("sector") : QStringLiteral("sectors"))));
    }
    return Result::success(image);
}

FileResult<CodeImage> CodeImageFile::read(const QString &path)
{
    const auto file = readWholeFile(path);
    if (!file.ok())
        return FileResult<CodeImage>::fail(file.error);
    return parse(file.value, shortName(path));
}

} // namespace factory
