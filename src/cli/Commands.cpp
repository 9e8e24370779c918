// The instrument commands: the editor's operations, run with terminal prompts and view.
#include "cli/Commands.h"

#include "cli/CategoryChoice.h"
#include "cli/InstrumentSession.h"
#include "cli/TerminalPrompts.h"
#include "core/CompareText.h"
#include "core/ConfigFile.h"
#include "core/ConfigImage.h"
#include "core/Defaults.h"
#include "core/FieldTable.h"
#include "core/TransferRules.h"
#include "link/InstrumentContext.h"
#include "link/Transfers.h"
#include "link/WrittenParts.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <memory>

namespace cli
{

namespace
{

int refuse(Invocation &in, const QString &text)
{
    in.console.note(text);
    return kExitRefused;
}

// The port named by --port, or the reason there is none. Checked before any question:
// an answer is not asked for an operation that cannot start.
bool resolvePort(Invocation &in, PortChoice *port)
{
    *port = choosePort(in.port, in.host);
    if (port->device.isEmpty()) {
        in.console.note(QStringLiteral("%1 names no serial port: there is no %1 entry in the working folder and not "
                                       "that many serial ports. \"corvane-cli ports\" lists them.")
                            .arg(port->shown));
        return false;
    }
    const QString problem = portProblem(*port);
    if (problem.isEmpty())
        return true;
    in.console.note(problem);
    return false;
}

// The session records its operation's entry as `operation`, with the image from `source`.
void recordAs(Invocation &in, InstrumentSession &session, const QString &operation, const QString &source = {})
{
    session.archive = recording::Choice{in.archiveFolder, !in.keepArchive};
    session.about = recording::About{operation, source, QString()};
}

// The same question, in the same words, as the editor's menu entry asks.
bool confirmed(Invocation &in, const QString &title, const QString &text)
{
    if (in.prompts.askYesNo(title, text, Prompts::Icon::Exclamation) == kYes)
        return true;
    if (!in.prompts.unanswered())
        in.console.note(title + QStringLiteral(": not confirmed. Nothing was sent."));
    return false;
}

QString captions(const qint16 *chosen, const QList<int> &among)
{
    QStringList names;
    for (int c : among)
        if (chosen[c])
            names << transfer::categoryCaption(c);
    return names.isEmpty() ? QStringLiteral("none") : names.join(QStringLiteral(", "));
}

QString uploadSummary(const EditorState &s, const QString &task, const QString &source, const QString &serial)
{
    WrittenParts parts;
    parts.written(parts.add(QStringLiteral("the settings"), true));
    QList<int> displays;
    for (int n = 1; n <= 16; ++n)
        displays << n;
    const QList<int> curves = transfer::uploadedCurves();
    const int displayPart = parts.add(QStringLiteral("display configuration"), QStringLiteral("display configurations"),
                                      s.transfer.upload[1] ? displays : QList<int>{});
    const int curvePart = parts.add(QStringLiteral("sender curve"), QStringLiteral("sender curves"),
                                    s.transfer.upload[4] ? curves : QList<int>{});
    if (s.transfer.upload[1])
        for (int n : displays)
            parts.written(displayPart, n);
    if (s.transfer.upload[4])
        for (int k : curves)
            parts.written(curvePart, k);
    if (s.transfer.upload[12])
        parts.written(parts.add(QStringLiteral("the instrument's clock")));
    return QStringLiteral("%1 done (Corvane SN# %2). %3\nSettings taken from %4: %5 and the NMEA sentence "
                          "selections; the others were kept as the instrument had them.")
        .arg(task, serial, parts.describe(), source,
             captions(s.transfer.upload, {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 14}));
}

// Reads the configuration file `path` into a new session on the instrument's port; on
// a refusal (a bad file, no such port) says why, sets `refused` and returns nothing.
std::unique_ptr<InstrumentSession> sessionWithFile(Invocation &in, const QString &path, int *refused)
{
    ConfigFileImage image;
    const ConfigReadResult read = readConfigFile(path, image);
    if (!read.ok) {
        *refused = refuse(in, describeReadFailure(path, read) + QStringLiteral("\nNothing was sent."));
        return nullptr;
    }
    PortChoice port;
    if (!resolvePort(in, &port)) {
        *refused = kExitNotFound;
        return nullptr;
    }
    auto session = std::make_unique<InstrumentSession>(in.host, in.console, in.prompts, port);
    recordAs(in, *session, archive::operation::kUpload, shownPath(path));
    applyConfigFile(session->state, image);
    session->state.link.portNumber = quint8(port.number);
    return session;
}

int uploadImage(Invocation &in, InstrumentSession &session, const QString &task, const QString &source)
{
    ChosenCategories question(in.console, in.prompts, in.categories);
    session.readBackSettlesEchoes = in.verify;
    const int code = session.run(task, [&](InstrumentContext &ctx) {
        transfer::UploadOptions options;
        options.verify = in.verify;
        return transfer::upload(ctx, question, in.host.pc, options);
    });
    if (code == kExitDone)
        in.console.result(uploadSummary(session.state, task, source, session.serialNumber()));
    return code;
}

transfer::Categories categoriesWhere(const std::function<bool(int)> &test)
{
    transfer::Categories set{};
    for (int i = 1; i <= transfer::kCategories; ++i)
        set[i] = test(i);
    return set;
}

} // namespace

transfer::Categories uploadCategories()
{
    return categoriesWhere([](int) { return true; });
}

transfer::Categories uploadDefaults()
{
    const EditorState fresh;
    return categoriesWhere([&fresh](int i) { return fresh.transfer.upload[i] != 0; });
}

transfer::Categories mergeCategories()
{
    return categoriesWhere([](int i) { return i != fields::kClockCategory; });
}

transfer::Categories downloadCategories()
{
    return categoriesWhere(transfer::isDownloadable);
}

transfer::Categories downloadDefaults()
{
    const EditorState fresh;
    return categoriesWhere([&fresh](int i) { return fresh.transfer.download[i] != 0 && transfer::isDownloadable(i); });
}

int upload(Invocation &in)
{
    const QString path = in.arguments.at(0);
    int refused = kExitDone;
    const std::unique_ptr<InstrumentSession> session = sessionWithFile(in, path, &refused);
    if (!session)
        return refused;
    return uploadImage(in, *session, QStringLiteral("Upload"), QFileInfo(path).fileName());
}

int resetDefaults(Invocation &in)
{
    PortChoice port;
    if (!resolvePort(in, &port))
        return kExitNotFound;
    const QString title = QStringLiteral("Reset all values to Factory Defaults");
    if (!confirmed(in, title,
                   QStringLiteral("WARNING - This will overwrite all values and settings in the Tessaro!\r\n"
                                  "Are you sure that you want to do this?")))
        return kExitRefused;
    InstrumentSession session(in.host, in.console, in.prompts, port);
    recordAs(in, session, archive::operation::kFactoryReset);
    writeDefaultsToRam(session.state);
    return uploadImage(in, session, title, QStringLiteral("the factory defaults"));
}

int download(Invocation &in)
{
    const QString out = in.arguments.at(0);
    // The downloaded settings are laid over a whole configuration, as in the editor.
    const QString basePath = !in.base.isEmpty() ? in.base : QFileInfo::exists(out) ? out : QString();
    ConfigFileImage image;
    if (!basePath.isEmpty()) {
        const ConfigReadResult read = readConfigFile(basePath, image);
        if (!read.ok)
            return refuse(in, describeReadFailure(basePath, read) +
                                  QStringLiteral("\nNothing was sent; give another --base."));
    }
    PortChoice port;
    if (!resolvePort(in, &port))
        return kExitNotFound;
    InstrumentSession session(in.host, in.console, in.prompts, port);
    recordAs(in, session, archive::operation::kDownload, basePath.isEmpty() ? QString() : shownPath(basePath));
    EditorState &s = session.state;
    if (basePath.isEmpty())
        writeDefaultsToRam(s);
    else
        applyConfigFile(s, image);
    const quint8 filePort = s.link.portNumber;
    s.link.portNumber = quint8(port.number);
    for (int i = 1; i <= transfer::kCategories; ++i)
        s.transfer.download[i] = in.categories[i] ? 1 : 0;

    ChosenCategories question(in.console, in.prompts, in.categories);
    const int code = session.run(QStringLiteral("Download"),
                                 [&](InstrumentContext &ctx) { return transfer::download(ctx, question); });
    if (code != kExitDone || session.interrupted()) {
        in.console.note(
            (QFileInfo::exists(out) ? QStringLiteral("%1 was left unchanged.") : QStringLiteral("%1 was not written."))
                .arg(shownPath(out)));
        return code != kExitDone ? code : kExitIncomplete;
    }
    s.link.portNumber = filePort;
    const QString problem = writeConfigFile(s, out);
    if (!problem.isEmpty()) {
        in.console.note(QStringLiteral("The configuration could not be saved to\n%1\n%2.\nAny earlier file of that "
                                       "name was left unchanged.")
                            .arg(shownPath(out), problem));
        return kExitIncomplete;
    }
    in.console.result(QStringLiteral("Download done (Corvane SN# %1). Taken from the instrument: %2. The rest comes "
                                     "from %3. Saved as %4.")
                          .arg(session.serialNumber(), captions(s.transfer.download, transfer::downloadOrder()),
                               basePath.isEmpty() ? QStringLiteral("the factory defaults") : shownPath(basePath),
                               shownPath(out)));
    return kExitDone;
}

int compareWithInstrument(Invocation &in)
{
    const QString path = in.arguments.at(0);
    int refused = kExitDone;
    const std::unique_ptr<InstrumentSession> session = sessionWithFile(in, path, &refused);
    if (!session)
        return refused;
    recordAs(in, *session, archive::operation::kCompare, shownPath(path));
    const ConfigImage mine = ConfigImage::of(session->state);
    ConfigImage instrument;
    const int code = session->run(QStringLiteral("Compare"),
                                  [&](InstrumentContext &ctx) { return transfer::readForCompare(ctx, instrument); });
    if (code != kExitDone)
        return code;
    if (session->interrupted()) {
        in.console.note(QStringLiteral("Compare interrupted: nothing to show."));
        return kExitIncomplete;
    }
    const std::vector<fields::Line> differences = fields::differences(mine, instrument);
    in.console.result(
        fields::comparisonText(differences, differences, QFileInfo(path).fileName(), QStringLiteral("Instrument"))
            .trimmed());
    return kExitDone;
}

int backup(Invocation &in)
{
    PortChoice port;
    if (!resolvePort(in, &port))
        return kExitNotFound;
    const QString title = QStringLiteral("Create System Backup");
    if (!confirmed(in, title,
                   QStringLiteral("WARNING - This will overwrite any previous System Backup data saved in the "
                                  "Tessaro!\r\nAre you sure that you want to do this?")))
        return kExitRefused;
    InstrumentSession session(in.host, in.console, in.prompts, port);
    recordAs(in, session, archive::operation::kBackup);
    const int code = session.run(title, transfer::createBackup, transfer::releaseAfterCopy);
    if (code == kExitDone)
        in.console.result(QStringLiteral("%1 done (Corvane SN# %2). The settings and the configuration memory "
                                         "(addresses 0 to 6143) were copied into the instrument's backup area.")
                              .arg(title, session.serialNumber()));
    return code;
}

int restore(Invocation &in)
{
    PortChoice port;
    if (!resolvePort(in, &port))
        return kExitNotFound;
    const QString title = QStringLiteral("Restore All from Backup");
    if (!confirmed(in, title,
                   QStringLiteral("WARNING - This will overwrite all calibration, alarms and configuration data in "
                                  "the Tessaro!\r\nData will be copied from Backup Memory inside the Tessaro.\r\n"
                                  "Are you sure that you want to do this?")))
        return kExitRefused;
    InstrumentSession session(in.host, in.console, in.prompts, port);
    recordAs(in, session, archive::operation::kRestore);
    const int code = session.run(title, transfer::restoreBackup, transfer::releaseAfterCopy);
    if (code == kExitDone)
        in.console.result(QStringLiteral("%1 done (Corvane SN# %2). The settings and the configuration memory "
                                         "(addresses 0 to 6143) were written from the instrument's backup area.")
                              .arg(title, session.serialNumber()));
    return code;
}

} // namespace cli
