// The commands that need configuration files only: compare two, merge parts of one
// into another, and the report.
#include "cli/Commands.h"

#include "core/CompareText.h"
#include "core/ConfigFile.h"
#include "core/ConfigImage.h"
#include "core/ImageParts.h"
#include "core/TransferRules.h"
#include "render/Report.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

namespace cli
{
namespace
{

bool readFile(Invocation &in, const QString &path, ConfigFileImage &file)
{
    const ConfigReadResult read = readConfigFile(path, file);
    if (!read.ok)
        in.console.note(describeReadFailure(path, read));
    return read.ok;
}

bool readImage(Invocation &in, const QString &path, ConfigImage &image)
{
    ConfigFileImage file;
    if (!readFile(in, path, file))
        return false;
    image = ConfigImage::of(file);
    return true;
}

// "Display Configurations 1, 3 to 5, Race Timers".
QString takenText(const fields::Parts &parts)
{
    QStringList taken;
    for (int c = 1; c <= fields::kLastCategory; ++c) {
        if (!parts.categories[size_t(c)])
            continue;
        QString text = transfer::categoryCaption(c);
        if (c == fields::kDisplaysCategory) {
            QStringList runs;
            for (int n = 1; n <= 16; ++n) {
                if (!parts.configurations[size_t(n)] || (n > 1 && parts.configurations[size_t(n - 1)]))
                    continue;
                int last = n;
                while (last < 16 && parts.configurations[size_t(last + 1)])
                    ++last;
                runs << (last == n ? QString::number(n) : QStringLiteral("%1 to %2").arg(n).arg(last));
            }
            text += QLatin1Char(' ') + runs.join(QStringLiteral(", "));
        }
        taken << text;
    }
    return taken.join(QStringLiteral(", "));
}

} // namespace

int compare(Invocation &in)
{
    if (in.arguments.size() == 1)
        return compareWithInstrument(in);
    ConfigImage a, b;
    if (!readImage(in, in.arguments.at(0), a) || !readImage(in, in.arguments.at(1), b))
        return kExitRefused;
    const QString aTitle = QFileInfo(in.arguments.at(0)).fileName();
    const QString bTitle = QFileInfo(in.arguments.at(1)).fileName();
    const std::vector<fields::Line> differences = fields::differences(a, b);
    in.console.result(fields::comparisonText(differences, differences, aTitle, bTitle).trimmed());
    return kExitDone;
}

int merge(Invocation &in)
{
    const QString basePath = in.arguments.at(0), fromPath = in.arguments.at(1), out = in.arguments.at(2);
    ConfigFileImage baseFile;
    ConfigImage from;
    if (!readFile(in, basePath, baseFile) || !readImage(in, fromPath, from))
        return kExitRefused;
    ConfigImage base = ConfigImage::of(baseFile);
    base.system[layout::kShownConfiguration] = baseFile.system[layout::kShownConfiguration];
    fields::Parts parts;
    for (int c = 1; c <= fields::kLastCategory; ++c)
        parts.categories[size_t(c)] = in.categories[c];
    parts.configurations = in.configurations;
    const ConfigImage merged = fields::takeParts(base, from, parts);

    EditorState state;
    applyConfigFile(state, baseFile);
    merged.applyTo(state);
    const QString problem = writeConfigFile(state, out);
    if (!problem.isEmpty()) {
        in.console.note(QStringLiteral("The configuration could not be saved to\n%1\n%2.\nAny earlier file of that "
                                       "name was left unchanged.")
                            .arg(shownPath(out), problem));
        return kExitIncomplete;
    }
    const int changed = int(fields::differences(base, merged).size());
    in.console.result(
        QStringLiteral("%1 written: %2 with %3 taken from %4 (%5 field%6 changed).")
            .arg(shownPath(out), QFileInfo(basePath).fileName(), takenText(parts), QFileInfo(fromPath).fileName())
            .arg(changed)
            .arg(changed == 1 ? QString() : QStringLiteral("s")));
    return kExitDone;
}

int report(Invocation &in)
{
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        in.console.note(QStringLiteral("report: the report needs the graphics library; it was not started."));
        return kExitRefused;
    }
    ConfigImage image;
    const QString source = in.arguments.at(0);
    if (!readImage(in, source, image))
        return kExitRefused;
    const QString out = in.arguments.at(1);
    const report::Result written =
        report::writePdf(image, {QFileInfo(source).fileName(), QDateTime::currentDateTime(), {}, {}, {}}, out);
    const QString shown = shownPath(out);
    if (!written.ok()) {
        in.console.note(QStringLiteral("The report could not be written to %1: %2.\nAny earlier file of that name "
                                       "was left unchanged.")
                            .arg(shown, written.error));
        return kExitRefused;
    }
    in.console.result(QStringLiteral("Report of %1 written to %2 (%3 pages).")
                          .arg(QFileInfo(source).fileName(), shown)
                          .arg(written.pages));
    return kExitDone;
}

} // namespace cli
