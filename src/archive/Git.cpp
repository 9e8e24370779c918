#include "archive/Git.h"

#include <mutex>

namespace archive::git
{

void start()
{
    static std::once_flag once;
    std::call_once(once, [] { git_libgit2_init(); });
}

QString lastError(const QString &fallback)
{
    const git_error *e = git_error_last();
    if (!e || !e->message || !*e->message)
        return fallback;
    return QString::fromUtf8(e->message).trimmed();
}

Commit commitOf(git_repository *repo, const char *refName, QString *problem)
{
    git_oid id;
    if (git_reference_name_to_id(&id, repo, refName) != 0)
        return nullptr;
    git_commit *c = nullptr;
    if (git_commit_lookup(&c, repo, &id) != 0) {
        if (problem)
            *problem = lastError();
        return nullptr;
    }
    return Commit(c);
}

QByteArray blobText(git_repository *repo, const git_tree *tree, const QString &path)
{
    git_tree_entry *entry = nullptr;
    if (git_tree_entry_bypath(&entry, tree, path.toUtf8().constData()) != 0)
        return {};
    TreeEntry owned(entry);
    git_blob *blob = nullptr;
    if (git_blob_lookup(&blob, repo, git_tree_entry_id(entry)) != 0)
        return {};
    Blob ownedBlob(blob);
    return QByteArray(static_cast<const char *>(git_blob_rawcontent(blob)), int(git_blob_rawsize(blob)));
}

} // namespace archive::git
