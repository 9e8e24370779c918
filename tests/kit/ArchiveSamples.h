// Entries for the instrument archive's tests and benchmark: the factory defaults
// with a few values that tell one sample from another.
#pragma once

#include "archive/Observation.h"
#include "core/Defaults.h"
#include "core/DisplayTable.h"
#include "core/ImageLayout.h"

namespace kit
{

// Where the samples differ: one setting, one display configuration, one sender curve.
inline quint8 &sampleSetting(ConfigImage &m)
{
    return m.system[layout::kPulleyRatio];
}
inline quint8 &sampleDisplay(ConfigImage &m)
{
    return m.blocks[1][displays::kDisplays[0].codeByte];
}
inline float &sampleCurve(ConfigImage &m)
{
    return m.curves[1][2][1];
}

inline ConfigImage sampleImage(int variant)
{
    EditorState state;
    writeDefaultsToRam(state);
    ConfigImage m = ConfigImage::of(state);
    static const quint8 ratios[] = {1, 5, 10, 20, 50, 100, 200};
    sampleSetting(m) = ratios[variant % 7];
    sampleDisplay(m) = quint8(variant % 9);
    sampleCurve(m) = float(20 + variant);
    return m;
}

inline archive::Observation sampleObservation(const QString &serial, const QString &operation,
                                              const archive::Parts &known, const QDateTime &time, int variant)
{
    archive::Observation o;
    o.identity.serialNumber = serial;
    o.identity.softwareVersion = QStringLiteral("2.14");
    o.identity.hardwareVersion = QStringLiteral("C");
    o.identity.unitVersions[0] = QStringLiteral("1.2");
    o.identity.productCode = 3;
    o.operation = operation;
    o.known = known;
    o.image = sampleImage(variant);
    o.sourceFile = QStringLiteral("BOAT%1.CFG").arg(variant);
    o.port = QStringLiteral("COM3");
    o.time = time;
    o.user = QStringLiteral("ann");
    o.host = QStringLiteral("workbench");
    o.editorVersion = QStringLiteral("1.0.3");
    return o;
}

} // namespace kit
