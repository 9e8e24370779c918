// What the instrument archive keeps of an instrument operation: the one mapping from
// an operation's record to an archive entry, and the recording after each operation,
// for the editor and the command line alike.
#pragma once

#include "archive/Observation.h"
#include "link/OperationRecord.h"

#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace archive
{
class Archive;
}

namespace recording
{

// What the caller knows of the operation beside its record.
struct About {
    QString operation;  // one of archive::operation
    QString sourceFile; // the file the image came from, if any
    QString port;       // as the user named it ("COM3", "/dev/ttyUSB0")
};

// The entry of an operation that reached an instrument (read its identity, or wrote
// to it); nothing for one that never did: it learnt nothing and wrote nothing. The
// entry knows the areas the operation read, or wrote and had confirmed; an operation
// that did not complete knows none of the areas it began to write.
std::optional<archive::Observation> observation(const OperationRecord &result, const About &about);

// Every entry the operation leaves, in time order: a compare with the instrument for
// each "Compare first…" of an upload that read the whole instrument, then the
// operation's own.
std::vector<archive::Observation> observations(const OperationRecord &result, const About &about);

// Where entries go: the archive the editor's settings choose, unless they turn it off.
struct Choice {
    QString folder;   // a folder given (--archive): recorded there whatever the settings say
    bool off = false; // --no-archive: nothing is recorded
};

// Records an entry after each operation. Recording never fails an operation: the
// archive's problem is answered the first time one occurs, for the caller to show
// once; later problems of the same recorder answer nothing.
class Recorder
{
public:
    explicit Recorder(const Choice &choice = {});
    ~Recorder();

    // The entries of an operation and the archive they go to: worked out where the
    // operation ended (the settings are read there), written anywhere after.
    struct Entries {
        QString folder;
        std::vector<archive::Observation> entries;
    };
    Entries prepare(const OperationRecord &result, const About &about) const;
    // Writes them in order; the first problem of this recorder, or nothing.
    QString write(const Entries &entries);
    struct Written {
        int recorded = 0;
        QString problem;    // the last one
        bool first = false; // the first problem of this recorder, to be told
    };
    Written writeAll(const Entries &entries);
    QString record(const OperationRecord &result, const About &about) { return write(prepare(result, about)); }

    // Asked while another program holds the archive's lock: false stops waiting.
    std::function<bool()> keepWaiting;

private:
    Choice m_choice;
    std::unique_ptr<archive::Archive> m_archive; // the one last recorded in
    bool m_told = false;
};

} // namespace recording
