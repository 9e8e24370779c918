// The byte link to the instrument: receive buffer, port opening, plain and echo-checked sends, frames.
#pragma once

#include "core/EditorState.h" // LinkState
#include "link/BytePort.h"
#include "link/Clock.h"
#include "link/ImageWrites.h"

#include <QObject>
#include <atomic>
#include <functional>
#include <stdexcept>

class Prompts;
class InstrumentView;
struct OperationRecord;

// Thrown by the primitives (SendByte, SendByteCheckEcho, ReceiveByte, Delay, the
// frame helpers) when the port went away during an operation (adapter unplugged,
// simulated instrument gone) or the editor is closing. Every waiting loop ends at
// once when that happens, so no operation is left hanging.
//
// Every instrument operation entry point (a button or menu handler that connects
// and talks to the instrument) must catch it; runInstrumentOperation() below does
// that, and the busy guard, in one call. what() is a sentence fit for the user.
struct LinkLost : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class SerialLink : public QObject
{
    Q_OBJECT
public:
    static constexpr int kBufferLast = 4096; // elements 0..4096
    static constexpr int kMaxCount = 4090;
    static constexpr double kEchoTimeout = 0.2;
    static constexpr double kSendPause = 0.05;
    static constexpr double kSettleAfterOpen = 0.5;

    // `resolve` turns a port number into the device to open (empty: no such port).
    // `state` is the running operation's view of the link (the port it opens, whether
    // a wait timed out); it belongs to the thread that runs the operations.
    SerialLink(LinkState &state, Prompts &prompts, Clock &clock, BytePort &port, std::function<QString(int)> resolve,
               QObject *parent = nullptr);
    ~SerialLink() override;

    void setView(InstrumentView *view) { m_view = view; }
    InstrumentView *view() const { return m_view; }

    // Receive buffer: elements 1.. hold received bytes in arrival order; element 1
    // doubles as the reply slot the waits look at.
    qint16 RxBuffer[kBufferLast + 1] = {};
    qint16 RxCount = 0;
    qint16 element(int i) const { return (i >= 0 && i <= kBufferLast) ? RxBuffer[i] : 0; }

    // (Re)opens port ComPortNumber; on failure asks for another number until a port
    // opens or the user cancels (the port then stays closed: test isOpen()).
    void openComPort();
    // Receive handler: stores every waiting byte (connected to BytePort::dataReceived).
    void onBytesReceived();
    // Writes b, then delay(0.05).
    void sendByte(int b);
    // Writes b and waits up to 0.2 s for the first byte to come back (any value ends
    // the wait). An echo that is not b is counted as a wrong echo.
    void sendByteCheckEcho(int b);
    // Sends a block of data bytes, each with the echo wait. When not one byte of the
    // block came back as sent, the instrument has gone (its power, its cable) or cannot
    // follow: throws LinkLost instead of waiting up to 0.2 s for every byte still to come.
    void sendEchoedBlock(const quint8 *bytes, int count);
    void sendEchoedBlock(const QByteArray &bytes);
    // Waits up to 0.2 s for one byte; -1 when none came.
    qint16 receiveByte();
    // Returns after `seconds`, letting window messages run.
    void delay(double seconds);

    // Empty the receive buffer: count 0, element 1 := sentinel, port input discarded.
    void emptyBuffer(qint16 sentinel = 0);
    // The five-byte command frame, each byte sent with SendByte.
    void sendFrame(int code, int count, int high, int low);
    void sendFrameAt(int code, int count, int address);
    // Writes the instrument's link byte (the editor connected or released):
    // the frame, 0.1 s, the value, 0.1 s.
    void writeLinkByte(int value);

    // Waits until at least `count` bytes are in the buffer or `timeout` has passed;
    // true when they came. For answers that follow an echo (the NMEA monitor's
    // character comes one byte time after the echo of the channel byte).
    bool waitForBytes(int count, double timeout);
    // The same, ending only when `complete` also holds once `count` bytes are there.
    bool waitForBytes(int count, double timeout, const std::function<bool()> &complete);

    // The one wait for a question to be answered (the port chooser, the overwrite
    // warning, a message box the windows show): ends when `answered` holds, on Cancel
    // and when the link shuts down (the editor closing). True when it was answered;
    // otherwise the operation ends quietly, sending nothing the user did not confirm.
    bool waitForAnswer(const std::function<bool()> &answered);

    bool isOpen() const;
    BytePort &port() { return m_port; }
    Clock &clock() { return m_clock; }
    // The device the port was last opened on (for messages).
    QString device() const { return m_device; }

