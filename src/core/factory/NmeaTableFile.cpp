#include "core/factory/NmeaTableFile.h"

#include "core/Protocol.h"
#include "core/factory/FactoryText.h"

namespace factory
{
namespace
{

constexpr int kHeaderLines = 5;
constexpr int kUploadBlockSize = 128;

// "12, GP, Global Positioning" -> number "12", text "GP". Returns false when the line
// has no text after its number.
bool numberAndText(const QString &line, QString *number, QString *text, QString *problem)
{
    const QString t = line.trimmed();
    int i = 0;
    while (i < t.size() && t.at(i) != QLatin1Char(',') && !t.at(i).isSpace())
        ++i;
    *number = t.left(i);
    while (i < t.size() && t.at(i).isSpace())
        ++i;
    if (i < t.size() && t.at(i) == QLatin1Char(','))
        ++i;
    while (i < t.size() && t.at(i).isSpace())
        ++i;
    if (i < t.size() && t.at(i) == QLatin1Char('"')) {
        const int close = t.indexOf(QLatin1Char('"'), i + 1);
        if (close < 0) {
            *problem = QStringLiteral("the quoted text has no closing quote");
            return false;
        }
        *text = t.mid(i + 1, close - i - 1);
    } else {
        const int comma = t.indexOf(QLatin1Char(','), i);
        *text = t.mid(i, comma < 0 ? -1 : comma - i).trimmed();
    }
    return true;
}

// Reads one table entry and appends its first `width` characters to `out`.
bool readEntry(TextLines &lines, const QString &kind, int entry, int width, QByteArray *out, QString *error)
{
    QString line;
    if (!lines.next(&line)) {
        *error = lines.endedEarly(QStringLiteral("%1 entry %2 of 128 is missing").arg(kind).arg(entry));
        return false;
    }
    QString number;
    QString text;
    QString problem;
    double unused = 0;
    if (!numberAndText(line, &number, &text, &problem)) {
        *error = lines.error(problem);
        return false;
    }
    if (!parseNumber(number, &unused)) {
        *error = lines.error(QStringLiteral("%1 entry %2 should start with a number; found \"%3\"")
                                 .arg(kind, QString::number(entry), number));
        return false;
    }
    if (text.size() < width) {
        *error = lines.error(QStringLiteral("%1 entry %2 needs an identifier of %3 characters; found \"%4\"")
                                 .arg(kind, QString::number(entry), QString::number(width), text));
        return false;
    }
    for (int i = 0; i < width; ++i) {
        const ushort c = text.at(i).unicode();
        if (c < 32 || c > 126) {
            *error = lines.error(QStringLiteral("%1 entry %2 holds a character (code %3) that is not printable ASCII")
                                     .arg(kind, QString::number(entry), QString::number(c)));
            return false;
        }
        out->append(char(c));
    }
    return true;
}

} // namespace

FileResult<NmeaTables> parseNmeaTables(const QByteArray &content, const QString &fileName)
{
    using Result = FileResult<NmeaTables>;
    TextLines lines(content, fileName);
    QString error;
    if (!skipLines(lines, kHeaderLines, QStringLiteral("the header"), &error))
        return Result::fail(error);
    NmeaTables tables;
    for (int a = 1; a <= kNmeaTalkerEntries; ++a)
        if (!readEntry(lines, QStringLiteral("talker"), a, 2, &tables.talkers, &error))
            return Result::fail(error);
    for (int b = 1; b <= kNmeaSentenceEntries; ++b) {
        if (!readEntry(lines, QStringLiteral("sentence"), b, 3, &tables.sentences, &error))
            return Result::fail(error);
        tables.sentences.append('\0');
    }
    if (!readClosingNumber(lines, QStringLiteral("the 128 sentence entries"), &error))
        return Result::fail(error);
    return Result::success(tables);
}

FileResult<NmeaTables> readNmeaTables(const QString &path)
{
    const auto file = readWholeFile(path);
    if (!file.ok())
        return FileResult<NmeaTables>::fail(file.error);
    return parseNmeaTables(file.value, shortName(path));
}

QVector<EepromBlock> nmeaUploadBlocks(const NmeaTables &tables)
{
    const QByteArray all = tables.talkers + tables.sentences;
    QVector<EepromBlock> blocks;
    for (int g = 1; g <= 6; ++g) {
        const int offset = kUploadBlockSize * (g - 1);
        blocks.append({proto::kNmeaTalkerTable + offset, all.mid(offset, kUploadBlockSize)});
    }
    return blocks;
}

} // namespace factory
