// The instrument archive on real git repositories in temporary folders: what an
// entry keeps and how the history is put together, sharing through a workshop
// repository, and every way recording can fail without losing what is kept.
#include "archive/Archive.h"
#include "archive/KnownHosts.h"
#include "archive/Store.h"
#include "core/ConfigFile.h"
#include "kit/ArchiveSamples.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageAuthenticationCode>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <git2.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using archive::Archive;
using archive::Observation;
using archive::Outcome;
using archive::Parts;
namespace store = archive::store;

namespace
{
const QDateTime kStart(QDate(2026, 5, 1), QTime(9, 0), Qt::UTC);
const QString kSerial = QStringLiteral("61231042");

struct Step {
    QString operation;
    Parts known;
    Parts written;
    Outcome outcome = Outcome::Completed;
};

Parts settingsOnly()
{
    Parts p;
    p.settings = true;
    return p;
}

Parts firstConfigurations(int count)
{
    Parts p;
    for (int i = 0; i < count; ++i)
        p.configurations[i] = true;
    return p;
}

// The entries' files in an instrument's folder of the working tree.
QStringList filesOf(const QString &archiveFolder, const QString &serial = kSerial)
{
    return QDir(QDir(archiveFolder).filePath(archive::instrumentFolder(serial))).entryList(QDir::Files, QDir::Name);
}

// The new entry's id, or the problem.
QString recordSample(const Archive &a, int variant, const QString &serial = kSerial)
{
    const auto answer = a.record(kit::sampleObservation(serial, archive::operation::kUpload, Parts::all(),
                                                        kStart.addSecs(60 * variant), variant));
    return answer.ok() ? answer.value : answer.problem;
}

// An ssh public key as the server sends it: its type, then the key.
QByteArray hostKey(const QByteArray &type, char fill)
{
    QByteArray blob;
    blob.append(char(0)).append(char(0)).append(char(0)).append(char(type.size())).append(type);
    return blob.append(QByteArray(4, 0)).append(QByteArray(32, fill));
}

// Commits `bytes` as the file `path` of the archive's newest entries, as a copy
// shared by another PC might hold it.
bool commitFile(const QString &archiveFolder, const QString &path, const QByteArray &bytes)
{
    git_repository *repo = nullptr;
    git_reference *head = nullptr;
    git_commit *parent = nullptr;
    git_tree *oldTree = nullptr;
    git_tree *newTree = nullptr;
    git_index *index = nullptr;
    git_signature *who = nullptr;
    git_oid treeId, commitId;
    git_index_entry entry{};
    const QByteArray name = path.toUtf8();
    entry.path = name.constData();
    entry.mode = GIT_FILEMODE_BLOB;
    const bool committed =
        git_repository_open(&repo, archiveFolder.toUtf8().constData()) == 0 && git_repository_head(&head, repo) == 0 &&
        git_commit_lookup(&parent, repo, git_reference_target(head)) == 0 && git_commit_tree(&oldTree, parent) == 0 &&
        git_index_new(&index) == 0 && git_index_read_tree(index, oldTree) == 0 &&
        git_blob_create_from_buffer(&entry.id, repo, bytes.constData(), size_t(bytes.size())) == 0 &&
        git_index_add(index, &entry) == 0 && git_index_write_tree_to(&treeId, index, repo) == 0 &&
        git_tree_lookup(&newTree, repo, &treeId) == 0 && git_signature_now(&who, "test", "test@example.invalid") == 0 &&
        git_commit_create_v(&commitId, repo, "HEAD", who, who, nullptr, "damaged", newTree, 1, parent) == 0;
    git_signature_free(who);
    git_index_free(index);
    git_tree_free(newTree);
    git_tree_free(oldTree);
    git_commit_free(parent);
    git_reference_free(head);
    git_repository_free(repo);
    return committed;
}

bool isId(const QString &answer)
{
    return !answer.contains(QLatin1Char(' '));
}
} // namespace

