// Upload, download, backup and restore: the instrument operations that move whole memories.
#pragma once

#include <QDate>
#include <QString>
#include <QTime>
#include <array>
#include <functional>

struct ConfigImage;
struct InstrumentContext;

namespace transfer
{

// The fourteen categories of the overwrite warning, by number (index 0 unused).
constexpr int kCategories = 14;
using Categories = std::array<bool, kCategories + 1>;

// What the user left in the overwrite warning: CONTINUE or CANCEL, and the boxes;
// or "Compare first…" (the upload shows what it would change, then asks again).
struct CategoryAnswer {
    bool proceed = false;
    bool compareFirst = false;
    Categories chosen{};
};

// The overwrite warning as an operation sees it: a question, answered by the window
// (or by a test).
class CategoryQuestion
{
public:
    virtual ~CategoryQuestion() = default;
    // Shows `title` with the boxes `enabled` and `checked`, and returns once the user
    // chose CONTINUE or CANCEL (or closed the window: CANCEL).
    virtual CategoryAnswer ask(const QString &title, const Categories &enabled, const Categories &checked) = 0;
    // Takes the warning off the screen.
    virtual void dismiss() {}
    // Shows what an upload would change: the instrument's image, and the image the
    // instrument would hold afterwards.
    virtual void showComparison(const ConfigImage & /*instrument*/, const ConfigImage & /*afterUpload*/) {}
};

// Choices of the upload that change nothing on the line unless switched on.
struct UploadOptions {
    // Reads everything written back before leaving command mode and says whether it
    // matches ("Verified: N bytes match") or which fields differ.
    bool verify = false;
};

// The PC's date and time at the moment they are needed (tests fix them).
struct PcClock {
    std::function<QDate()> today = [] { return QDate::currentDate(); };
    std::function<QTime()> time = [] { return QTime::currentTime(); };
};

// These procedures throw LinkLost when the port goes away midway; run them inside
// runInstrumentOperation, which holds the busy guard and reports the loss.

// How an operation ended, for callers and tests.
enum class Outcome { Cancelled, NotConnected, Refused, Done, Failed };

// The upload (button "Upload Display Configurations To Corvane").
Outcome upload(InstrumentContext &ctx, CategoryQuestion &question, const PcClock &pc = PcClock(),
               const UploadOptions &options = UploadOptions());
// The download (button "Download Display Configurations From Corvane").
Outcome download(InstrumentContext &ctx, CategoryQuestion &question);
// "Create System Backup" and "Restore All from Backup" (after their confirmation).
Outcome createBackup(InstrumentContext &ctx);
// "Compare with Instrument": reads what the instrument holds into `instrument` and
// leaves command mode; nothing in the editor changes.
Outcome readForCompare(InstrumentContext &ctx, ConfigImage &instrument);
Outcome restoreBackup(InstrumentContext &ctx);
// The closing steps of backup and restore: the link byte released, command mode left.
void releaseAfterCopy(InstrumentContext &ctx);

} // namespace transfer
