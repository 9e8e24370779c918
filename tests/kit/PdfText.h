// The text of a PDF as a reader extracts it (poppler's pdftotext), page by page: what
// a user finds in the file, not what the program meant to paint.
#pragma once

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

// The pages' texts, in order; empty when the PDF could not be read.
inline QStringList pdfPages(const QString &path)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty())
        qFatal("pdftotext (poppler-utils) is needed to read the report");
    QProcess p;
    p.start(tool,
            {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    // Compatibility forms undone: the font's "fi" ligature reads as "f" and "i".
    QStringList pages =
        QString::fromUtf8(p.readAllStandardOutput()).normalized(QString::NormalizationForm_KC).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}