Q_DECLARE_METATYPE(QList<Step>)
Q_DECLARE_METATYPE(archive::HostKey)

class TestArchive : public QObject
{
    Q_OBJECT
private slots:
    void historyTakesEachPartFromTheNewestEntryThatKnowsIt_data()
    {
        QTest::addColumn<QList<Step>>("steps");
        QTest::addColumn<QList<int>>("changes"); // newest first
        QTest::addColumn<QString>("known");
        QTest::addColumn<QList<int>>("from"); // the sample each of setting, display, curve comes from
        QTest::addColumn<int>("firstToLast"); // differences between the first and the newest entry

        const Step upload{archive::operation::kUpload, Parts::all(), Parts::all()};
        const Step download{archive::operation::kDownload, settingsOnly(), {}};
        const Step cancelled{archive::operation::kUpload, {}, firstConfigurations(3), Outcome::Cancelled};
        const Step verify{archive::operation::kVerify, Parts::all(), {}};
        QTest::newRow("upload, then a download knows the settings")
            << QList<Step>{upload, download} << QList<int>{1, -1}
            << QStringLiteral("settings, display "
                              "configurations 1-16, sender curves")
            << QList<int>{2, 1, 1} << 1;
        QTest::newRow("a cancelled upload forgets what it began to write")
            << QList<Step>{upload, cancelled} << QList<int>{-1, -1}
            << QStringLiteral("settings, display configurations 4-16, sender curves") << QList<int>{1, 2, 1} << 0;
        QTest::newRow("a verify after it knows everything again")
            << QList<Step>{upload, cancelled, verify} << QList<int>{2, -1, -1}
            << QStringLiteral("settings, display configurations 1-16, sender curves") << QList<int>{3, 3, 3} << 3;
    }
    void historyTakesEachPartFromTheNewestEntryThatKnowsIt()
    {
        QFETCH(QList<Step>, steps);
        QFETCH(QList<int>, changes);
        QFETCH(QString, known);
        QFETCH(QList<int>, from);
        QFETCH(int, firstToLast);
        QTemporaryDir dir;
        const Archive a(dir.filePath(QStringLiteral("archive")));
        QStringList ids;
        Observation last;
        for (int i = 0; i < steps.size(); ++i) {
            last = kit::sampleObservation(kSerial, steps[i].operation, steps[i].known, kStart.addSecs(60 * i), i + 1);
            last.written = steps[i].written;
            last.outcome = steps[i].outcome;
            const auto recorded = a.record(last);
            QVERIFY2(recorded.ok(), qPrintable(recorded.problem));
            ids.prepend(recorded.value);
        }
        // An entry of another unit whose serial number was erased stays apart.
        QVERIFY(a.record(kit::sampleObservation(QStringLiteral("0"), archive::operation::kUpload, Parts::all(),
                                                kStart.addDays(1), 6))
                    .ok());

        const auto entries = a.entries(kSerial);
        QVERIFY2(entries.ok(), qPrintable(entries.problem));
        QStringList entryIds;
        QList<int> entryChanges;
        for (const archive::Entry &e : entries.value) {
            entryIds << e.id;
            entryChanges << e.fieldsChanged;
        }
        QCOMPARE(entryIds, ids);
        QCOMPARE(entryChanges, changes);
        const Observation &newest = entries.value.first().about;
        QCOMPARE(newest.time, last.time);
        QCOMPARE(newest.outcome, last.outcome);
        QCOMPARE(newest.written, last.written);
        QCOMPARE(newest.identity.unitVersions[0], last.identity.unitVersions[0]);
        QCOMPARE(newest.identity.productCode, last.identity.productCode);
        QCOMPARE(QStringList({newest.user, newest.host, newest.port, newest.sourceFile}),
                 QStringList({last.user, last.host, last.port, last.sourceFile}));

        auto image = a.image(kSerial);
        QVERIFY2(image.ok(), qPrintable(image.problem));
        QCOMPARE(image.value.known.describe(), known);
        ConfigImage expected[] = {kit::sampleImage(from[0]), kit::sampleImage(from[1]), kit::sampleImage(from[2])};
        QCOMPARE(kit::sampleSetting(image.value.image), kit::sampleSetting(expected[0]));
        QCOMPARE(kit::sampleDisplay(image.value.image), kit::sampleDisplay(expected[1]));
        QCOMPARE(kit::sampleCurve(image.value.image), kit::sampleCurve(expected[2]));
        const auto diff = a.differences(kSerial, ids.last(), ids.first());
        QCOMPARE(int(diff.value.size()), firstToLast);

        // Each entry opens as a configuration file.
        ConfigFileImage file;
        const QString cfg = QDir(dir.filePath(QStringLiteral("archive/") + archive::instrumentFolder(kSerial)))
                                .filePath(ids.first() + QStringLiteral(".cfg"));
        QVERIFY(readConfigFile(cfg, file).ok);
        // Two units whose serial numbers were erased: the newer does not borrow the older's parts.
        QVERIFY(a.record(kit::sampleObservation(QStringLiteral("0"), archive::operation::kDownload, settingsOnly(),
                                                kStart.addDays(2), 5))
                    .ok());
        QCOMPARE(a.image(QStringLiteral("0")).value.known, settingsOnly());
        const auto instruments = a.instruments();
        QCOMPARE(instruments.value.size(), 2);
        QCOMPARE(instruments.value.at(0).serialNumber, QStringLiteral("0"));
        QCOMPARE(instruments.value.at(1).entries, steps.size());
    }

