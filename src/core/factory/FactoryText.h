// Reading the factory's text files: numbered lines, comma- or blank-separated fields, strict numbers.
#pragma once

#include "core/factory/FactoryResult.h"

#include <QStringList>

namespace factory
{

// The whole file, or an error naming it ("Cannot read X: reason").
FileResult<QByteArray> readWholeFile(const QString &path);
// The name a message uses for a file: its name without the folder.
QString shortName(const QString &path);

// The lines of a text file, handed out one at a time with their numbers, so every
// refusal can name the line. Bytes are taken as Latin-1: a character's code is the byte.
class TextLines
{
public:
    TextLines(const QByteArray &content, const QString &fileName);

    // The next line without its line end; false when the file has no more lines.
    bool next(QString *line);
    // Number (from 1) of the line last handed out; 0 before the first.
    int lineNumber() const { return m_index; }
    // True when only blank lines remain.
    bool onlyBlankLeft() const;

    // "NAME, line N: problem" for the line last handed out.
    QString error(const QString &problem) const;
    // "NAME ends after line N: what is missing" (or "NAME is empty: ...").
    QString endedEarly(const QString &missing) const;
    const QString &fileName() const { return m_fileName; }

private:
    QStringList m_lines;
    QString m_fileName;
    int m_index = 0;
};

// Fields separated by a comma (blanks around it allowed) or by a run of blanks. Two
// commas in a row give an empty field. A blank line gives no fields.
QStringList splitFields(const QString &line);

// A field that is a number and nothing else: optional sign, digits with at most one
// point, optional exponent.
bool parseNumber(const QString &field, double *value);

// A field that holds a whole number within lo..hi. On failure `problem` says what is
// wrong, naming the field as `what` ("the data byte \"300\" is not within 0 to 255").
bool parseWhole(const QString &field, qint64 lo, qint64 hi, const QString &what, qint64 *value, QString *problem);

// "1 sector", "3 sectors".
QString sectorsText(qint64 n);

// Steps over `count` lines of any content; false with an error when the file ends first.
bool skipLines(TextLines &lines, int count, const QString &what, QString *error);
// Reads the line that closes a table: its first field must be a number.
bool readClosingNumber(TextLines &lines, const QString &after, QString *error);

} // namespace factory
