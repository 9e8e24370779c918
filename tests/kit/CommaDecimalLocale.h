// Switches the C library's number format to one with a decimal comma for one test, as a German or French system has.
#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <clocale>

// Makes a locale whose only category is LC_NUMERIC with "," as the decimal point
// (localedef into a temporary folder, found through LOCPATH) and selects it for
// LC_NUMERIC; the destructor restores the previous one. active() is false when the
// system cannot make one (no localedef): the test should then skip.
class CommaDecimalLocale
{
public:
    CommaDecimalLocale()
    {
        m_previous = std::setlocale(LC_NUMERIC, nullptr);
        m_previousLocPath = qgetenv("LOCPATH");
        if (!m_dir.isValid())
            return;
        const QString definition = QDir(m_dir.path()).filePath(QStringLiteral("comma.def"));
        QFile def(definition);
        if (!def.open(QIODevice::WriteOnly))
            return;
        def.write("LC_NUMERIC\ndecimal_point \"<U002C>\"\nthousands_sep \"<U002E>\"\ngrouping 3;3\nEND LC_NUMERIC\n");
        def.close();
        // -c: the definition lacks the other categories on purpose.
        QProcess localedef;
        localedef.setProcessChannelMode(QProcess::MergedChannels); // its warnings are expected
        localedef.start(QStringLiteral("localedef"),
                        {QStringLiteral("-c"), QStringLiteral("-i"), definition, m_dir.filePath(kName)});
        localedef.waitForFinished(60000);
        if (!QFile::exists(m_dir.filePath(QStringLiteral("%1/LC_NUMERIC").arg(kName))))
            return;
        qputenv("LOCPATH", QFile::encodeName(m_dir.path()));
        m_active = std::setlocale(LC_NUMERIC, kName) != nullptr && std::localeconv()->decimal_point[0] == ',';
    }
    ~CommaDecimalLocale()
    {
        std::setlocale(LC_NUMERIC, m_previous.constData());
        if (m_previousLocPath.isNull())
            qunsetenv("LOCPATH");
        else
            qputenv("LOCPATH", m_previousLocPath);
    }
    CommaDecimalLocale(const CommaDecimalLocale &) = delete;
    CommaDecimalLocale &operator=(const CommaDecimalLocale &) = delete;

    bool active() const { return m_active; }

private:
    static constexpr const char *kName = "xx_XX";
    QTemporaryDir m_dir;
    QByteArray m_previous;
    QByteArray m_previousLocPath;
    bool m_active = false;
};