    void folderThatCannotBeWritten_data()
    {
        QTest::addColumn<bool>("readOnly");
        QTest::newRow("a file stands where the folder should be") << false;
        QTest::newRow("a read-only archive") << true;
    }
    void folderThatCannotBeWritten()
    {
        QFETCH(bool, readOnly);
        QTemporaryDir dir;
        QString folder = dir.filePath(QStringLiteral("archive"));
        if (readOnly) {
            QVERIFY(isId(recordSample(Archive(folder), 1)));
            QProcess::execute(QStringLiteral("chmod"), {QStringLiteral("-R"), QStringLiteral("a-w"), folder});
            if (QFileInfo(folder).isWritable()) // the superuser writes anyway
                QSKIP("Permissions do not hold the superuser back.");
        } else {
            QFile blocker(dir.filePath(QStringLiteral("share")));
            QVERIFY(blocker.open(QIODevice::WriteOnly));
            folder = dir.filePath(QStringLiteral("share/archive"));
        }
        const QString problem = recordSample(Archive(folder), 2);
        QProcess::execute(QStringLiteral("chmod"), {QStringLiteral("-R"), QStringLiteral("u+w"), dir.path()});
        QVERIFY2(problem.startsWith(QStringLiteral("The instrument archive in %1 did not record").arg(folder)),
                 qPrintable(problem));
        QCOMPARE(Archive(folder).entries(kSerial).value.size(), readOnly ? 1 : 0);
    }

    void damagedRepository()
    {
        QTemporaryDir dir;
        const Archive a(dir.filePath(QStringLiteral("archive")));
        recordSample(a, 1);
        recordSample(a, 2);
        // The newest commit's object becomes garbage.
        QFile head(dir.filePath(QStringLiteral("archive/.git/refs/heads/main")));
        QVERIFY(head.open(QIODevice::ReadOnly));
        const QString id = QString::fromLatin1(head.readAll().trimmed());
        QFile object(dir.filePath(QStringLiteral("archive/.git/objects/%1/%2").arg(id.left(2), id.mid(2))));
        object.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        QVERIFY(object.open(QIODevice::WriteOnly | QIODevice::Truncate));
        object.write("not a git object");
        object.close();

        const QString problem = recordSample(Archive(a.folder()), 3); // the next time the program starts
        QVERIFY2(problem.contains(QStringLiteral("the repository is damaged")), qPrintable(problem));
        QVERIFY(problem.endsWith(QStringLiteral("Nothing already in the archive was changed.")));
        QVERIFY(!a.entries(kSerial).ok());
        QCOMPARE(filesOf(a.folder()).size(), 4);
        QVERIFY(object.open(QIODevice::ReadOnly));
        QCOMPARE(object.readAll(), QByteArray("not a git object"));
    }

