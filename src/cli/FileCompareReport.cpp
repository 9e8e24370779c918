// The commands that read configuration files only: compare two of them, and the report.
#include "cli/Commands.h"

#include "core/CompareText.h"
#include "core/ConfigFile.h"
#include "core/ConfigImage.h"
#include "render/Report.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

namespace cli
{
namespace
{

bool readImage(Invocation &in, const QString &path, ConfigImage &image)
{
    ConfigFileImage file;
    const ConfigReadResult read = readConfigFile(path, file);
    if (!read.ok) {
        in.console.note(describeReadFailure(path, read));
        return false;
    }
    image = ConfigImage::of(file);
    return true;
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
