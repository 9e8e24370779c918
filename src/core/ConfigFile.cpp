#include "core/ConfigFile.h"

#include "core/Defaults.h"
#include "core/ImageLayout.h"
#include "core/NumberText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringView>
#include <QVarLengthArray>
#include <cmath>
#include <cstring>

using numtext::numberField;

namespace
{

const char kCrLf[] = "\r\n";

void appendLine(QByteArray &out, const QString &line)
{
    out += line.toLatin1();
    out += kCrLf;
}

// The file as a stream of comma-separated fields, each knowing its line (a line ends at
// LF; an empty line is one empty field). Fields are found as they are asked for and
// numbers are read without a string of their own: a file that goes wrong early costs
// little, and a good one no allocation per field. A field is trimmed of what
// QString::trimmed takes away, and a number is read by QString's own conversion.
class FieldReader
{
public:
    explicit FieldReader(const QByteArray &content) : m_end(content.constData() + content.size())
    {
        if (content.isEmpty()) {
            m_atEnd = true;
            m_line = 0;
        } else {
            findField(content.constData());
        }
    }

    bool atEnd() const { return m_atEnd; }
    // The line of the next field; after the last field, the line after the last one.
    int line() const { return m_atEnd ? m_line + 1 : m_line; }

    bool text(QString &out)
    {
        if (m_atEnd)
            return false;
        out = QString::fromLatin1(m_first, m_last - m_first);
        next();
        return true;
    }

    // A field that must be a number.
    bool number(double &out, QString &problem)
    {
        if (m_atEnd) {
            problem = QStringLiteral("the file ends too early");
            return false;
        }
        QVarLengthArray<char16_t, 64> utf16(m_last - m_first);
        for (qsizetype i = 0; i < utf16.size(); ++i)
            utf16[i] = uchar(m_first[i]);
        bool ok = false;
        const double v = QStringView(utf16.constData(), utf16.size()).toDouble(&ok);
        if (!ok || !std::isfinite(v)) {
            problem = QStringLiteral("\"%1\" is not a number")
                          .arg(numtext::printablePrefix(QString::fromLatin1(m_first, m_last - m_first)));
            return false;
        }
        next();
        out = v;
        return true;
    }

    bool byte(quint8 &out, QString &problem)
    {
        double v = 0;
        const int at = line();
        if (!number(v, problem))
            return false;
        const qint64 r = numtext::roundHalfEven(v);
        if (r < 0 || r > 255) {
            problem = QStringLiteral("%1 does not fit in a byte (0 to 255)").arg(r);
            m_failLine = at;
            return false;
        }
        out = quint8(r);
        return true;
    }

    int failLine() const { return m_failLine; }

private:
    static bool isSpace(char c) { return QChar(uchar(c)).isSpace(); }

    // The field starting at `from`: its trimmed text and the byte that ends it.
    void findField(const char *from)
    {
        m_stop = from;
        while (m_stop < m_end && *m_stop != ',' && *m_stop != '\n')
            ++m_stop;
        m_first = from;
        m_last = m_stop;
        while (m_first < m_last && isSpace(*m_first))
            ++m_first;
        while (m_last > m_first && isSpace(m_last[-1]))
            --m_last;
    }

    void next()
    {
        if (m_stop == m_end || (*m_stop == '\n' && m_stop + 1 == m_end)) {
            m_atEnd = true;
            return;
        }
        if (*m_stop == '\n')
            ++m_line;
        findField(m_stop + 1);
    }

    const char *m_end;
    const char *m_first = nullptr; // the current field, trimmed: [m_first, m_last)
    const char *m_last = nullptr;
    const char *m_stop = nullptr; // the comma, LF or end after the current field
    bool m_atEnd = false;
    int m_line = 1;
    int m_failLine = 0;
};

} // namespace

QByteArray configFileText(EditorState &state, const QDateTime &created)
{
    QByteArray out;
    out.reserve(64 * 1024);
    appendLine(out, QStringLiteral("Corvane Display Configuration File - Do NOT make any changes!"));
    appendLine(out, state.session.versionText);
    appendLine(out, QStringLiteral("Date created: ") + created.date().toString(QStringLiteral("MM-dd-yyyy")) +
                        QStringLiteral(".  Time created: ") + created.time().toString(QStringLiteral("HH:mm:ss")));
    appendLine(out, QStringLiteral("*"));
    appendLine(out, QStringLiteral("*"));
    appendLine(out, QStringLiteral("COMport=,") + numberField(qint64(state.link.portNumber)));

    state.systemBlock[layout::kSystemChecksum] = systemBlockChecksum(state.systemBlock);
    for (int i = 0; i < layout::kSystemBytes; ++i)
        appendLine(out, numberField(qint64(i)) + QLatin1Char(',') + numberField(qint64(state.systemBlock[i])));

    for (int n = 1; n <= 16; ++n) {
        appendLine(out, QStringLiteral(" "));
        state.configBlock[n][layout::kBlockChecksum] = configBlockChecksum(state.configBlock[n]);
        for (int d = 0; d < layout::kBlockBytes; ++d)
            appendLine(out, QStringLiteral("CDC(") + numberField(qint64(n)) + QLatin1Char('-') +
                                numberField(qint64(d)) + QStringLiteral("), ") +
                                numberField(qint64(state.configBlock[n][d])));
    }

    for (int k = 1; k <= 32; ++k)
        for (int j = 1; j <= 32; ++j)
            appendLine(out,
                       numberField(state.calCurve[k][j][1]) + QLatin1Char(',') + numberField(state.calCurve[k][j][2]));
    appendLine(out, QStringLiteral("-1"));
    return out;
}

