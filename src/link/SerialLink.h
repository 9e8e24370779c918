// The byte link to the instrument: receive buffer, port opening, plain and echo-checked sends, frames.
#pragma once

#include "config/EditorState.h"
#include "link/BytePort.h"
#include "link/Clock.h"

#include <QObject>
#include <functional>
#include <stdexcept>

class Prompts;
class InstrumentView;

// Thrown by the primitives when the port went away during an operation (adapter
// unplugged). The operation's entry point catches it, clears Connected and tells the user.
struct LinkLost : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class SerialLink : public QObject {
    Q_OBJECT
public:
    static constexpr int kBufferLast = 4096; // elements 0..4096
    static constexpr int kMaxCount = 4090;

    // `resolve` turns a port number into the device to open.
    SerialLink(EditorState &state, Prompts &prompts, Clock &clock, BytePort &port,
               std::function<QString(int)> resolve, QObject *parent = nullptr);

    void setView(InstrumentView *view) { m_view = view; }

    // Receive buffer: elements 1.. hold received bytes in arrival order.
    qint16 RxBuffer[kBufferLast + 1] = {};
    qint16 RxCount = 0;
    qint16 element(int i) const { return (i >= 0 && i <= kBufferLast) ? RxBuffer[i] : 0; }

    void OpenComPort();
    void MSComm1_OnComm();
    void SendByte(int b);
    void SendByteCheckEcho(int b);
    qint16 ReceiveByte();
    void Delay(double seconds);

    // Empty the receive buffer: count 0, element 1 := sentinel, port input discarded.
    void emptyBuffer(qint16 sentinel = 0);
    // The five-byte command frame, each byte sent with SendByte.
    void sendFrame(int code, int count, int high, int low);
    void sendFrameAt(int code, int count, int address);

    bool isOpen() const;
    BytePort &port() { return m_port; }
    Clock &clock() { return m_clock; }

    // Echo waits that ended without an answer since the last reset.
    int missedEchoes() const { return m_missedEchoes; }
    void resetMissedEchoes() { m_missedEchoes = 0; }

    // One instrument operation at a time.
    bool busy() const { return m_busy; }
    void setBusy(bool b) { m_busy = b; }
    // True once the port reported it went away; cleared by OpenComPort.
    bool lost() const { return m_lost; }

private:
    void checkLost();

    EditorState &m_state;
    Prompts &m_prompts;
    Clock &m_clock;
    BytePort &m_port;
    std::function<QString(int)> m_resolve;
    InstrumentView *m_view = nullptr;
    int m_missedEchoes = 0;
    bool m_busy = false;
    bool m_lost = false;
};

// Marks an instrument operation as running for its lifetime. A second operation
// started meanwhile is refused with "Please wait: the instrument is busy.".
class InstrumentOperation {
public:
    InstrumentOperation(SerialLink &link, Prompts &prompts);
    ~InstrumentOperation();
    bool refused() const { return m_refused; }
    InstrumentOperation(const InstrumentOperation &) = delete;
    InstrumentOperation &operator=(const InstrumentOperation &) = delete;

private:
    SerialLink &m_link;
    bool m_refused;
};
