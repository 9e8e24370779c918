// One instrument operation from the command line: the port named by --port, the link,
// and the operation run under the busy guard exactly as the editor runs it.
#pragma once

#include "cli/Cli.h"
#include "cli/TerminalView.h"
#include "core/EditorState.h"
#include "link/NotedPrompts.h"
#include "link/OperationRecord.h"
#include "link/SerialLink.h"
#include "recording/Recording.h"

#include <memory>
#include <optional>

class TerminalPrompts;
struct InstrumentContext;

namespace cli
{

// The device a --port value opens: COMn as the editor resolves it, or a device path.
struct PortChoice {
    int number = 0; // the port number the operation's texts name
    QString device; // empty: COMn names no device
    QString shown;  // how the user named it ("COM3", "/dev/ttyUSB0")
};
PortChoice choosePort(const QString &value, const Host &host);
// Why the chosen device cannot be a serial port ("/tmp/x is not a serial port: it is a
// plain file."), or empty when it may be one.
QString portProblem(const PortChoice &port);

class InstrumentSession
{
public:
    InstrumentSession(Host &host, Console &console, TerminalPrompts &prompts, const PortChoice &port);
    // Records the last operation's entry, after the command has said what it did.
    ~InstrumentSession();

    // The command's own editor state: each operation is given it as its input, and
    // its result is applied to it when the operation has ended.
    EditorState state;
    // A read-back that matched settles the bytes whose echo was missed (--verify).
    bool readBackSettlesEchoes = false;
    // Where each operation's entry is recorded (--archive, --no-archive), and what it
    // names: the operation and the file the image came from.
    recording::Choice archive;
    recording::About about;

    using Operation = std::function<transfer::Outcome(InstrumentContext &)>;
    // How the operation takes the instrument out of command mode when it stops early.
    using Closing = std::function<void(InstrumentContext &)>;

    // Runs `operation` under the name `task` (connecting first when it asks to) and
    // returns the exit code. An operation the user interrupted counts as incomplete,
    // one the user declined as refused; one ended at once by a second interrupt
    // exits 130 after saying what it leaves behind.
    int run(const QString &task, const Operation &operation, const Closing &closing = {});
    // The instrument's serial number as the connection read it.
    QString serialNumber() const { return m_view.serialNumber(); }
    // Whether the user interrupted the last operation: what it read is not to be used.
    bool interrupted() const { return m_interrupted; }

private:
    int notFound();
    QString portText() const;
    int outcomeCode(const QString &task, transfer::Outcome outcome);
    int endedAtOnce(const QString &task, const QString &lost, bool leftCommandMode);
    bool closeEarly(InstrumentContext &ctx, const Closing &closing);
    void apply(const OperationRecord &result);
    // Records the entry of the operation that ended last, once; a problem of the
    // archive is one line on standard error and changes nothing else.
    void recordEntry();

    Host &m_host;
    Console &m_console;
    TerminalPrompts &m_prompts;
    PortChoice m_port;
    TerminalView m_view;
    OperationRecord m_record; // the running operation's
    NotedPrompts m_noted;     // m_prompts, noting each message in m_record
    SerialLink m_link;
    std::optional<OperationRecord> m_ended; // the last operation's result, not yet recorded
    std::unique_ptr<recording::Recorder> m_recorder;
    bool m_reached = false;
    bool m_interrupted = false;
};

// Exit code of a program ended by an interrupt.
constexpr int kExitInterrupted = 130;

} // namespace cli
