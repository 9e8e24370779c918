#include "link/factory/MemoryCommands.h"

#include "core/EditorState.h"
#include "core/Protocol.h"
#include "core/factory/FactoryAnswers.h"
#include "core/factory/FactoryOutput.h"
#include "core/factory/SystemBlockUpdates.h"
#include "link/ConfirmedRead.h"
#include "link/InstrumentContext.h"
#include "link/SerialLink.h"

namespace factory
{
namespace
{

// Internal NVM reads and writes wait this long for the memory to answer.
constexpr double kNvmStepWait = 0.2;
// A memory display waits at most this long for its up to 256 bytes.
constexpr double kDisplayWait = 1.0;

// Reads one internal NVM byte, two readings the same; -1 when they never agreed. The
// new checksum is worked out from the old value and checksum: a garbled one would
// make the instrument reject its whole settings block.
int readNvmByte(SerialLink &link, int address)
{
    const transfer::ConfirmedRead read =
        transfer::readConfirmed(link, proto::kReadInternalNvm, 1, address, kNvmStepWait);
    return read.ok() ? quint8(read.bytes[0]) : -1;
}

void writeNvmByte(SerialLink &link, int address, int value)
{
    link.emptyBuffer();
    link.sendFrameAt(proto::kWriteInternalNvm, 1, address);
    link.sendByte(value);
    link.delay(kNvmStepWait);
}

QString notAnsweredText(const QString &what)
{
    return QStringLiteral("The instrument did not send %1.\r\nNothing was written: check the cable and the power, "
                          "then try again.")
        .arg(what);
}

struct ByteToProgram {
    int address = 0;
    int value = 0;
};

struct AddressPrompt {
    QString prompt;
    QString title;
    std::function<Checked(const QString &)> check;
};

// The single-byte programmers' opening: confirmation, connection, then the address
// and the data byte, both checked before anything goes to the instrument.
CommandEnd askByteToProgram(FactorySession &s, const QString &title, const QString &warning,
                            const AddressPrompt &address, const QString &dataPrompt, ByteToProgram &target)
{
    if (!confirm(s, title, warning))
        return CommandEnd::Cancelled;
    s.output.clear();
    if (!s.ctx.ensureConnected())
        return CommandEnd::NotConnected;
    const Checked a = askChecked(s, address.prompt, address.title, address.check);
    if (!a.ok)
        return endOf(a);
    const Checked d = askChecked(s, dataPrompt, QStringLiteral("Get data byte"), checkDataByte);
    if (!d.ok)
        return endOf(d);
    target.address = int(a.value);
    target.value = int(d.value);
    return CommandEnd::Done;
}

} // namespace

CommandEnd displayMemory(FactorySession &s, Memory memory)
{
    SerialLink &link = s.ctx.link;
    const MemoryDisplay &d = memoryDisplay(memory);
    if (!s.ctx.ensureConnected())
        return CommandEnd::NotConnected;
    const Checked start = askChecked(s, d.addressPrompt, d.addressTitle,
                                     [memory](const QString &a) { return checkDisplayAddress(memory, a); });
    if (!start.ok)
        return endOf(start);
    const Checked count = askChecked(s, displayCountPrompt(), d.countTitle, [memory, &start](const QString &a) {
        return checkDisplayCount(memory, start.value, a);
    });
    if (!count.ok)
        return endOf(count);

    const int n = int(count.value);
    if (n == 0) {
        // Nothing asked for: the frame goes out as typed, and nothing is shown.
        link.emptyBuffer();
        link.sendFrameAt(d.command, 0, int(start.value));
        link.delay(kDisplayWait);
        s.output.clear();
        return CommandEnd::Done;
    }
    // Shown only when two readings agree: a garbled byte would pass for what the memory holds.
    const transfer::ConfirmedRead read =
        transfer::readConfirmed(link, d.command, countByte(n), int(start.value), kDisplayWait);
    s.output.clear();
    if (!read.ok()) {
        const int arrived = qMin<int>(n, link.RxCount);
        tell(s, d.addressTitle,
             read.problem == transfer::ConfirmedRead::Problem::Unsteady
                 ? QStringLiteral("The instrument sent the %1 bytes asked for differently each time: nothing is "
                                  "shown.")
                       .arg(n)
                 : QStringLiteral("The instrument sent %1 of the %2 bytes asked for.").arg(arrived).arg(n));
        return CommandEnd::Failed;
    }
    QVector<int> values;
    for (char b : read.bytes)
        values.append(quint8(b));
    s.output.append(memoryLines(start.value, values));
    return CommandEnd::Done;
}

CommandEnd programInternalNvmByte(FactorySession &s)
{
    SerialLink &link = s.ctx.link;
    const QString title = QStringLiteral("Program a single byte in Internal NVM");
    ByteToProgram target;
    const CommandEnd asked =
        askByteToProgram(s, title, QStringLiteral("This will overwrite a byte in the Internal NVM!"),
                         {QStringLiteral("Enter internal NVM address to program (0-511)"),
                          QStringLiteral("Get internal NVM address to program"), checkInternalNvmAddress},
                         QStringLiteral("Enter value of data byte to program to internal NVM (0-255)"), target);
    if (asked != CommandEnd::Done)
        return asked;

    const int a = target.address;
    const int d = target.value;
    const int oldValue = readNvmByte(link, a);
    if (oldValue < 0) {
        tell(s, title, notAnsweredText(QStringLiteral("the old value at address %1").arg(a)));
        return CommandEnd::Failed;
    }
    s.output.setText(oldValueLine(a, oldValue));
    const int oldChecksum = readNvmByte(link, 0);
    if (oldChecksum < 0) {
        // Without the old checksum the new one would be wrong and the instrument would
        // reject its whole settings block.
        tell(s, title, notAnsweredText(QStringLiteral("the checksum at address 0")));
        return CommandEnd::Failed;
    }
    s.output.append(oldChecksumLine(a, oldChecksum));
    writeNvmByte(link, a, d);
    writeNvmByte(link, 0, nvmChecksumUpdate(quint8(d), quint8(oldValue), quint8(oldChecksum)));
    const int newValue = readNvmByte(link, a);
    if (newValue < 0) {
        tell(s, title, QStringLiteral("The instrument did not send the new value at address %1 back.").arg(a));
        return CommandEnd::Failed;
    }
    s.output.append(newDataLine(a, newValue));
    return CommandEnd::Done;
}

CommandEnd program24C512Byte(FactorySession &s)
{
    SerialLink &link = s.ctx.link;
    const QString title = QStringLiteral("Program a single byte in 24C512 NVM");
    ByteToProgram target;
    const CommandEnd asked =
        askByteToProgram(s, title, QStringLiteral("This will overwrite a byte in the 24C512 NVM!"),
                         {QStringLiteral("Enter 24C512 Address to program"),
                          QStringLiteral("Get 24C512 NVM ADdress to program"), check24C512ByteAddress},
                         QStringLiteral("Enter data byte to program to 24C512"), target);
    if (asked != CommandEnd::Done)
        return asked;

    const int a = target.address;
    link.writeLinkByte(proto::kLinkByteConnected);

    link.emptyBuffer();
    link.sendFrameAt(proto::kWrite24C512, 1, a);
    link.sendByte(target.value);
    link.delay(0.1);
    // The echo of the data byte sits in the buffer: empty it, or the echo would be shown
    // as the byte read back.
    const transfer::ConfirmedRead read = transfer::readConfirmed(link, proto::kRead24C512, 1, a, 0.1);
    if (!read.ok()) {
        tell(s, title, QStringLiteral("The instrument did not send the byte at address %1 back.").arg(a));
        return CommandEnd::Failed;
    }
    s.output.setText(memoryLine(a, quint8(read.bytes[0])));
    return CommandEnd::Done;
}

CommandEnd enterIspMode(FactorySession &s, int command)
{
    if (!confirm(s, QStringLiteral("Put P89LPC9408 into ISP mode"),
                 QStringLiteral("This will put P89LPC9408 back into ISP mode!")))
        return CommandEnd::Cancelled;
    s.output.clear();
    if (!s.ctx.ensureConnected())
        return CommandEnd::NotConnected;
    s.ctx.link.delay(0.1);
    s.ctx.link.sendFrame(command, 0, 0, 0);
    markDisconnected(s);
    if (s.hideWindow)
        s.hideWindow();
    return CommandEnd::Done;
}

CommandEnd disconnectAndClose(FactorySession &s, int command)
{
    if (s.ctx.state.link.connected) {
        s.ctx.link.delay(0.1);
        s.ctx.link.sendFrame(command, 0, 0, 0);
        markDisconnected(s);
    }
    if (s.hideWindow)
        s.hideWindow();
    return CommandEnd::Done;
}

} // namespace factory
