// What an operation's record becomes in the archive: its outcome, what it knows and
// what it wrote, for the ways an operation ends.
#include "recording/Recording.h"

#include <QTest>

namespace
{
ImageAreas areas(bool settings, std::initializer_list<int> configurations, bool curves = false)
{
    ImageAreas a;
    a.settings = settings;
    for (int n : configurations)
        a.configurations[n - 1] = true;
    a.curves = curves;
    return a;
}
} // namespace

Q_DECLARE_METATYPE(ImageAreas)

class TestRecording : public QObject
{
    Q_OBJECT
private slots:
    void outcomeKnownAndWritten_data()
    {
        QTest::addColumn<int>("outcome"); // transfer::Outcome, -1: none said
        QTest::addColumn<QString>("lost");
        QTest::addColumn<ImageAreas>("known");
        QTest::addColumn<ImageAreas>("written");
        QTest::addColumn<ImageAreas>("unconfirmed");
        QTest::addColumn<QString>("entryOutcome");
        QTest::addColumn<ImageAreas>("entryKnown");
        const ImageAreas none, all = ImageAreas::all(), settings = ImageAreas::settingsOnly();
        const int done = int(transfer::Outcome::Done);
        QTest::newRow("an upload that completed") << done << QString() << all << all << none << "completed" << all;
        QTest::newRow("an upload with a byte not confirmed")
            << done << QString() << all.without(areas(false, {4})) << all << areas(false, {4}) << "failed"
            << all.without(areas(false, {4}));
        QTest::newRow("a factory write of settings bytes")
            << done << QString() << none << settings << none << "completed" << none;
        QTest::newRow("a cancelled upload") << int(transfer::Outcome::Cancelled) << QString() << none
                                            << areas(true, {1, 2}) << none << "cancelled" << none;
        QTest::newRow("a link lost after a read") << done << QStringLiteral("The connection was lost.") << all
                                                  << areas(true, {}) << none << "failed" << all.without(settings);
        QTest::newRow("a download that failed")
            << int(transfer::Outcome::Failed) << QString() << none << none << none << "failed" << none;
    }
    void outcomeKnownAndWritten()
    {
        QFETCH(int, outcome);
        QFETCH(QString, lost);
        OperationRecord r;
        r.identified = true;
        r.instrument.serialNumber = QStringLiteral(" 80315012");
        if (outcome >= 0)
            r.outcome = transfer::Outcome(outcome);
        r.lostReason = lost;
        QFETCH(ImageAreas, known);
        QFETCH(ImageAreas, written);
        QFETCH(ImageAreas, unconfirmed);
        r.known = known;
        r.writtenAreas = written;
        r.unconfirmedAreas = unconfirmed;
        const std::optional<archive::Observation> o = recording::observation(r, {archive::operation::kUpload, {}, {}});
        QVERIFY(o);
        QCOMPARE(o->identity.serialNumber, QStringLiteral("80315012"));
        QTEST(archive::outcomeName(o->outcome), "entryOutcome");
        QTEST(o->known, "entryKnown");
        QCOMPARE(o->written, written);
    }

    // An operation that never reached an instrument learnt nothing: no entry.
    void noEntryWithoutAnInstrument()
    {
        OperationRecord r;
        r.outcome = transfer::Outcome::NotConnected;
        QVERIFY(!recording::observation(r, {archive::operation::kUpload, {}, {}}));
    }
};

QTEST_GUILESS_MAIN(TestRecording)
#include "tst_recording.moc"
