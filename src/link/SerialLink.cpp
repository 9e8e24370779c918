// The byte link: receive buffer, port opening with its error prompt, and the send and wait primitives.
#include "link/SerialLink.h"

#include "core/Protocol.h"

#include "core/NumberText.h"
#include "core/Prompts.h"
#include "link/InstrumentView.h"
#include "link/LinkLog.h"

#include <QThread>

namespace
{
// The port number is a byte; larger answers are refused and asked again.
constexpr double kMaxPortNumber = 255;
} // namespace

SerialLink::SerialLink(LinkState &state, Prompts &prompts, Clock &clock, BytePort &port,
                       std::function<QString(int)> resolve, QObject *parent)
    : QObject(parent), m_state(state), m_prompts(prompts), m_clock(clock), m_port(port), m_resolve(std::move(resolve))
{
    // The port, the link and their waits share one thread: bytes are stored the moment
    // the port reports them, whichever thread the objects were created on.
    connect(&m_port, &BytePort::dataReceived, this, &SerialLink::onBytesReceived, Qt::DirectConnection);
    connect(&m_port, &BytePort::portLost, this, &SerialLink::onPortLost, Qt::DirectConnection);
    m_clock.attachPort(&m_port);
}

SerialLink::~SerialLink()
{
    m_clock.attachPort(nullptr);
}

bool SerialLink::isOpen() const
{
    return m_port.isOpen();
}

QString SerialLink::openErrorPrompt() const
{
    // The last two characters of the signed text (" 5", "12"); from 100 on that would
    // name the wrong port, so the whole number is shown there.
    const int n = m_state.portNumber;
    const QString number = n < 100 ? numtext::signedText(qint64(n)).right(2) : QString::number(n);
    QString text = QStringLiteral("Error encountered while trying to open COM") + number + QStringLiteral(".") +
                   QStringLiteral("\n") + QStringLiteral("Please check data and power connections.") +
                   QStringLiteral("\n\n") + QStringLiteral("Enter a new COM port number or click Cancel.");
    if (m_port.lastOpenError() == BytePort::OpenError::PermissionDenied)
        text +=
            QStringLiteral("\n\n") + QStringLiteral("Access to %1 was refused: add your user to the group \"dialout\" "
                                                    "(sudo usermod -aG dialout $USER), then log out and in again.")
                                         .arg(m_device);
    return text;
}

void SerialLink::openComPort()
{
    if (m_shutDown)
        checkLost();
    for (;;) {
        if (m_port.isOpen())
            m_port.close();
        m_lost = false;
        m_lostReason.clear();
        m_inFrame = false;
        m_dataOwed = 0;
        m_device = m_resolve ? m_resolve(m_state.portNumber) : QString();
        bool opened = false;
        if (!m_device.isEmpty()) {
            qCDebug(lcLink) << "opening COM" << m_state.portNumber << "as" << m_device;
            opened = m_port.open(m_device);
        }
        if (opened) {
            // A port that goes away while settling counts as one that did not open.
            m_clock.waitUntil(m_clock.now() + kSettleAfterOpen, [&] { return interrupted(); });
            if (m_shutDown)
                checkLost();
            if (m_port.isOpen() && !m_lost)
                return;
        }
        qCDebug(lcLink) << "open failed:" << m_port.errorString();

        const QString prompt = openErrorPrompt();
        for (;;) {
            const QString answer =
                m_prompts.inputBox(prompt, QStringLiteral("Communications Error"), QStringLiteral("0"));
            if (answer.isEmpty())
                return;
            const double n = numtext::leadingNumber(answer);
            if (n < 0 || numtext::roundHalfEven(n) > kMaxPortNumber) {
                m_prompts.beep();
                continue;
            }
            m_state.portNumber = quint8(numtext::roundHalfEven(n));
            break;
        }
        if (m_view)
            m_view->portChanged(m_state.portNumber);
    }
}

void SerialLink::store(quint8 byte)
{
    // The count is held at 4090; further bytes overwrite the element after it.
    if (RxCount < kMaxCount)
        RxBuffer[++RxCount] = byte;
    else
        RxBuffer[kMaxCount + 1] = byte;
}

void SerialLink::onBytesReceived()
{
    bool stored = false;
    while (m_port.isOpen() && m_port.bytesWaiting() > 0) {
        const QByteArray bytes = m_port.readAll();
        if (bytes.isEmpty())
            break;
        qCDebug(lcLinkBytes) << "received" << bytes.toHex(' ');
        for (char c : bytes)
            store(quint8(c));
        stored = true;
    }
    if (stored)
        m_clock.wake();
}

void SerialLink::onPortLost()
{
    m_lost = true;
    m_lostReason = QStringLiteral("The connection to the instrument on COM%1%2 was lost.")
                       .arg(QString::number(m_state.portNumber),
                            m_device.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(m_device));
    qCWarning(lcLink) << m_lostReason;
    m_clock.wake();
}

void SerialLink::shutDown()
{
    m_shutDown = true;
    // The port belongs to the thread that runs the operations: it is closed there.
    if (QThread::currentThread() == m_port.thread())
        closePort();
    m_clock.wake();
}

void SerialLink::closePort()
{
    if (m_port.isOpen())
        m_port.close();
}

void SerialLink::checkLost() const
{
    if (m_shutDown)
        throw LinkLost("The editor is closing.");
    if (m_stopRequested)
        throw LinkLost("Stopped at once at the user's request.");
    if (m_lost)
        throw LinkLost(m_lostReason.toStdString());
}

