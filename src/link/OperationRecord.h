// What one instrument operation is given and what it returns. The windows make the
// input from the editor's state; the operation keeps its own copy and fills in what
// happened; the windows apply the result once it has ended. Nothing in it is shared
// with a window while the operation runs.
#pragma once

#include "core/ConfigImage.h"
#include "core/ImageAreas.h"
#include "core/OperationInput.h"
#include "link/Transfers.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// What an operation changes in the image it was given, for the editor to apply.
enum class ImageChange : quint8 {
    None,     // the image stays as the editor has it (the counter aside)
    Settings, // the downloaded categories of the settings block
    Replaced, // the whole image (the factory defaults of a new unit)
    System,   // bytes of the settings block the operation set (the code copy mark)
    Checksums // the display blocks' checksums, as the upload sent them
};

// The operation's record: it starts as the input (the image to send, the port, the
// categories, what is known of the instrument, the factory session) and ends as the
// result (identity, counters, what was read and written, where the link was left).
struct OperationRecord : OperationInput {
    // --- what happened ------------------------------------------------------------------
    bool identified = false; // the connection read the instrument's identity
    // The instrument's counter of new configurations, as it was last read: a fact about
    // the instrument, kept whether or not the image takes it.
    std::optional<quint16> newConfigCount;
    ImageChange imageChange = ImageChange::None;
    // What the instrument holds afterwards, as far as the operation knows it: the
    // areas of `instrumentImage` it read, or wrote and had confirmed.
    ImageAreas known;
    ConfigImage instrumentImage;
    // The areas the operation's writes reached (any of their bytes may have been
    // stored), and those with a byte the instrument did not confirm.
    ImageAreas writtenAreas;
    ImageAreas unconfirmedAreas;
    QString written;    // which parts were written when the operation ended early
    QString lostReason; // why the link was lost, when it was
    // How the operation ended (empty when it did not say), and every message the user
    // was shown while it ran.
    std::optional<transfer::Outcome> outcome;
    QStringList told;
    // Each whole read of the instrument an upload's "Compare first…" made: a compare
    // with the instrument of its own, as of when it was read.
    struct EarlierRead {
        QDateTime time;
        ConfigImage image;
    };
    QList<EarlierRead> comparedFirst;

    // A record that starts as the given input, nothing having happened yet.
    static OperationRecord from(const OperationInput &input)
    {
        OperationRecord r;
        static_cast<OperationInput &>(r) = input;
        return r;
    }
};