QString writeConfigFile(EditorState &state, const QString &path, const QDateTime &created)
{
    const QByteArray text = configFileText(state, created);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (file.write(text) != text.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return file.errorString();
    return QString();
}

ConfigReadResult readConfigFile(const QString &path, ConfigFileImage &image)
{
    ConfigReadResult result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.problem = file.exists() ? file.errorString() : QStringLiteral("the file does not exist");
        return result;
    }
    // A configuration file is about 60 KB; anything far larger is not one.
    if (file.size() > 16 * 1024 * 1024) {
        result.problem = QStringLiteral("the file is too large to be a configuration file");
        return result;
    }
    return parseConfigFile(file.readAll(), image);
}

ConfigReadResult parseConfigFile(const QByteArray &content, ConfigFileImage &image)
{
    ConfigReadResult result;
    FieldReader in(content);
    QString problem;
    auto fail = [&](const QString &what) {
        result.line = in.failLine() ? in.failLine() : in.line();
        result.problem = what;
        return result;
    };

    for (int i = 1; i <= 5; ++i)
        if (!in.text(image.headerLines[i]))
            return fail(QStringLiteral("the file ends too early"));
    QString label;
    if (!in.text(label))
        return fail(QStringLiteral("the file ends too early"));
    if (!in.byte(image.comPort, problem))
        return fail(problem);
    for (int i = 0; i < layout::kSystemBytes; ++i) {
        if (!in.text(label))
            return fail(QStringLiteral("the file ends too early"));
        if (!in.byte(image.system[i], problem))
            return fail(problem);
    }
    for (int n = 1; n <= 16; ++n) {
        if (!in.text(label))
            return fail(QStringLiteral("the file ends too early"));
        for (int d = 0; d < layout::kBlockBytes; ++d) {
            if (!in.text(label))
                return fail(QStringLiteral("the file ends too early"));
            if (!in.byte(image.blocks[n][d], problem))
                return fail(problem);
        }
    }
    for (int k = 1; k <= 32; ++k)
        for (int j = 1; j <= 32; ++j)
            for (int f = 1; f <= 2; ++f) {
                double v = 0;
                if (!in.number(v, problem))
                    return fail(problem);
                // "-0" reads as 0, as the writer writes every zero: the image then holds
                // exactly what its next save reads back.
                image.curves[k][j][f] = v == 0.0 ? 0.0f : float(v);
            }
    double endMark = 0;
    if (!in.number(endMark, problem))
        return fail(problem == QLatin1String("the file ends too early")
                        ? QStringLiteral("the closing \"-1\" line is missing")
                        : problem);
    result.ok = true;
    return result;
}

bool senderTypesHavePositions(const quint8 *sb)
{
    return sb[layout::kFuelSender] - 6 < senders::kFuelEntries &&
           sb[layout::kTrimSender] - 16 < senders::kTrimEntries &&
           sb[layout::kEngineTempSender] < senders::kEngineTempEntries &&
           sb[layout::kOilSender] - 9 < senders::kOilEntries &&
           sb[layout::kSecondTankSender] - 22 < senders::kSecondTankEntries;
}

void applyConfigFile(EditorState &state, const ConfigFileImage &image)
{
    for (int i = 1; i <= 5; ++i)
        state.session.fileHeaderLines[i] = image.headerLines[i];
    state.link.portNumber = image.comPort;
    std::memcpy(state.systemBlock, image.system, layout::kSystemBytes);
    state.systemBlock[layout::kShownConfiguration] = 1;
    for (int n = 1; n <= 16; ++n)
        std::memcpy(state.configBlock[n], image.blocks[n], layout::kBlockBytes);
    std::memcpy(state.calCurve, image.curves, sizeof state.calCurve);
    positionSenderLists(state);
}

QString shownPath(const QString &path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

QString describeReadFailure(const QString &path, const ConfigReadResult &result)
{
    const QString name = shownPath(path);
    if (result.line <= 0)
        return QStringLiteral("The configuration file \"%1\" could not be read: %2.").arg(name, result.problem);
    return QStringLiteral("The configuration file \"%1\" could not be read.\r\nLine %2: %3.")
        .arg(name)
        .arg(result.line)
        .arg(result.problem);
}
