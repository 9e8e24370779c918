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

Recorder::Recorder(const Choice &choice) : m_choice(choice) {}

Recorder::~Recorder() = default;

QString Recorder::record(const OperationRecord &result, const About &about)
{
    if (m_choice.off)
        return QString();
    QString folder = m_choice.folder;
    if (folder.isEmpty()) {
        // Read each time: the settings may have changed since the last operation.
        const archive::Settings settings = archive::Settings::load();
        if (!settings.keep)
            return QString();
        folder = settings.archiveFolder();
    }
    const std::optional<archive::Observation> entry = observation(result, about);
    if (!entry)
        return QString();
    if (!m_archive || m_archive->folder() != folder)
        m_archive = std::make_unique<archive::Archive>(folder);
    const archive::Answer<QString> recorded = m_archive->record(*entry);
    if (recorded.ok() || m_told)
        return QString();
    m_told = true;
    return recorded.problem;
}

} // namespace recording
