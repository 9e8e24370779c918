// What one instrument operation is given and what it returns. The windows make the
// input from the editor's state; the operation keeps its own copy and fills in what
// happened; the windows apply the result once it has ended. Nothing in it is shared
// with a window while the operation runs.
#pragma once

#include "core/ConfigImage.h"
#include "core/EditorState.h"

#include <QString>
#include <optional>

// How far an operation knows what the instrument holds afterwards.
enum class KnownImage : quint8 {
    None,     // nothing was read or written as a whole
    Settings, // the settings block (a download)
    Whole,    // settings, display configurations and curves (upload, verify, compare)
};

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
struct OperationRecord : ImageBytes {
    LinkState link;
    InstrumentIdentity instrument;
    TransferChoices transfer;
    FactorySession factory;

    // --- what happened ------------------------------------------------------------------
    bool identified = false; // the connection read the instrument's identity
    // The instrument's counter of new configurations, as it was last read: a fact about
    // the instrument, kept whether or not the image takes it.
    std::optional<quint16> newConfigCount;
    ImageChange imageChange = ImageChange::None;
    KnownImage known = KnownImage::None;
    ConfigImage instrumentImage; // what the instrument holds, as far as `known` says
    QString written;             // which parts were written when the operation ended early
    QString lostReason;          // why the link was lost, when it was

    // The input of an operation from the editor's state.
    static OperationRecord from(const EditorState &state)
    {
        OperationRecord r;
        static_cast<ImageBytes &>(r) = state;
        r.link = state.link;
        r.instrument = state.instrument;
        r.transfer = state.transfer;
        r.factory = state.factory;
        return r;
    }
};
