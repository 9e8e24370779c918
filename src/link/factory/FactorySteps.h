// What every command of the factory window shares: its session, confirmations, prompts, refusals and echo reports.
#pragma once

#include "core/factory/FactoryResult.h"

#include <QByteArray>
#include <QString>
#include <functional>

struct InstrumentContext;
class SerialLink;
class WrittenParts;

namespace factory
{

// The output box txtHalvaneData, as the commands see it.
class OutputBox
{
public:
    virtual ~OutputBox() = default;
    virtual void clear() = 0;
    virtual void append(const QString &text) = 0;
    void setText(const QString &text)
    {
        clear();
        append(text);
    }
};

// Everything a factory command works with.
struct FactorySession {
    InstrumentContext &ctx;
    OutputBox &output;
    std::function<void()> hideWindow; // hides FactoryWindow
};

// How a command ended, for callers and tests.
enum class CommandEnd { Done, Cancelled, Refused, NotConnected, Failed };

// Beep, then the Yes/No box "Are you sure?" CR LF `warning` with a question icon; true on Yes.
bool confirm(FactorySession &s, const QString &title, const QString &warning);
// A prompt of this window: no default text, placed at 1000, 1000 twips.
QString ask(FactorySession &s, const QString &prompt, const QString &title);
// Asks and checks the answer; a refusal is shown (titled like the prompt) before anything is sent.
Checked askChecked(FactorySession &s, const QString &prompt, const QString &title,
                   const std::function<Checked(const QString &)> &check);
// Cancelled for a quiet end, Refused for one the user was told about.
CommandEnd endOf(const Checked &answer);

// A message with an OK button; file problems and instrument failures.
void tell(FactorySession &s, const QString &title, const QString &text);

// Tells the user how many written bytes the instrument never acknowledged; true when all were.
bool reportMissedEchoes(FactorySession &s, const QString &title);

// Reads the instrument's 256-byte system block (internal NVM 0..255) into `block` as the
// transfers do: taken only when two readings agree. Two the same with a wrong checksum
// are what the instrument holds and are taken too (the write recomputes byte 0). Else
// tells the user under `title` that nothing was written after `done` and returns false:
// a block missing bytes or garbled on the way must never be written back.
bool readInstrumentSystemBlock(FactorySession &s, const QString &title, const QString &done, quint8 *block);

// After a reset or in-system-programming command: Connected := false, the main window's
// label reads "Not connected to Tessaro", the progress window is hidden.
void markDisconnected(FactorySession &s);

// Cancel in the progress window, looked at between whole blocks: when it was asked for,
// tells the user "Cancelled." and what the instrument now holds, hides the progress
// window and returns true.
bool stopIfCancelled(FactorySession &s, const QString &title, const WrittenParts &parts);

} // namespace factory
