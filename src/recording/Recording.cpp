#include "recording/Recording.h"

#include "archive/Archive.h"
#include "archive/ArchiveSettings.h"

namespace recording
{

namespace
{

InstrumentIdentity trimmed(InstrumentIdentity identity)
{
    identity.serialNumber = identity.serialNumber.trimmed();
    identity.softwareVersion = identity.softwareVersion.trimmed();
    identity.hardwareVersion = identity.hardwareVersion.trimmed();
    for (QString &u : identity.unitVersions)
        u = u.trimmed();
    return identity;
}

archive::Outcome outcomeOf(const OperationRecord &r)
{
    if (!r.lostReason.isEmpty())
        return archive::Outcome::Failed;
    if (!r.outcome)
        return r.told.isEmpty() ? archive::Outcome::Completed : archive::Outcome::Failed;
    switch (*r.outcome) {
    case transfer::Outcome::Done:
        // Done, yet the instrument did not confirm every byte written (and no read-back did).
        return r.unconfirmedAreas.without(r.known).any() ? archive::Outcome::Failed : archive::Outcome::Completed;
    case transfer::Outcome::Cancelled:
        return archive::Outcome::Cancelled;
    case transfer::Outcome::NotConnected:
    case transfer::Outcome::Refused:
    case transfer::Outcome::Failed:
        break;
    }
    return archive::Outcome::Failed;
}

} // namespace

std::optional<archive::Observation> observation(const OperationRecord &r, const About &about)
{
    if (!r.identified && !r.writtenAreas.any() && !r.known.any())
        return std::nullopt;
    archive::Observation o;
    o.identity = trimmed(r.instrument);
    o.operation = about.operation;
    o.outcome = outcomeOf(r);
    if (o.outcome != archive::Outcome::Completed)
        o.outcomeText = r.told.join(QLatin1Char('\n')).replace(QLatin1String("\r\n"), QLatin1String("\n"));
    if (o.outcomeText.isEmpty())
        o.outcomeText = r.lostReason;
    o.written = r.writtenAreas;
    // What an operation that stopped began to write is no longer known; one that ran
    // to its end knows what it had confirmed.
    const bool ranToEnd = r.lostReason.isEmpty() && (!r.outcome || *r.outcome == transfer::Outcome::Done);
    o.known = ranToEnd ? r.known : r.known.without(r.writtenAreas);
    // The areas not known keep the image the operation was given (the editor's, the
    // file's): the entry says they are not known.
    o.image = overlay(ConfigImage::of(static_cast<const ImageBytes &>(r)), r.instrumentImage, o.known);
    o.image.comPort = r.link.portNumber; // the port the instrument was found on
    o.sourceFile = about.sourceFile;
    o.port = about.port;
    return o;
}

std::vector<archive::Observation> observations(const OperationRecord &r, const About &about)
{
    std::vector<archive::Observation> all;
    for (const OperationRecord::EarlierRead &read : r.comparedFirst) {
        OperationRecord compare;
        static_cast<ImageBytes &>(compare) = r;
        compare.link = r.link;
        compare.instrument = r.instrument;
        compare.identified = true;
        compare.known = ImageAreas::all();
        compare.instrumentImage = read.image;
        About named = about;
        named.operation = archive::operation::kCompare;
        if (std::optional<archive::Observation> o = observation(compare, named)) {
            o->time = read.time;
            all.push_back(*o);
        }
    }
    if (std::optional<archive::Observation> o = observation(r, about)) {
        // As of when the operation ended, after what it read before.
        o->time = QDateTime::currentDateTimeUtc();
        if (!all.empty() && o->time <= all.back().time)
            o->time = all.back().time.addMSecs(1);
        all.push_back(*o);
    }
    return all;
}

Recorder::Recorder(const Choice &choice) : m_choice(choice) {}

Recorder::~Recorder() = default;

Recorder::Entries Recorder::prepare(const OperationRecord &result, const About &about) const
{
    if (m_choice.off)
        return {};
    QString folder = m_choice.folder;
    if (folder.isEmpty()) {
        // Read each time: the settings may have changed since the last operation.
        const archive::Settings settings = archive::Settings::load();
        if (!settings.keep)
            return {};
        folder = settings.archiveFolder();
    }
    return {folder, observations(result, about)};
}

QString Recorder::write(const Entries &entries)
{
    const Written written = writeAll(entries);
    return written.first ? written.problem : QString();
}

Recorder::Written Recorder::writeAll(const Entries &entries)
{
    Written written;
    if (entries.entries.empty())
        return written;
    if (!m_archive || m_archive->folder() != entries.folder)
        m_archive = std::make_unique<archive::Archive>(entries.folder);
    m_archive->keepWaiting = keepWaiting;
    for (const archive::Observation &entry : entries.entries) {
        const archive::Answer<QString> recorded = m_archive->record(entry);
        if (recorded.ok())
            ++written.recorded;
        else
            written.problem = recorded.problem;
    }
    written.first = !written.problem.isEmpty() && !m_told;
    m_told = m_told || written.first;
    return written;
}

} // namespace recording
