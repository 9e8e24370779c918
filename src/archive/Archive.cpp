// Recording an entry: two new files, added and committed under the archive's lock.
#include "archive/Archive.h"

#include "archive/Store.h"
#include "core/ConfigFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QStandardPaths>
#include <QSysInfo>

namespace archive
{

namespace
{

QString saveFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return reason;
    }
    return file.commit() ? QString() : file.errorString();
}

// The observation with what the caller left empty filled in from this PC.
Observation completed(const Observation &given)
{
    Observation o = given;
    if (!o.time.isValid())
        o.time = QDateTime::currentDateTimeUtc();
    if (o.user.isEmpty())
        o.user = qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
    if (o.host.isEmpty())
        o.host = QSysInfo::machineHostName();
    if (o.editorVersion.isEmpty())
        o.editorVersion = QCoreApplication::applicationVersion();
    return o;
}

QString newId(const QDateTime &time)
{
    return time.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss.zzz'Z'")) + QLatin1Char('-') +
           QStringLiteral("%1").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
}

QByteArray configurationText(const Observation &o)
{
    EditorState state;
    o.image.applyTo(state);
    return configFileText(state, o.time.toLocalTime());
}

QByteArray commitMessage(const Observation &o)
{
    QString text = QStringLiteral("%1 %2, instrument %3\n\nKnown: %4.\n")
                       .arg(o.operation, outcomeName(o.outcome), o.identity.serialNumber, o.known.describe());
    if (o.written.any())
        text += QStringLiteral("Written: %1.\n").arg(o.written.describe());
    return text.toUtf8();
}

// Commits the files on HEAD: the new tree is the newest entries' tree with the
// files added, whatever the index on disk holds. The index is written afterwards
// so that git tools see a clean working folder.
QString commitFiles(git_repository *repo, const git_tree *head, const QStringList &paths, const Observation &o)
{
    git_index *rawIndex = nullptr;
    if (git_repository_index(&rawIndex, repo) != 0)
        return git::lastError();
    git::Index index(rawIndex);
    if ((head ? git_index_read_tree(rawIndex, head) : git_index_clear(rawIndex)) != 0)
        return git::lastError();
    for (const QString &p : paths)
        if (git_index_add_bypath(rawIndex, p.toUtf8().constData()) != 0)
            return git::lastError();
    git_oid treeId, commitId;
    git_tree *tree = nullptr;
    git_signature *who = nullptr;
    QString problem;
    git::Commit parent = git::commitOf(repo, "HEAD", &problem);
    const QByteArray name = o.user.isEmpty() ? QByteArray("corvane") : o.user.toUtf8();
    const QByteArray mail = name + '@' + (o.host.isEmpty() ? QByteArray("localhost") : o.host.toUtf8());
    const git_commit *parents[] = {parent.get()};
    if (git_index_write_tree(&treeId, rawIndex) != 0 || git_tree_lookup(&tree, repo, &treeId) != 0 ||
        git_signature_now(&who, name.constData(), mail.constData()) != 0 ||
        git_commit_create(&commitId, repo, "HEAD", who, who, "UTF-8", commitMessage(o).constData(), tree,
                          parent ? 1 : 0, parents) != 0)
        problem = git::lastError();
    else
        git_index_write(rawIndex); // the entry is recorded either way
    git_tree_free(tree);
    git_signature_free(who);
    return problem;
}

} // namespace

Archive::Archive(const QString &folder) : m_folder(folder) {}

QString Archive::defaultFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).filePath(QStringLiteral("archive"));
}

Answer<QString> Archive::record(const Observation &given) const
{
    const Observation o = completed(given);
    Answer<QString> answer;
    const auto fail = [&](const QString &why) {
        answer.problem = QStringLiteral("The instrument archive in %1 did not record the %2 of instrument %3: %4. "
                                        "Nothing already in the archive was changed.")
                             .arg(shownPath(m_folder), o.operation, o.identity.serialNumber, why);
        return answer;
    };
    QString problem;
    git::Repository repo = store::open(m_folder, true, &problem);
    if (!repo)
        return fail(problem);
    const auto lock = store::lock(repo.get(), lockWait, &problem);
    if (!lock)
        return fail(problem);
    const git::Tree head = store::headTree(repo.get(), &problem);
    if (!problem.isEmpty())
        return fail(problem);

    const QString folder = instrumentFolder(o.identity.serialNumber);
    const QString id = newId(o.time);
    const QDir root(m_folder);
    if (!root.mkpath(folder))
        return fail(QStringLiteral("the folder %1 cannot be made").arg(folder));
    const QStringList paths{store::imagePath(folder, id), store::metadataPath(folder, id)};
    const QByteArray contents[] = {configurationText(o), entryJson(o, id)};
    const auto write = writeFile ? writeFile : saveFile;
    for (int i = 0; i < paths.size() && problem.isEmpty(); ++i)
        problem = write(root.filePath(paths.at(i)), contents[i]);
    if (problem.isEmpty())
        problem = commitFiles(repo.get(), head.get(), paths, o);
    if (!problem.isEmpty()) {
        for (const QString &p : paths)
            QFile::remove(root.filePath(p));
        return fail(problem);
    }
    answer.value = id;
    return answer;
}

} // namespace archive
