// Sharing the archive with a workshop repository: fetch, merge, push. Entries are
// files that are only ever added, so the merge of two archives never conflicts.
// Each network step runs on a thread of its own and is given up after its time-out:
// libgit2 has no time-out of its own for a host that does not answer.
#include "archive/Archive.h"

#include "archive/KnownHosts.h"
#include "archive/Store.h"
#include "core/ConfigFile.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace archive
{

namespace
{

struct NetworkJob {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    QString problem;
    std::atomic<bool> abandoned{false};
    int credentialTries = 0;
    QString rejected;      // the workshop repository's reason for refusing the push
    QStringList hostNames; // the ssh server as known_hosts names it
};

int credentials(git_credential **out, const char *, const char *user, unsigned int allowed, void *payload)
{
    auto *job = static_cast<NetworkJob *>(payload);
    const char *name = user && *user ? user : "git";
    if (job->abandoned || ++job->credentialTries > 2) {
        git_error_set_str(GIT_ERROR_NET, "the ssh agent has no key the workshop repository accepts");
        return GIT_EUSER;
    }
    if (allowed & GIT_CREDENTIAL_USERNAME)
        return git_credential_username_new(out, name);
    if (allowed & GIT_CREDENTIAL_SSH_KEY)
        return git_credential_ssh_key_from_agent(out, name);
    return GIT_PASSTHROUGH;
}

// libgit2 1.5 accepts any ssh host key: the key must be the one known_hosts names.
int certificate(git_cert *cert, int, const char *host, void *payload)
{
    auto *job = static_cast<NetworkJob *>(payload);
    if (cert->cert_type != GIT_CERT_HOSTKEY_LIBSSH2)
        return GIT_PASSTHROUGH;
    const auto *hostKey = reinterpret_cast<const git_cert_hostkey *>(cert);
    const QStringList names = job->hostNames.isEmpty() ? QStringList{QString::fromUtf8(host)} : job->hostNames;
    const QByteArray key =
        hostKey->type & GIT_CERT_SSH_RAW ? QByteArray(hostKey->hostkey, int(hostKey->hostkey_len)) : QByteArray();
    const HostKey known = key.isEmpty() ? HostKey::Unknown : checkHostKey(knownHostsFiles(), names, key);
    if (known == HostKey::Known)
        return 0;
    const QByteArray text =
        known == HostKey::Changed
            ? QStringLiteral("the host key of %1 is not the one ~/.ssh/known_hosts names for it: someone may be "
                             "posing as the server")
                  .arg(names.first())
                  .toUtf8()
            : QStringLiteral("the host key of %1 is not in ~/.ssh/known_hosts: connect once with ssh to check "
                             "and accept it")
                  .arg(names.first())
                  .toUtf8();
    git_error_set_str(GIT_ERROR_SSH, text.constData());
    return GIT_EUSER;
}

int progress(const git_indexer_progress *, void *payload)
{
    return static_cast<NetworkJob *>(payload)->abandoned ? -1 : 0;
}

int pushStatus(const char *, const char *status, void *payload)
{
    if (status)
        static_cast<NetworkJob *>(payload)->rejected = QString::fromUtf8(status);
    return 0;
}

git_remote_callbacks callbacks(NetworkJob &job)
{
    git_remote_callbacks c = GIT_REMOTE_CALLBACKS_INIT;
    c.credentials = credentials;
    c.transfer_progress = progress;
    c.push_update_reference = pushStatus;
    c.certificate_check = certificate;
    c.payload = &job;
    return c;
}

// Fetches the workshop's "main" into refs/remotes/workshop/main, or pushes "main" to it.
QString transfer(NetworkJob &job, const QByteArray &gitDir, const QByteArray &url, bool push)
{
    git_repository *rawRepo = nullptr;
    git_remote *rawRemote = nullptr;
    if (git_repository_open(&rawRepo, gitDir.constData()) != 0)
        return git::lastError();
    git::Repository repo(rawRepo);
    if (git_remote_create_anonymous(&rawRemote, rawRepo, url.constData()) != 0)
        return git::lastError();
    git::Remote remote(rawRemote);
    char fetchSpec[] = "+refs/heads/main:refs/remotes/workshop/main";
    char pushSpec[] = "refs/heads/main:refs/heads/main";
    char *refspec[] = {push ? pushSpec : fetchSpec};
    const git_strarray refspecs{refspec, 1};
    int failed = 0;
    if (push) {
        git_push_options options = GIT_PUSH_OPTIONS_INIT;
        options.callbacks = callbacks(job);
        failed = git_remote_push(rawRemote, &refspecs, &options);
    } else {
        git_fetch_options options = GIT_FETCH_OPTIONS_INIT;
        options.callbacks = callbacks(job);
        options.download_tags = GIT_REMOTE_DOWNLOAD_TAGS_NONE;
        options.update_fetchhead = 0;
        failed = git_remote_fetch(rawRemote, &refspecs, &options, "corvane: fetch from the workshop repository");
    }
    if (failed)
        return git::lastError();
    return job.rejected;
}

// Runs one network step on its own thread; gives it up after `timeout` (the thread
// then ends on its own, its result unused).
QString bounded(const QByteArray &gitDir, const QByteArray &url, bool push, std::chrono::milliseconds timeout)
{
    auto job = std::make_shared<NetworkJob>();
    job->hostNames = hostNames(QString::fromUtf8(url));
    std::thread([job, gitDir, url, push] {
        const QString problem = transfer(*job, gitDir, url, push);
        const std::lock_guard<std::mutex> lock(job->mutex);
        job->problem = problem;
        job->finished = true;
        job->done.notify_all();
    }).detach();
    std::unique_lock<std::mutex> lock(job->mutex);
    if (job->done.wait_for(lock, timeout, [&] { return job->finished; }))
        return job->problem;
    job->abandoned = true;
    return QStringLiteral("it did not answer within %1 seconds").arg(timeout.count() / 1000.0);
}

bool isUrl(const QString &remote)
{
    static const QRegularExpression scpLike(QStringLiteral("^[^/\\\\]+@[^/\\\\:]+:"));
    return remote.contains(QLatin1String("://")) || scpLike.match(remote).hasMatch();
}

// The workshop repository as libgit2 reaches it; a new empty folder becomes a bare repository.
QByteArray workshopUrl(const QString &remote, QString *problem)
{
    if (isUrl(remote))
        return remote.toUtf8();
    const QDir dir(remote);
    if (!dir.exists()) {
        *problem = QStringLiteral("the folder does not exist (is the share connected?)");
        return {};
    }
    const QByteArray path = dir.absolutePath().toUtf8();
    if (dir.isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
        git_repository *repo = nullptr;
        git_repository_init_options options = GIT_REPOSITORY_INIT_OPTIONS_INIT;
        options.flags = GIT_REPOSITORY_INIT_BARE;
        options.initial_head = "main";
        if (git_repository_init_ext(&repo, path.constData(), &options) != 0) {
            *problem = QStringLiteral("a repository cannot be made in the empty folder (%1)").arg(git::lastError());
            return {};
        }
        git_repository_free(repo);
    }
    return path;
}

int entryCount(git_repository *repo, const git_oid *commitId)
{
    git_commit *commit = nullptr;
    git_tree *tree = nullptr;
    int count = 0;
    if (commitId && git_commit_lookup(&commit, repo, commitId) == 0 && git_commit_tree(&tree, commit) == 0)
        git_tree_walk(
            tree, GIT_TREEWALK_PRE,
            [](const char *, const git_tree_entry *e, void *n) {
                if (QByteArray(git_tree_entry_name(e)).endsWith(".json"))
                    ++*static_cast<int *>(n);
                return 0;
            },
            &count);
    git_tree_free(tree);
    git_commit_free(commit);
    return count;
}

// The commit that holds both `local` and `remote`: one of them when it already
// holds the other, else a new merge commit.
QString mergedCommit(git_repository *repo, const git_oid &local, const git_oid &remote, git_oid *out)
{
    if (git_oid_equal(&local, &remote) || git_graph_descendant_of(repo, &local, &remote) == 1) {
        *out = local;
        return {};
    }
    if (git_graph_descendant_of(repo, &remote, &local) == 1) {
        *out = remote;
        return {};
    }
    git::Commit ours = git::commitOf(repo, git::kBranch, nullptr);
    git::Commit theirs = git::commitOf(repo, git::kWorkshopBranch, nullptr);
    git_index *rawIndex = nullptr;
    if (!ours || !theirs || git_merge_commits(&rawIndex, repo, ours.get(), theirs.get(), nullptr) != 0)
        return git::lastError();
    git::Index merged(rawIndex);
    if (git_index_has_conflicts(rawIndex))
        return QStringLiteral("the workshop repository holds a file of the same name with other contents");
    git_oid treeId;
    git_tree *tree = nullptr;
    git_signature *who = nullptr;
    const git_commit *parents[] = {ours.get(), theirs.get()};
    QString problem;
    if (git_index_write_tree_to(&treeId, rawIndex, repo) != 0 || git_tree_lookup(&tree, repo, &treeId) != 0 ||
        git_signature_now(&who, "corvane", "corvane@localhost") != 0 ||
        git_commit_create(out, repo, nullptr, who, who, "UTF-8", "Entries from the workshop repository\n", tree, 2,
                          parents) != 0)
        problem = git::lastError();
    git_tree_free(tree);
    git_signature_free(who);
    return problem;
}

// Brings the workshop's entries into the archive's branch and working folder.
QString merge(git_repository *repo, SyncReport &report)
{
    git_oid remote, local, target;
    const bool unborn = git_reference_name_to_id(&local, repo, git::kBranch) != 0;
    if (git_reference_name_to_id(&remote, repo, git::kWorkshopBranch) != 0) {
        report.sent = unborn ? 0 : entryCount(repo, &local); // the workshop repository holds nothing yet
        return {};
    }
    if (unborn)
        target = remote;
    else if (const QString problem = mergedCommit(repo, local, remote, &target); !problem.isEmpty())
        return problem;
    report.received = entryCount(repo, &target) - (unborn ? 0 : entryCount(repo, &local));
    report.sent = entryCount(repo, &target) - entryCount(repo, &remote);
    if (!unborn && git_oid_equal(&target, &local))
        return {};
    git_object *tree = nullptr;
    git::Commit commit;
    git_commit *rawCommit = nullptr;
    if (git_commit_lookup(&rawCommit, repo, &target) != 0)
        return git::lastError();
    commit.reset(rawCommit);
    git_checkout_options options = GIT_CHECKOUT_OPTIONS_INIT;
    options.checkout_strategy = GIT_CHECKOUT_SAFE;
    git_reference *ref = nullptr;
    QString problem;
    if (git_commit_tree(reinterpret_cast<git_tree **>(&tree), rawCommit) != 0 ||
        git_checkout_tree(repo, tree, &options) != 0 ||
        git_reference_create(&ref, repo, git::kBranch, &target, 1, "corvane: entries from the workshop") != 0)
        problem = git::lastError();
    git_reference_free(ref);
    git_object_free(tree);
    return problem;
}

} // namespace

Answer<SyncReport> Archive::synchronise(const QString &remote, std::chrono::milliseconds timeout) const
{
    Answer<SyncReport> answer;
    const auto fail = [&](const QString &step, const QString &why) {
        answer.problem = QStringLiteral("The instrument archive in %1 was not synchronised with %2: %3 %4. Nothing "
                                        "already in the archive was changed.")
                             .arg(shownPath(m_folder), remote, step, why);
        return answer;
    };
    QString problem;
    git::Repository repo = store::open(m_folder, true, &problem);
    if (repo)
        store::headTree(repo.get(), &problem);
    if (!problem.isEmpty())
        return fail(QStringLiteral("this archive:"), problem);
    const QByteArray url = workshopUrl(remote, &problem);
    if (!problem.isEmpty())
        return fail(QStringLiteral("the workshop repository cannot be reached:"), problem);
    const QByteArray gitDir = git_repository_path(repo.get());
    git_reference_remove(repo.get(), git::kWorkshopBranch); // what an earlier sync fetched, perhaps elsewhere
    problem = bounded(gitDir, url, false, timeout);
    if (!problem.isEmpty())
        return fail(QStringLiteral("the workshop repository cannot be reached:"), problem);
    {
        const auto lock = store::lock(repo.get(), lockWait, &problem);
        if (lock)
            problem = merge(repo.get(), answer.value);
        if (!problem.isEmpty())
            return fail(QStringLiteral("its entries could not be merged:"), problem);
    }
    if (git_repository_head_unborn(repo.get()) == 1 || answer.value.sent == 0)
        return answer;
    problem = bounded(gitDir, url, true, timeout);
    if (!problem.isEmpty()) {
        answer.problem = QStringLiteral("The instrument archive in %1 received %2 entries from %3, but its own were "
                                        "not sent: %4. Synchronise again.")
                             .arg(shownPath(m_folder))
                             .arg(answer.value.received)
                             .arg(remote, problem);
    }
    return answer;
}

} // namespace archive
