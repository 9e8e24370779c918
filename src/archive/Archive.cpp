// Recording an entry: two new files, added and committed under the archive's lock.
#include "archive/Archive.h"

#include "archive/Store.h"
#include "core/ConfigFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QSysInfo>
#include <memory>
#include <mutex>

namespace archive
{

namespace
{

// The working folder's copy of an entry's file. A new name each time, and the
// entry itself is read from the repository: a write cut short is simply removed.
QString saveFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::NewOnly) || file.write(bytes) != bytes.size() || !file.flush())
        return file.errorString();
    return QString();
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

// `base` (a tree, or null for none) with `files` added in the folder `path`: only
// the trees on the way to it are read and written again.
bool treeWith(git_repository *repo, const git_tree *base, QStringList path,
              const QList<QPair<QByteArray, git_oid>> &files, git_oid *out)
{
    git_treebuilder *raw = nullptr;
    if (git_treebuilder_new(&raw, repo, base) != 0)
        return false;
    const std::unique_ptr<git_treebuilder, void (*)(git_treebuilder *)> builder(raw, git_treebuilder_free);
    if (path.isEmpty()) {
        for (const auto &[name, id] : files)
            if (git_treebuilder_insert(nullptr, raw, name.constData(), &id, GIT_FILEMODE_BLOB) != 0)
                return false;
        return git_treebuilder_write(out, raw) == 0;
    }
    const QByteArray name = path.takeFirst().toUtf8();
    git::Tree sub;
    if (const git_tree_entry *entry = base ? git_tree_entry_byname(base, name.constData()) : nullptr) {
        git_tree *rawSub = nullptr;
        if (git_tree_entry_type(entry) == GIT_OBJECT_TREE &&
            git_tree_lookup(&rawSub, repo, git_tree_entry_id(entry)) == 0)
            sub.reset(rawSub);
    }
    git_oid subId;
    return treeWith(repo, sub.get(), path, files, &subId) &&
           git_treebuilder_insert(nullptr, raw, name.constData(), &subId, GIT_FILEMODE_TREE) == 0 &&
           git_treebuilder_write(out, raw) == 0;
}

// Commits the entry's files on HEAD: the newest tree with the files added in
// `folder`, whatever the index holds. The index is brought along afterwards so
// that git tools see a clean working folder.
QString commitFiles(git_repository *repo, const git_tree *head, const QString &folder, const QStringList &paths,
                    const QByteArray *contents, const Observation &o)
{
    QList<QPair<QByteArray, git_oid>> files;
    for (int i = 0; i < paths.size(); ++i) {
        git_oid id;
        if (git_blob_create_from_buffer(&id, repo, contents[i].constData(), size_t(contents[i].size())) != 0)
            return git::lastError();
        files.append({paths[i].section(QLatin1Char('/'), -1).toUtf8(), id});
    }
    git_oid treeId, commitId;
    git_tree *tree = nullptr;
    git_signature *who = nullptr;
    QString problem;
    git::Commit parent = git::commitOf(repo, "HEAD", &problem);
    const QByteArray name = o.user.isEmpty() ? QByteArray("corvane") : o.user.toUtf8();
    const QByteArray mail = name + '@' + (o.host.isEmpty() ? QByteArray("localhost") : o.host.toUtf8());
    const git_commit *parents[] = {parent.get()};
    if (!treeWith(repo, head, folder.split(QLatin1Char('/')), files, &treeId) ||
        git_tree_lookup(&tree, repo, &treeId) != 0 ||
        git_signature_now(&who, name.constData(), mail.constData()) != 0 ||
        git_commit_create(&commitId, repo, "HEAD", who, who, "UTF-8", commitMessage(o).constData(), tree,
                          parent ? 1 : 0, parents) != 0)
        problem = git::lastError();
    git_tree_free(tree);
    git_signature_free(who);
    git_index *index = nullptr;
    if (problem.isEmpty() && git_repository_index(&index, repo) == 0) {
        // The entry is recorded either way: a stale index only shows in "git status".
        bool added = git_index_read(index, 0) == 0;
        for (const QString &p : paths)
            added = added && git_index_add_bypath(index, p.toUtf8().constData()) == 0;
        if (added && git_index_version(index) < 4)
            git_index_set_version(index, 4); // a third of the size: written at every entry
        if (added)
            git_index_write(index);
        else
            git_index_read(index, 1); // as it is on disk again
        git_index_free(index);
    }
    return problem;
}

} // namespace

struct Archive::Open {
    std::mutex mutex;
    git::Repository repo;
};

Archive::Archive(const QString &folder) : m_folder(folder), m_open(std::make_shared<Open>()) {}

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
    const std::lock_guard<std::mutex> keep(m_open->mutex);
    git::Repository &repo = m_open->repo;
    if (!repo)
        repo = store::open(m_folder, true, &problem);
    if (!repo)
        return fail(problem);
    const auto lock = store::lock(repo.get(), lockWait, &problem, keepWaiting);
    if (!lock)
        return fail(problem);
    const git::Tree head = store::headTree(repo.get(), &problem);
    if (!problem.isEmpty()) {
        repo.reset(); // opened afresh next time, in case it was mended
        return fail(problem);
    }

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
        problem = commitFiles(repo.get(), head.get(), folder, paths, contents, o);
    if (!problem.isEmpty()) {
        for (const QString &p : paths)
            QFile::remove(root.filePath(p));
        return fail(problem);
    }
    answer.value = id;
    return answer;
}

} // namespace archive