    // Echo waits since the last reset that ended without an answer, or with a byte
    // other than the one sent. The instrument echoes what it received, so either
    // way the byte may not have been stored as sent.
    int missedEchoes() const { return m_missedEchoes; }
    int wrongEchoes() const { return m_wrongEchoes; }
    int unacknowledgedBytes() const { return m_missedEchoes + m_wrongEchoes; }
    void resetEchoCounts() { m_missedEchoes = m_wrongEchoes = 0; }
    // Running totals over the link's life: data bytes sent with an echo wait, waits
    // that ran out with nothing at all coming back, and bytes not confirmed (echo
    // missing or other than sent). The difference of two readings tells what the data
    // bytes of one block did.
    struct Traffic {
        qint64 sent = 0;
        qint64 unanswered = 0;
        qint64 unconfirmed = 0;
    };
    Traffic traffic() const { return m_traffic; }
    // What the write frames' data bytes did to the configuration image's areas since
    // the running operation began (each operation starts it afresh).
    const ImageWrites &imageWrites() const { return m_imageWrites; }
    void clearImageWrites() { m_imageWrites.clear(); }
    // Whether the line misbehaved (an echo missing or wrong, a read incomplete or
    // refused) since the operation began. Each operation clears it when it starts.
    bool troubleSeen() const { return m_troubleSeen; }
    void noteTrouble() { m_troubleSeen = true; }
    void clearTrouble() { m_troubleSeen = false; }

    // One instrument operation at a time. busy(), requestCancel() and shutDown() may
    // be called from any thread; everything else from the thread that runs operations.
    bool busy() const { return m_busy; }
    void setBusy(bool b)
    {
        m_busy = b;
        m_cancelRequested = false;
        m_stopRequested = false;
    }
    // The user asked the running operation to stop (Cancel in the progress window,
    // the editor closing): it stops at its next safe point, between whole blocks.
    void requestCancel()
    {
        m_cancelRequested = m_busy.load();
        m_clock.wake();
    }
    bool cancelRequested() const { return m_cancelRequested; }
    // The user asked the running operation to end at once (a second Ctrl+C): its next
    // primitive throws LinkLost, wherever it is. Unlike shutDown() the port stays usable,
    // so that the caller can take the instrument out of command mode when betweenFrames().
    void requestStop()
    {
        m_stopRequested = m_busy.load();
        m_clock.wake();
    }
    bool stopRequested() const { return m_stopRequested; }
    void clearStop() { m_stopRequested = false; }
    // No command frame is half sent and no data byte a write frame announced is still
    // owed: bytes sent now are read as a new command, not as data.
    bool betweenFrames() const { return !m_inFrame && m_dataOwed == 0; }
    // True once the port reported it went away; cleared by OpenComPort.
    bool lost() const { return m_lost; }
    // Ends the running operation (its next primitive throws LinkLost) and closes the
    // port for good (at once on the port's own thread, otherwise when closePort() is
    // called there); the main window calls it when the editor shuts down.
    void shutDown();
    void closePort();
    bool isShutDown() const { return m_shutDown; }
    // Throws LinkLost when the port was lost or the link shut down.
    void checkLost() const;

private:
    void onPortLost();
    void store(quint8 byte);
    void write(int b);
    void requireOpen() const;
    bool interrupted() const { return m_lost || m_shutDown || m_stopRequested; }
    QString openErrorPrompt() const;

    LinkState &m_state;
    Prompts &m_prompts;
    Clock &m_clock;
    BytePort &m_port;
    std::function<QString(int)> m_resolve;
    InstrumentView *m_view = nullptr;
    QString m_device;
    QString m_lostReason;
    int m_missedEchoes = 0;
    int m_wrongEchoes = 0;
    Traffic m_traffic;
    ImageWrites m_imageWrites;
    int m_lastArea = -1; // the image area of the data byte written last (-1: none)
    bool m_troubleSeen = false;
    std::atomic<bool> m_busy{false};
    std::atomic<bool> m_cancelRequested{false};
    std::atomic<bool> m_stopRequested{false};
    bool m_inFrame = false; // the five bytes of a command frame are going out
    int m_dataOwed = 0;     // data bytes the last write frame announced and not yet sent
    bool m_lost = false;
    std::atomic<bool> m_shutDown{false};
};

// "Please wait: the instrument is busy."
void tellInstrumentBusy(Prompts &prompts);

// Marks an instrument operation as running for its lifetime. A second operation
// started meanwhile is refused with "Please wait: the instrument is busy.".
class InstrumentOperation
{
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

// Runs one instrument operation (`body` connects if needed and talks to the
// instrument) under the busy guard. When the link is lost meanwhile the operation
// ends there: Connected := false, the connecting and progress windows are hidden,
// the connection label reads "Not connected to Corvane" and the user is told why.
// Returns false when the operation was refused or the link was lost.
// Tells the user how many bytes sent since the last resetEchoCounts() the instrument
// never acknowledged, instead of a silent success; true when every byte was.
bool reportUnacknowledgedBytes(SerialLink &link, Prompts &prompts, const QString &title);

bool runInstrumentOperation(SerialLink &link, OperationRecord &state, Prompts &prompts, InstrumentView &view,
                            const std::function<void()> &body);
