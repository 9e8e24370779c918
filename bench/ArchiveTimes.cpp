#include "ArchiveTimes.h"

#include "archive/Archive.h"
#include "core/ConfigFile.h"
#include "kit/ArchiveSamples.h"

#include <git2.h>

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <ctime>
#include <map>

namespace
{
const QDateTime kStart(QDate(2024, 3, 1), QTime(8, 0), Qt::UTC);

QString serialOf(int instrument)
{
    return QString::number(60000000 + instrument);
}

archive::Observation sample(int n, int instruments)
{
    static const QString operations[] = {archive::operation::kUpload, archive::operation::kDownload,
                                         archive::operation::kVerify};
    archive::Parts known = archive::Parts::all();
    if (n % 3 == 1) {
        known = {};
        known.settings = true;
    }
    return kit::sampleObservation(serialOf(n % instruments), operations[n % 3], known, kStart.addSecs(600 * n),
                                  n / instruments % 7);
}

// Writes the archive's repository straight from blobs and trees: the entries as
// recording them one by one would leave them, without the hours that takes.
bool buildLargeArchive(const QString &folder, int entries, int instruments, QString *error)
{
    git_libgit2_init();
    git_repository *repo = nullptr;
    git_repository_init_options options = GIT_REPOSITORY_INIT_OPTIONS_INIT;
    options.flags = GIT_REPOSITORY_INIT_MKPATH;
    options.initial_head = "main";
    if (git_repository_init_ext(&repo, folder.toUtf8().constData(), &options) != 0) {
        *error = QString::fromUtf8(git_error_last()->message);
        return false;
    }
    std::map<QString, git_treebuilder *> folders;
    std::map<int, git_oid> images;
    bool ok = true;
    for (int n = 0; n < entries && ok; ++n) {
        const archive::Observation o = sample(n, instruments);
        const int variant = n / instruments % 7;
        if (!images.count(variant)) {
            EditorState state;
            o.image.applyTo(state);
            const QByteArray text = configFileText(state, o.time);
            ok = git_blob_create_from_buffer(&images[variant], repo, text.constData(), size_t(text.size())) == 0;
        }
        const QString id = o.time.toString(QStringLiteral("yyyyMMdd'T'HHmmss.zzz'Z'")) +
                           QStringLiteral("-%1").arg(n, 8, 16, QLatin1Char('0'));
        const QByteArray json = archive::entryJson(o, id);
        git_oid jsonId;
        git_treebuilder *&builder = folders[archive::instrumentFolder(o.identity.serialNumber).section('/', 1)];
        ok = ok && (builder || git_treebuilder_new(&builder, repo, nullptr) == 0) &&
             git_blob_create_from_buffer(&jsonId, repo, json.constData(), size_t(json.size())) == 0 &&
             git_treebuilder_insert(nullptr, builder, (id + QStringLiteral(".json")).toUtf8().constData(), &jsonId,
                                    GIT_FILEMODE_BLOB) == 0 &&
             git_treebuilder_insert(nullptr, builder, (id + QStringLiteral(".cfg")).toUtf8().constData(),
                                    &images[variant], GIT_FILEMODE_BLOB) == 0;
    }
    git_treebuilder *all = nullptr, *root = nullptr;
    git_oid treeId, commitId;
    ok = ok && git_treebuilder_new(&all, repo, nullptr) == 0 && git_treebuilder_new(&root, repo, nullptr) == 0;
    for (auto &[name, builder] : folders) {
        ok = ok && git_treebuilder_write(&treeId, builder) == 0 &&
             git_treebuilder_insert(nullptr, all, name.toUtf8().constData(), &treeId, GIT_FILEMODE_TREE) == 0;
        git_treebuilder_free(builder);
    }
    git_tree *tree = nullptr;
    git_signature *who = nullptr;
    ok = ok && git_treebuilder_write(&treeId, all) == 0 &&
         git_treebuilder_insert(nullptr, root, "instruments", &treeId, GIT_FILEMODE_TREE) == 0 &&
         git_treebuilder_write(&treeId, root) == 0 && git_tree_lookup(&tree, repo, &treeId) == 0 &&
         git_signature_now(&who, "bench", "bench@localhost") == 0 &&
         git_commit_create(&commitId, repo, "HEAD", who, who, nullptr, "bench entries\n", tree, 0, nullptr) == 0;
    // The index as a working folder that holds every entry has it.
    git_index *index = nullptr;
    ok = ok && git_repository_index(&index, repo) == 0 && git_index_read_tree(index, tree) == 0 &&
         git_index_write(index) == 0;
    git_index_free(index);
    if (!ok)
        *error = QString::fromUtf8(git_error_last() ? git_error_last()->message : "unknown error");
    git_signature_free(who);
    git_tree_free(tree);
    git_treebuilder_free(all);
    git_treebuilder_free(root);
    git_repository_free(repo);
    return ok;
}
} // namespace

ArchiveTimes measureArchiveTimes(int entries, int instruments, int records)
{
    ArchiveTimes t;
    t.entries = entries;
    t.instruments = instruments;
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("archive"));
    QElapsedTimer timer;
    timer.start();
    if (!buildLargeArchive(folder, entries, instruments, &t.error))
        return t;
    t.buildSeconds = timer.nsecsElapsed() / 1e9;
    const archive::Archive a(folder);

    timer.restart();
    const auto list = a.instruments();
    t.listSeconds = timer.nsecsElapsed() / 1e9;
    if (!list.ok() || list.value.size() != instruments) {
        t.error = list.ok() ? QStringLiteral("the list holds %1 instruments").arg(list.value.size()) : list.problem;
        return t;
    }
    timer.restart();
    const auto log = a.entries(serialOf(0));
    t.logSeconds = timer.nsecsElapsed() / 1e9;
    if (log.value.size() < 2) {
        t.error = log.ok() ? QStringLiteral("the log holds too few entries") : log.problem;
        return t;
    }
    timer.restart();
    const auto diff = a.differences(serialOf(0), log.value.last().id, log.value.first().id);
    t.compareSeconds = timer.nsecsElapsed() / 1e9;

    timer.restart();
    const std::clock_t cpuStart = std::clock();
    for (int i = 0; i < records; ++i) {
        const auto recorded = a.record(sample(entries + i, instruments));
        if (!recorded.ok()) {
            t.error = recorded.problem;
            return t;
        }
    }
    t.recordSeconds = timer.nsecsElapsed() / 1e9 / records;
    t.recordCpuSeconds = double(std::clock() - cpuStart) / CLOCKS_PER_SEC / records;
    t.ok = diff.ok();
    if (!t.ok)
        t.error = diff.problem;
    return t;
}