    // An entry whose image file cannot be read knows nothing: its parts are not known,
    // never an image of zeros.
    void damagedEntryImageIsNotKnown()
    {
        QTemporaryDir dir;
        const Archive a(dir.filePath(QStringLiteral("archive")));
        recordSample(a, 1);
        const auto download = a.record(
            kit::sampleObservation(kSerial, archive::operation::kDownload, settingsOnly(), kStart.addSecs(120), 2));
        QVERIFY(download.ok());
        QVERIFY(commitFile(a.folder(), store::imagePath(archive::instrumentFolder(kSerial), download.value),
                           "not a configuration file"));

        const auto image = a.image(kSerial);
        QVERIFY2(image.ok(), qPrintable(image.problem));
        QCOMPARE(image.value.known.describe(), QStringLiteral("display configurations 1-16, sender curves"));
        ConfigImage first = kit::sampleImage(1);
        ConfigImage read = image.value.image;
        QCOMPARE(kit::sampleDisplay(read), kit::sampleDisplay(first));
        QCOMPARE(a.entries(kSerial).value.first().fieldsChanged, -1);
    }

    void serverHostKeyMustBeTheKnownOne_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<archive::HostKey>("expected");
        const QByteArray a = hostKey("ssh-ed25519", 'a'), b = hostKey("ssh-ed25519", 'b');
        QTest::newRow("plain name") << "ssh://git@server.example/corvane.git" << a << archive::HostKey::Known;
        QTest::newRow("hashed name") << "git@hashed.example:corvane.git" << b << archive::HostKey::Known;
        QTest::newRow("another port") << "ssh://git@server.example:2222/x" << b << archive::HostKey::Known;
        QTest::newRow("another key") << "ssh://git@server.example/corvane.git" << b << archive::HostKey::Changed;
        QTest::newRow("another type") << "ssh://git@server.example/x" << hostKey("ssh-rsa", 'r')
                                      << archive::HostKey::Unknown;
        QTest::newRow("not listed") << "ssh://git@nobody.example/x" << a << archive::HostKey::Unknown;
    }
    void serverHostKeyMustBeTheKnownOne()
    {
        QFETCH(QString, url);
        QFETCH(QByteArray, key);
        QFETCH(archive::HostKey, expected);
        QTemporaryDir dir;
        const QByteArray salt("0123456789abcdefghij");
        const QByteArray hashed =
            QMessageAuthenticationCode::hash("hashed.example", salt, QCryptographicHash::Sha1).toBase64();
        QFile file(dir.filePath(QStringLiteral("known_hosts")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("# the workshop's servers\n"
                   "server.example,10.0.0.5 ssh-ed25519 " +
                   hostKey("ssh-ed25519", 'a').toBase64() + "\n" + "|1|" + salt.toBase64() + "|" + hashed +
                   " ssh-ed25519 " + hostKey("ssh-ed25519", 'b').toBase64() + "\n[server.example]:2222 ssh-ed25519 " +
                   hostKey("ssh-ed25519", 'b').toBase64() + "\n");
        file.close();
        QCOMPARE(archive::checkHostKey({file.fileName()}, archive::hostNames(url), key), expected);
    }

    void workshopThatCannotBeReached()
    {
        // A host that takes the connection and then says nothing.
        const int silent = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        QVERIFY(bind(silent, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0 && listen(silent, 4) == 0 &&
                getsockname(silent, reinterpret_cast<sockaddr *>(&address), &length) == 0);
        QTemporaryDir dir;
        const Archive a(dir.filePath(QStringLiteral("archive")));
        recordSample(a, 1);

        const QString url = QStringLiteral("ssh://git@127.0.0.1:%1/workshop.git").arg(ntohs(address.sin_port));
        const auto silentHost = a.synchronise(url, std::chrono::milliseconds(500));
        ::close(silent);
        QVERIFY2(silentHost.problem.contains(QStringLiteral("did not answer within 0.5 seconds")),
                 qPrintable(silentHost.problem));
        const auto missingShare = a.synchronise(dir.filePath(QStringLiteral("unmounted/workshop")));
        QVERIFY2(missingShare.problem.contains(QStringLiteral("the folder does not exist")),
                 qPrintable(missingShare.problem));
        QCOMPARE(a.entries(kSerial).value.size(), 1);
    }

    void twoProgramsRecordAtOnce()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("archive"));
        QStringList answers[2];
        std::thread writers[2];
        for (int w = 0; w < 2; ++w)
            writers[w] = std::thread([&, w] {
                const Archive a(folder);
                for (int i = 0; i < 5; ++i)
                    answers[w] << recordSample(a, 1 + w * 5 + i);
            });
        for (std::thread &t : writers)
            t.join();
        for (const QStringList &list : answers)
            for (const QString &answer : list)
                QVERIFY2(isId(answer), qPrintable(answer));
        QCOMPARE(Archive(folder).entries(kSerial).value.size(), 10);
        QCOMPARE(filesOf(folder).size(), 20);
    }

    void diskFullLeavesTheArchiveAsItWas()
    {
        QTemporaryDir dir;
        Archive a(dir.filePath(QStringLiteral("archive")));
        const QString first = recordSample(a, 1);
        int writes = 0;
        a.writeFile = [&writes](const QString &path, const QByteArray &bytes) {
            if (++writes == 2)
                return QStringLiteral("No space left on device");
            QFile f(path);
            return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() ? QString() : f.errorString();
        };
        const QString problem = recordSample(a, 2);
        QVERIFY2(problem.contains(QStringLiteral("No space left on device. Nothing already in the archive was "
                                                 "changed.")),
                 qPrintable(problem));
        QCOMPARE(filesOf(a.folder()), QStringList({first + QStringLiteral(".cfg"), first + QStringLiteral(".json")}));
        a.writeFile = nullptr;
        recordSample(a, 3);
        QCOMPARE(a.entries(kSerial).value.size(), 2);
    }

    void twoClonesShareThroughAWorkshopRepository()
    {
        QTemporaryDir dir;
        const QString workshop = dir.filePath(QStringLiteral("share/workshop.git"));
        QVERIFY(QDir().mkpath(workshop));
        const Archive a(dir.filePath(QStringLiteral("pc-a")));
        const Archive b(dir.filePath(QStringLiteral("pc-b")));
        recordSample(a, 1);
        recordSample(b, 2);
        recordSample(a, 3);
        recordSample(b, 4);
        recordSample(b, 5, QStringLiteral("71231077"));

        const auto first = a.synchronise(workshop);
        QVERIFY2(first.ok(), qPrintable(first.problem));
        const auto second = b.synchronise(workshop);
        QVERIFY2(second.ok(), qPrintable(second.problem));
        QCOMPARE(second.value.received, 2);
        QCOMPARE(second.value.sent, 3);
        const auto third = a.synchronise(workshop);
        QVERIFY2(third.ok(), qPrintable(third.problem));
        QCOMPARE(third.value.received, 3);

        for (const Archive *pc : {&a, &b}) {
            QStringList sources;
            for (const archive::Entry &e : pc->entries(kSerial).value)
                sources << e.about.sourceFile;
            QCOMPARE(sources, QStringList({"BOAT4.CFG", "BOAT3.CFG", "BOAT2.CFG", "BOAT1.CFG"}));
            QCOMPARE(filesOf(pc->folder()).size(), 8);
            QCOMPARE(pc->instruments().value.size(), 2);
        }
    }
};

QTEST_GUILESS_MAIN(TestArchive)
#include "tst_archive.moc"
