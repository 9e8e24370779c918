// The data rules of upload and download: categories, counter, first-upload date, curve encoding.
#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QtGlobal>
#include <array>

struct ImageBytes;
struct TransferChoices;
struct FactorySession;

namespace transfer
{

// The caption of category i (1..14) in the overwrite warning ("Display Configurations").
QString categoryCaption(int category);
// System block bytes that category i (1..14) carries; empty for 1 (display
// blocks) and 12 (the clock), which are not system block bytes.
QList<int> categoryBytes(int category);
// Categories a download can receive, in the order they are copied.
const QList<int> &downloadOrder();
bool isDownloadable(int category);

// Advances the upload counter (bytes 10 high, 11 low) of a system block.
void advanceUploadCounter(quint8 *block, bool newUnit);
// Keeps the earliest upload date (bytes 17, 18, 19: year of the century, month, day).
void applyFirstUploadDate(quint8 *block, const QDate &today);

// A curve encoded as the instrument stores it: 32 points of counts high, counts low,
// value high, value low. `problem` is set (and the bytes are meaningless) when the
// curve cannot be encoded.
struct EncodedCurve {
    std::array<quint8, 128> bytes{};
    bool ok = false;
    int point = 0; // the point that cannot be encoded, when known
    QString problem;
};
EncodedCurve encodeCurve(const ImageBytes &image, int curve);
// A curve as the instrument stores it, back in the editor's terms: the resistance that
// gives those counts against the pull-up, and the value x 10 (points 1..32 of `points`;
// the ends of a stored curve are its extended lines).
void decodeCurve(const std::array<quint8, 128> &bytes, float points[33][3]);

// The settings block an upload writes: the instrument's `instrument` block with the
// counter advanced, the first upload date kept, and the editor's `system` bytes of
// the categories `chosen` (all of them for a new unit), checksum in byte 0.
void uploadedSettings(const quint8 *instrument, const quint8 *system, const TransferChoices &chosen,
                      const FactorySession &factory, const QDate &today, quint8 *buffer);

// The curves an upload writes.
const QList<int> &uploadedCurves();

} // namespace transfer
