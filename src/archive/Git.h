// Thin owners of libgit2 objects and its error text, for the archive's own use.
#pragma once

#include <git2.h>

#include <QString>
#include <memory>

namespace archive::git
{

// Starts libgit2 once for the program (it stays started until the program ends).
void start();

// The last libgit2 error in words, or `fallback` when libgit2 gave none.
QString lastError(const QString &fallback = QStringLiteral("unknown error"));

template <typename T, void (*Free)(T *)> struct Deleter {
    void operator()(T *p) const { Free(p); }
};
template <typename T, void (*Free)(T *)> using Owned = std::unique_ptr<T, Deleter<T, Free>>;

using Repository = Owned<git_repository, git_repository_free>;
using Commit = Owned<git_commit, git_commit_free>;
using Tree = Owned<git_tree, git_tree_free>;
using TreeEntry = Owned<git_tree_entry, git_tree_entry_free>;
using Blob = Owned<git_blob, git_blob_free>;
using Index = Owned<git_index, git_index_free>;
using Reference = Owned<git_reference, git_reference_free>;
using Signature = Owned<git_signature, git_signature_free>;
using Remote = Owned<git_remote, git_remote_free>;
using Object = Owned<git_object, git_object_free>;

// The branch every archive keeps its entries on.
inline constexpr char kBranch[] = "refs/heads/main";
inline constexpr char kWorkshopBranch[] = "refs/remotes/workshop/main";

// The commit a reference names, or null (`problem` says why when the reference
// exists but its commit cannot be read).
Commit commitOf(git_repository *repo, const char *refName, QString *problem);

// The text of the blob at `path` in `tree`, or a null QByteArray.
QByteArray blobText(git_repository *repo, const git_tree *tree, const QString &path);

} // namespace archive::git
