#include "core/DifferenceMarks.h"

namespace fields
{

QString referenceName(Reference reference)
{
    switch (reference) {
    case Reference::Defaults:
        return QStringLiteral("Default");
    case Reference::SavedFile:
        return QStringLiteral("Saved file");
    case Reference::Instrument:
        return QStringLiteral("Instrument");
    }
    return QString();
}

DifferenceMarks::DifferenceMarks(const ConfigImage &image, const ConfigImage &referenceImage, Reference reference)
{
    const QString name = referenceName(reference) + QStringLiteral(": ");
    for (const Line &line : differences(referenceImage, image)) {
        m_texts.insert(line.field, name + line.oldText);
        if (line.group >= kConfiguration1 && line.group < kConfiguration1 + 16)
            ++m_configurations[size_t(line.group - kConfiguration1 + 1)];
        else
            ++m_settings;
    }
}

int DifferenceMarks::configurationCount(int configuration) const
{
    return (configuration >= 1 && configuration <= 16) ? m_configurations[size_t(configuration)] : 0;
}

} // namespace fields
