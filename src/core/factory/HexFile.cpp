#include "core/factory/HexFile.h"

#include "core/factory/FactoryText.h"

#include <algorithm>

namespace factory
{
namespace
{

constexpr int kWindowFirst = proto::kFlashCodeAddress;
constexpr int kWindowLast = proto::kFlashCodeEnd;
constexpr int kWindowSize = kWindowLast - kWindowFirst + 1;

enum RecordType { Data = 0, EndOfFile = 1, ExtendedSegment = 2, StartSegment = 3, ExtendedLinear = 4, StartLinear = 5 };

int hexValue(QChar c)
{
    const ushort u = c.toUpper().unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

QString hex2(int v)
{
    return QStringLiteral("%1").arg(v, 2, 16, QLatin1Char('0')).toUpper();
}

struct Record {
    int length = 0;
    int offset = 0;
    int type = 0;
    QByteArray data;
};

// Checks one record's syntax and checksum; `problem` is set on failure.
bool parseRecord(const QString &line, Record *rec, QString *problem)
{
    if (!line.startsWith(QLatin1Char(':'))) {
        *problem = QStringLiteral("a record must start with \":\"");
        return false;
    }
    for (int i = 1; i < line.size(); ++i) {
        if (hexValue(line.at(i)) < 0) {
            *problem = QStringLiteral("\"%1\" at character %2 is not a hexadecimal digit").arg(line.at(i)).arg(i + 1);
            return false;
        }
    }
    if (line.size() < 11) {
        *problem = QStringLiteral("the record is too short (a record has at least 11 characters)");
        return false;
    }
    auto byteAt = [&](int firstChar) { return hexValue(line.at(firstChar)) * 16 + hexValue(line.at(firstChar + 1)); };
    rec->length = byteAt(1);
    if (line.size() != 11 + 2 * rec->length) {
        *problem = QStringLiteral("the record has %1 characters, but its length field %2 calls for %3")
                       .arg(line.size())
                       .arg(rec->length)
                       .arg(11 + 2 * rec->length);
        return false;
    }
    rec->offset = byteAt(3) * 256 + byteAt(5);
    rec->type = byteAt(7);
    rec->data.clear();
    int sum = rec->length + byteAt(3) + byteAt(5) + rec->type;
    for (int m = 0; m < rec->length; ++m) {
        const int b = byteAt(9 + 2 * m);
        rec->data.append(char(b));
        sum += b;
    }
    const int checksum = byteAt(9 + 2 * rec->length);
    const int expected = (256 - (sum & 0xFF)) & 0xFF;
    if (checksum != expected) {
        *problem = QStringLiteral("bad record checksum %1 (the record's bytes call for %2)")
                       .arg(hex2(checksum), hex2(expected));
        return false;
    }
    return true;
}

} // namespace

FileResult<CodeImage> hexToCodeImage(const QByteArray &content, const QString &fileName)
{
    using Result = FileResult<CodeImage>;
    TextLines lines(content, fileName);
    QByteArray window(kWindowSize, '\0');
    qint64 base = 0; // from extended address records
    qint64 p = 0;    // write address as left by the last data record
    qint64 lastDataStart = -1;
    int lastDataLine = 0;
    int highest = 0; // one past the highest window position stored
    bool ended = false;
    QString line;
    while (lines.next(&line)) {
        line = line.trimmed();
        if (line.isEmpty())
            continue;
        Record rec;
        QString problem;
        if (!parseRecord(line, &rec, &problem))
            return Result::fail(lines.error(problem));
        if (rec.type == EndOfFile && rec.length != 0)
            return Result::fail(lines.error(QStringLiteral("an end record (type 01) must have length 0")));
        // A record of length 0 ends the data, whatever its type.
        if (rec.length == 0) {
            ended = true;
            break;
        }
        switch (rec.type) {
        case Data:
            p = base + rec.offset;
            lastDataStart = p;
            lastDataLine = lines.lineNumber();
            for (char b : rec.data) {
                // Bytes outside the window are skipped without advancing p.
                if (p >= kWindowFirst && p <= kWindowLast) {
                    window[int(p - kWindowFirst)] = b;
                    ++p;
                    highest = std::max(highest, int(p - kWindowFirst));
                }
            }
            break;
        case ExtendedSegment:
        case ExtendedLinear:
            if (rec.length != 2)
                return Result::fail(lines.error(QStringLiteral("an extended address record must have length 2")));
            // In 64 bits: a linear base from 8000 hex up is beyond what an int holds.
            base = qint64(quint8(rec.data[0]) * 256 + quint8(rec.data[1])) * (rec.type == ExtendedSegment ? 16 : 65536);
            break;
        case StartSegment:
        case StartLinear:
            if (rec.length != 4)
                return Result::fail(lines.error(QStringLiteral("a start address record must have length 4")));
            break;
        default:
            return Result::fail(lines.error(QStringLiteral("unknown record type %1").arg(hex2(rec.type))));
        }
    }
    if (!ended)
        return Result::fail(lines.endedEarly(QStringLiteral("no end record (:00000001FF) was found")));
    if (lastDataStart < 0)
        return Result::fail(QStringLiteral("%1 holds no data records").arg(fileName));
    if (lastDataStart < kWindowFirst || lastDataStart > kWindowLast)
        return Result::fail(QStringLiteral("%1, line %2: the last data record starts at address %3, outside the code "
                                           "window %4 to %5")
                                .arg(fileName, QString::number(lastDataLine), QString::number(lastDataStart),
                                     QString::number(kWindowFirst), QString::number(kWindowLast)));
    // Records out of address order must not lose the bytes they stored above p.
    const int n = std::max(int(p - kWindowFirst), highest);
    const int sectors = (n + proto::kSectorSize - 1) / proto::kSectorSize;
    CodeImage image;
    image.bytes = window.left(sectors * proto::kSectorSize);
    image.firstAddress = kWindowFirst;
    image.origin = CodeImageOrigin::HexFile;
    return Result::success(image);
}

FileResult<CodeImage> readHexFile(const QString &path)
{
    const auto file = readWholeFile(path);
    if (!file.ok())
        return FileResult<CodeImage>::fail(file.error);
    return hexToCodeImage(file.value, shortName(path));
}

} // namespace factory
