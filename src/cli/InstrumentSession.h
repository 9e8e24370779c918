// One instrument operation from the command line: the port named by --port, the link,
// and the operation run under the busy guard exactly as the editor runs it.
#pragma once

#include "cli/Cli.h"
#include "cli/TerminalView.h"
#include "core/EditorState.h"
#include "link/OperationRecord.h"
#include "link/SerialLink.h"

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

class InstrumentSession
{
public:
    InstrumentSession(Host &host, Console &console, TerminalPrompts &prompts, const PortChoice &port);

    // The command's own editor state: each operation is given it as its input, and
    // its result is applied to it when the operation has ended.
    EditorState state;

    // Runs `operation` under the name `task` (connecting first when it asks to) and
    // returns the exit code. An operation the user interrupted counts as incomplete,
    // one the user declined as refused.
    int run(const QString &task, const std::function<transfer::Outcome(InstrumentContext &)> &operation);
    // The instrument's serial number as the connection read it.
    QString serialNumber() const { return m_view.serialNumber(); }

private:
    int notFound();
    QString portText() const;

    Host &m_host;
    Console &m_console;
    TerminalPrompts &m_prompts;
    PortChoice m_port;
    void apply(const OperationRecord &result);

    TerminalView m_view;
    OperationRecord m_record; // the running operation's
    SerialLink m_link;
};

} // namespace cli
