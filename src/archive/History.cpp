// Reading the archive: the instruments, an instrument's entries, an entry's image
// and what differs between two entries. Everything is read from the newest commit,
// so a half-written file never shows.
#include "archive/Archive.h"

#include "archive/Store.h"
#include "core/ConfigFile.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cstring>
#include <optional>

namespace archive
{

namespace
{

// The entries' ids in an instrument's folder of `tree`, oldest first.
QStringList entryIds(const git_tree *folder)
{
    QStringList ids;
    const size_t count = git_tree_entrycount(folder);
    for (size_t i = 0; i < count; ++i) {
        const QString name = QString::fromUtf8(git_tree_entry_name(git_tree_entry_byindex(folder, i)));
        if (name.endsWith(QLatin1String(".json")))
            ids << name.chopped(5);
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

git::Tree subtree(git_repository *repo, const git_tree *tree, const QString &path)
{
    git_tree_entry *entry = nullptr;
    if (git_tree_entry_bypath(&entry, tree, path.toUtf8().constData()) != 0)
        return nullptr;
    git::TreeEntry owned(entry);
    git_tree *sub = nullptr;
    if (git_tree_entry_type(entry) != GIT_OBJECT_TREE || git_tree_lookup(&sub, repo, git_tree_entry_id(entry)) != 0)
        return nullptr;
    return git::Tree(sub);
}

// An instrument's entries as stored, oldest first, and the images on demand.
struct Stored {
    git::Repository repo; // before the folder: the folder's tree is freed first
    git::Tree folder;
    QList<Entry> entries;
    // Entries of instruments whose serial number reads 0 or is not known may each be
    // another unit: one never stands in for another.
    bool standalone = false;

    // An entry's image; none when its file is missing or damaged: such an entry then
    // knows nothing (its parts are never taken from an image of zeros).
    std::optional<ConfigImage> image(const QString &id) const
    {
        ConfigFileImage file;
        const QByteArray text = git::blobText(repo.get(), folder.get(), id + QStringLiteral(".cfg"));
        if (text.isNull() || !parseConfigFile(text, file).ok)
            return std::nullopt;
        ConfigImage image = ConfigImage::of(file);
        image.system[layout::kShownConfiguration] = file.system[layout::kShownConfiguration];
        return image;
    }

    // What entry `i` knows of the instrument, as far as its image can be read.
    Parts knownBy(int i, const std::optional<ConfigImage> &image) const
    {
        return image ? entries.at(i).about.known : Parts{};
    }
};

// The history of one instrument; `problem` set when it cannot be read.
Stored readStored(const QString &archiveFolder, const QString &serial, QString *problem)
{
    Stored s;
    s.repo = store::open(archiveFolder, false, problem);
    if (!s.repo)
        return s;
    git_repository *repo = s.repo.get();
    s.standalone = !instrumentFolder(serial).startsWith(QLatin1String("instruments/"));
    const git::Tree head = store::headTree(repo, problem);
    s.folder = head ? subtree(repo, head.get(), instrumentFolder(serial)) : nullptr;
    if (!s.folder) {
        if (problem->isEmpty())
            *problem = QStringLiteral("it holds no entry for instrument %1").arg(serial);
        return s;
    }
    for (const QString &id : entryIds(s.folder.get())) {
        Entry e;
        if (entryFromJson(git::blobText(repo, s.folder.get(), id + QStringLiteral(".json")), e))
            s.entries << e;
    }
    return s;
}

// How an instrument's history goes, entry by entry: the image and what is known
// before each entry, and `step` told both.
template <typename Step> void walk(const Stored &s, Step step)
{
    ConfigImage history;
    Parts known;
    for (int i = 0; i < int(s.entries.size()); ++i) {
        const std::optional<ConfigImage> image = s.image(s.entries.at(i).id);
        Entry e = s.entries.at(i);
        e.about.known = s.knownBy(i, image);
        if (!step(e, image.value_or(ConfigImage{}), history, known))
            return;
        history = overlay(history, image.value_or(ConfigImage{}), e.about.known);
        known = known.without(e.about.written) | e.about.known;
    }
}

QString readProblem(const QString &folder, const QString &why)
{
    return QStringLiteral("The instrument archive in %1 cannot be read: %2.").arg(shownPath(folder), why);
}

int fieldsChanged(const ConfigImage &before, const Parts &knownBefore, const Entry &e, const ConfigImage &image)
{
    const Parts both = knownBefore & e.about.known;
    if (!both.any())
        return -1;
    return int(fields::differences(before, overlay(before, image, both)).size());
}

} // namespace

Answer<QList<InstrumentSummary>> Archive::instruments() const
{
    Answer<QList<InstrumentSummary>> answer;
    if (!QFileInfo::exists(QDir(m_folder).filePath(QStringLiteral(".git"))))
        return answer; // nothing recorded yet
    QString problem;
    git::Repository repo = store::open(m_folder, false, &problem);
    const git::Tree head = repo ? store::headTree(repo.get(), &problem) : nullptr;
    if (!problem.isEmpty()) {
        answer.problem = readProblem(m_folder, problem);
        return answer;
    }
    if (!head)
        return answer;
    QStringList folders{QStringLiteral("erased"), QStringLiteral("unidentified")};
    if (const git::Tree all = subtree(repo.get(), head.get(), QStringLiteral("instruments"))) {
        for (size_t i = 0; i < git_tree_entrycount(all.get()); ++i)
            folders << QStringLiteral("instruments/") +
                           QString::fromUtf8(git_tree_entry_name(git_tree_entry_byindex(all.get(), i)));
    }
    for (const QString &path : folders) {
        const git::Tree folder = subtree(repo.get(), head.get(), path);
        const QStringList ids = folder ? entryIds(folder.get()) : QStringList();
        Entry newest;
        if (ids.isEmpty() ||
            !entryFromJson(git::blobText(repo.get(), folder.get(), ids.last() + QStringLiteral(".json")), newest))
            continue;
        const InstrumentIdentity &who = newest.about.identity;
        answer.value << InstrumentSummary{who.serialNumber,      who.productCode,   who.softwareVersion,
                                          who.hardwareVersion,   newest.about.time, int(ids.size()),
                                          newest.about.operation};
    }
    std::stable_sort(answer.value.begin(), answer.value.end(),
                     [](const InstrumentSummary &a, const InstrumentSummary &b) { return a.lastSeen > b.lastSeen; });
    return answer;
}

Answer<QList<Entry>> Archive::entries(const QString &serialNumber) const
{
    Answer<QList<Entry>> answer;
    QString problem;
    const Stored s = readStored(m_folder, serialNumber, &problem);
    if (!problem.isEmpty()) {
        answer.problem = readProblem(m_folder, problem);
        return answer;
    }
    walk(s, [&](const Entry &e, const ConfigImage &image, const ConfigImage &before, const Parts &known) {
        Entry shown = e;
        shown.fieldsChanged = s.standalone ? -1 : fieldsChanged(before, known, e, image);
        answer.value.prepend(shown);
        return true;
    });
    return answer;
}

Answer<HistoryImage> Archive::image(const QString &serialNumber, const QString &id) const
{
    Answer<HistoryImage> answer;
    QString problem;
    const Stored s = readStored(m_folder, serialNumber, &problem);
    int target = int(s.entries.size()) - 1;
    while (!id.isEmpty() && target >= 0 && s.entries.at(target).id != id)
        --target;
    if (problem.isEmpty() && target < 0)
        problem = QStringLiteral("instrument %1 has no entry %2").arg(serialNumber, id);
    if (!problem.isEmpty()) {
        answer.problem = readProblem(m_folder, problem);
        return answer;
    }
    // From the entry back in time: each part from the newest entry that knows it,
    // until an entry that wrote a part without knowing it (an upload that stopped)
    // or the first entry. Parts nobody knew keep the entry's own bytes.
    HistoryImage &h = answer.value;
    h.entry = s.entries.at(target);
    h.image = s.image(h.entry.id).value_or(ConfigImage{});
    Parts open = Parts::all();
    for (int i = target; i >= (s.standalone ? target : 0) && open.any(); --i) {
        const Entry &e = s.entries.at(i);
        const std::optional<ConfigImage> image = s.image(e.id);
        const Parts take = open & s.knownBy(i, image);
        if (take.any())
            h.image = overlay(h.image, *image, take);
        h.known = h.known | take;
        open = open.without(e.about.known).without(e.about.written);
    }
    return answer;
}

Answer<std::vector<fields::Line>> Archive::differences(const QString &serialNumber, const QString &before,
                                                       const QString &after) const
{
    Answer<std::vector<fields::Line>> answer;
    const Answer<HistoryImage> a = image(serialNumber, before);
    const Answer<HistoryImage> b = a.ok() ? image(serialNumber, after) : Answer<HistoryImage>{};
    answer.problem = a.ok() ? b.problem : a.problem;
    if (answer.ok())
        answer.value =
            fields::differences(a.value.image, overlay(a.value.image, b.value.image, a.value.known & b.value.known));
    return answer;
}

} // namespace archive