void SerialLink::requireOpen() const
{
    checkLost();
    if (!m_port.isOpen())
        throw LinkLost("The serial port is not open.");
}

void SerialLink::write(int b)
{
    requireOpen();
    qCDebug(lcLinkBytes) << "sent" << (b & 0xFF);
    m_port.write(QByteArray(1, char(quint8(b))));
    m_lastArea = -1;
    if (!m_inFrame && m_dataOwed > 0) {
        --m_dataOwed;
        m_lastArea = m_imageWrites.byteSent();
    }
}

void SerialLink::sendByte(int b)
{
    write(b);
    delay(kSendPause);
}

void SerialLink::sendByteCheckEcho(int b)
{
    // The complement of b can never equal the echo, so any first byte shows up.
    requireOpen();
    const qint16 sentinel = qint16(255 - quint8(b));
    RxBuffer[1] = sentinel;
    m_port.discardInput();
    RxCount = 0;
    write(b);
    const int area = m_lastArea;
    ++m_traffic.sent;
    const bool answered =
        m_clock.waitUntil(m_clock.now() + kEchoTimeout, [&] { return interrupted() || RxBuffer[1] != sentinel; });
    checkLost();
    m_imageWrites.echoed(area, !answered && RxCount == 0, answered && RxBuffer[1] == quint8(b));
    // Not a byte came back, not even one that looked like no answer.
    if (!answered && RxCount == 0)
        ++m_traffic.unanswered;
    if (!answered) {
        m_state.timedOut = true;
        ++m_missedEchoes;
        ++m_traffic.unconfirmed;
        m_troubleSeen = true;
    } else if (RxBuffer[1] != quint8(b)) {
        // A garbled echo, or a late one from an earlier byte: either way this byte
        // was not confirmed.
        ++m_wrongEchoes;
        ++m_traffic.unconfirmed;
        m_troubleSeen = true;
    }
}

void SerialLink::sendEchoedBlock(const quint8 *bytes, int count)
{
    const int unconfirmedBefore = unacknowledgedBytes();
    for (int i = 0; i < count; ++i)
        sendByteCheckEcho(bytes[i]);
    if (count > 0 && unacknowledgedBytes() - unconfirmedBefore == count)
        throw LinkLost("The instrument stopped confirming the data sent to it: "
                       "the data in the instrument may be incomplete.");
}

void SerialLink::sendEchoedBlock(const QByteArray &bytes)
{
    sendEchoedBlock(reinterpret_cast<const quint8 *>(bytes.constData()), int(bytes.size()));
}

void SerialLink::writeLinkByte(int value)
{
    emptyBuffer();
    sendFrame(proto::kWriteLinkByte, 1, proto::kLinkByteHigh, proto::kLinkByteLow);
    delay(0.1);
    sendByte(value);
    delay(0.1);
}

qint16 SerialLink::receiveByte()
{
    requireOpen();
    RxBuffer[1] = -1;
    m_port.discardInput();
    RxCount = 0;
    const bool answered =
        m_clock.waitUntil(m_clock.now() + kEchoTimeout, [&] { return interrupted() || RxBuffer[1] != -1; });
    checkLost();
    if (!answered)
        m_state.timedOut = true;
    return RxBuffer[1];
}

void SerialLink::delay(double seconds)
{
    checkLost();
    m_clock.waitUntil(m_clock.now() + seconds, [&] { return interrupted(); });
    checkLost();
}

bool SerialLink::waitForBytes(int count, double timeout, const std::function<bool()> &complete)
{
    checkLost();
    const bool came =
        m_clock.waitUntil(m_clock.now() + timeout, [&] { return interrupted() || (RxCount >= count && complete()); });
    checkLost();
    return came;
}

bool SerialLink::waitForAnswer(const std::function<bool()> &answered)
{
    m_clock.waitUntil(Clock::kForever, [&] { return answered() || m_cancelRequested || m_shutDown; });
    return answered();
}

bool SerialLink::waitForBytes(int count, double timeout)
{
    checkLost();
    const bool came = m_clock.waitUntil(m_clock.now() + timeout, [&] { return interrupted() || RxCount >= count; });
    checkLost();
    return came;
}

void SerialLink::emptyBuffer(qint16 sentinel)
{
    RxCount = 0;
    RxBuffer[1] = sentinel;
    if (m_port.isOpen())
        m_port.discardInput();
}

namespace
{
// The data bytes that follow a command frame: the writes carry `count` of them (0 for 256).
int dataBytesAfter(int code, int count)
{
    if (code == proto::kWriteInternalNvm || code == proto::kWrite24C512 || code == proto::kWriteLinkByte)
        return count == 0 ? 256 : count;
    return 0;
}
} // namespace

void SerialLink::sendFrame(int code, int count, int high, int low)
{
    m_inFrame = true;
    m_dataOwed = 0;
    sendByte(61);
    sendByte(code & 0xFF);
    sendByte(count & 0xFF);
    sendByte(high & 0xFF);
    sendByte(low & 0xFF);
    m_imageWrites.frame(code & 0xFF, ((high & 0xFF) << 8) | (low & 0xFF));
    m_dataOwed = dataBytesAfter(code & 0xFF, count & 0xFF);
    m_inFrame = false;
}

void SerialLink::sendFrameAt(int code, int count, int address)
{
    sendFrame(code, count, (address >> 8) & 0xFF, address & 0xFF);
}
