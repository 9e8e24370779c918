// Opening, locking and reading the archive's repository: what recording, the
// queries and synchronising share.
#pragma once

#include "archive/Git.h"

#include <QLockFile>
#include <QString>
#include <chrono>
#include <functional>
#include <memory>

namespace archive::store
{

// The repository in `folder`, created (with its entries on "main") when `create`
// and there is none. Null with `problem` set when it cannot be opened or made.
git::Repository open(const QString &folder, bool create, QString *problem);

// Waits up to `wait` for other programs writing the same archive. Null with
// `problem` set when they do not finish, or when `keepWaiting` (asked now and then)
// answers false first.
std::unique_ptr<QLockFile> lock(git_repository *repo, std::chrono::milliseconds wait, QString *problem,
                                const std::function<bool()> &keepWaiting = {});

// The tree of the newest entries; null for an archive without entries, or with
// `problem` set when the repository is damaged.
git::Tree headTree(git_repository *repo, QString *problem);

// `id`'s image and metadata file names in `folder` ("instruments/123/<id>.cfg").
QString imagePath(const QString &folder, const QString &id);
QString metadataPath(const QString &folder, const QString &id);

} // namespace archive::store
