#include "core/factory/FactoryText.h"

#include "core/NumberText.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cmath>

namespace factory
{

FileResult<QByteArray> readWholeFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return FileResult<QByteArray>::fail(QStringLiteral("Cannot read %1: %2").arg(shortName(path), f.errorString()));
    return FileResult<QByteArray>::success(f.readAll());
}

QString shortName(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    return name.isEmpty() ? path : name;
}

TextLines::TextLines(const QByteArray &content, const QString &fileName) : m_fileName(fileName)
{
    m_lines = QString::fromLatin1(content).split(QLatin1Char('\n'));
    // A final line end does not start another line.
    if (!m_lines.isEmpty() && m_lines.last().isEmpty())
        m_lines.removeLast();
    for (QString &l : m_lines)
        if (l.endsWith(QLatin1Char('\r')))
            l.chop(1);
}

bool TextLines::next(QString *line)
{
    if (m_index >= m_lines.size())
        return false;
    *line = m_lines.at(m_index++);
    return true;
}

bool TextLines::onlyBlankLeft() const
{
    for (int i = m_index; i < m_lines.size(); ++i)
        if (!m_lines.at(i).trimmed().isEmpty())
            return false;
    return true;
}

QString TextLines::error(const QString &problem) const
{
    return QStringLiteral("%1, line %2: %3").arg(m_fileName, QString::number(m_index), problem);
}

QString TextLines::endedEarly(const QString &missing) const
{
    if (m_lines.isEmpty())
        return QStringLiteral("%1 is empty: %2").arg(m_fileName, missing);
    return QStringLiteral("%1 ends after line %2: %3").arg(m_fileName, QString::number(m_lines.size()), missing);
}

QStringList splitFields(const QString &line)
{
    const QString t = line.trimmed();
    if (t.isEmpty())
        return {};
    static const QRegularExpression separator(QStringLiteral("\\s*,\\s*|\\s+"));
    return t.split(separator);
}

bool parseNumber(const QString &field, double *value)
{
    // Possessive quantifiers: with plain ones a long run of digits followed by one more
    // character made the engine try every split of the run between its two digit
    // groups, so a field of 200 000 digits took a minute to refuse.
    static const QRegularExpression number(
        QStringLiteral("^[+-]?(?:\\d++(?:\\.\\d*+)?|\\.\\d++)(?:[eE][+-]?\\d{1,3}+)?$"));
    if (!number.match(field).hasMatch())
        return false;
    bool ok = false;
    const double v = field.toDouble(&ok);
    if (!ok)
        return false;
    *value = v;
    return true;
}

bool parseWhole(const QString &field, qint64 lo, qint64 hi, const QString &what, qint64 *value, QString *problem)
{
    double v = 0;
    if (field.isEmpty()) {
        *problem = QStringLiteral("%1 is missing").arg(what);
        return false;
    }
    if (!parseNumber(field, &v)) {
        *problem = QStringLiteral("%1 \"%2\" is not a number").arg(what, numtext::printablePrefix(field));
        return false;
    }
    if (v < double(lo) || v > double(hi) || v != std::floor(v)) {
        *problem = QStringLiteral("%1 \"%2\" is not a whole number from %3 to %4")
                       .arg(what, numtext::printablePrefix(field), QString::number(lo), QString::number(hi));
        return false;
    }
    *value = qint64(v);
    return true;
}

QString sectorsText(qint64 n)
{
    return n == 1 ? QStringLiteral("1 sector") : QStringLiteral("%1 sectors").arg(n);
}

bool skipLines(TextLines &lines, int count, const QString &what, QString *error)
{
    QString line;
    for (int i = 0; i < count; ++i) {
        if (!lines.next(&line)) {
            *error = lines.endedEarly(QStringLiteral("%1 (%2 lines) is incomplete").arg(what).arg(count));
            return false;
        }
    }
    return true;
}

bool readClosingNumber(TextLines &lines, const QString &after, QString *error)
{
    QString line;
    if (!lines.next(&line)) {
        *error = lines.endedEarly(QStringLiteral("the closing number after %1 is missing").arg(after));
        return false;
    }
    double v = 0;
    const QString first = splitFields(line).value(0);
    if (!parseNumber(first, &v)) {
        *error = lines.error(
            QStringLiteral("the closing number after %1 should stand here; found \"%2\"").arg(after, line.trimmed()));
        return false;
    }
    return true;
}

} // namespace factory
