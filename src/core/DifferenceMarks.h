// How the edited image differs from a reference (the factory defaults, the saved file,
// the image last read from the instrument), as the windows mark it: how many fields
// of each display configuration differ and, per field, the reference's value.
#pragma once

#include "core/FieldTable.h"

#include <QHash>
#include <QString>
#include <array>

namespace fields
{

enum class Reference { Defaults, SavedFile, Instrument };

// "Default", "Saved file", "Instrument": what a mark's tooltip starts with.
QString referenceName(Reference reference);

class DifferenceMarks
{
public:
    DifferenceMarks() = default;
    DifferenceMarks(const ConfigImage &image, const ConfigImage &referenceImage, Reference reference);

    // Fields of display configuration 1..16 that differ.
    int configurationCount(int configuration) const;
    // Fields outside the display configurations that differ.
    int settingsCount() const { return m_settings; }
    int total() const { return int(m_texts.size()); }

    bool differs(const QString &field) const { return m_texts.contains(field); }
    // "Default: 9999" for a field (by its name in the table) that differs; else empty.
    QString referenceText(const QString &field) const { return m_texts.value(field); }

private:
    std::array<int, 17> m_configurations{};
    int m_settings = 0;
    QHash<QString, QString> m_texts;
};

} // namespace fields
