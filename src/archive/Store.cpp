#include "archive/Store.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>
#include <algorithm>

namespace archive::store
{

git::Repository open(const QString &folder, bool create, QString *problem)
{
    git::start();
    git_repository *repo = nullptr;
    const QByteArray path = QDir(folder).absolutePath().toUtf8();
    if (git_repository_open_ext(&repo, path.constData(), GIT_REPOSITORY_OPEN_NO_SEARCH, nullptr) == 0)
        return git::Repository(repo);
    const QString gitDir = QDir(folder).filePath(QStringLiteral(".git"));
    const bool existed = QFileInfo::exists(gitDir);
    QString initProblem;
    if (create && !existed) {
        git_repository_init_options options = GIT_REPOSITORY_INIT_OPTIONS_INIT;
        options.flags = GIT_REPOSITORY_INIT_MKPATH | GIT_REPOSITORY_INIT_NO_REINIT;
        options.initial_head = "main";
        if (git_repository_init_ext(&repo, path.constData(), &options) == 0)
            return git::Repository(repo);
        initProblem = git::lastError();
    }
    // Another program may be making it this moment: it opens a few milliseconds later.
    for (int wait = 0; create && QFileInfo::exists(gitDir) && wait < 20; ++wait) {
        QThread::msleep(50);
        if (git_repository_open_ext(&repo, path.constData(), GIT_REPOSITORY_OPEN_NO_SEARCH, nullptr) == 0)
            return git::Repository(repo);
    }
    if (existed)
        *problem = QStringLiteral("the repository is damaged (%1)").arg(git::lastError());
    else if (create)
        *problem = QStringLiteral("the folder cannot be written (%1)").arg(initProblem);
    else
        *problem = QStringLiteral("there is no archive there");
    return nullptr;
}

std::unique_ptr<QLockFile> lock(git_repository *repo, std::chrono::milliseconds wait, QString *problem,
                                const std::function<bool()> &keepWaiting)
{
    const QString gitDir = QString::fromUtf8(git_repository_path(repo));
    auto lockFile = std::make_unique<QLockFile>(QDir(gitDir).filePath(QStringLiteral("corvane-archive.lock")));
    // In short steps, so that whoever waits can stop waiting.
    constexpr qint64 kStepMs = 100;
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        const qint64 left = wait.count() - waited.elapsed();
        if (lockFile->tryLock(int(std::clamp<qint64>(left, 0, kStepMs))))
            return lockFile;
        if (lockFile->error() != QLockFile::LockFailedError || left <= kStepMs || (keepWaiting && !keepWaiting()))
            break;
    }
    switch (lockFile->error()) {
    case QLockFile::LockFailedError:
        // As long as it was waited for: less when the waiting was stopped (quitting).
        *problem = QStringLiteral("another program kept it busy for more than %1 seconds")
                       .arg(double(std::min<qint64>(waited.elapsed(), wait.count())) / 1000.0, 0, 'g', 2);
        break;
    case QLockFile::PermissionError:
        *problem = QStringLiteral("the folder cannot be written");
        break;
    default:
        *problem = QStringLiteral("its lock file cannot be made");
        break;
    }
    return nullptr;
}

git::Tree headTree(git_repository *repo, QString *problem)
{
    if (git_repository_head_unborn(repo) == 1)
        return nullptr;
    QString damage;
    git::Commit head = git::commitOf(repo, "HEAD", &damage);
    if (!head) {
        *problem = QStringLiteral("the repository is damaged (%1)")
                       .arg(damage.isEmpty() ? git::lastError(QStringLiteral("its newest commit is missing")) : damage);
        return nullptr;
    }
    git_tree *tree = nullptr;
    if (git_commit_tree(&tree, head.get()) != 0) {
        *problem = QStringLiteral("the repository is damaged (%1)").arg(git::lastError());
        return nullptr;
    }
    return git::Tree(tree);
}

QString imagePath(const QString &folder, const QString &id)
{
    return folder + QLatin1Char('/') + id + QStringLiteral(".cfg");
}

QString metadataPath(const QString &folder, const QString &id)
{
    return folder + QLatin1Char('/') + id + QStringLiteral(".json");
}

} // namespace archive::store
