// connectToInstrument: probe, switch into command mode, identify; and the port chooser wait.
#include "link/Connection.h"

#include "core/ImageLayout.h"
#include "core/NumberText.h"
#include "core/Prompts.h"
#include "core/Protocol.h"
#include "link/InstrumentView.h"
#include "link/LinkLog.h"
#include "link/OperationRecord.h"
#include "link/Reply.h"

#include "link/SerialLink.h"
#include <memory>

using numtext::signedText;

namespace
{

constexpr int kLumiskProductCode = 2;
constexpr int kErasedSerialA = 254;
constexpr int kErasedSerialB = 255;
constexpr int kErasedCounter = 254;

QString portText(const OperationRecord &state)
{
    return signedText(qint64(state.link.portNumber));
}

// The "Can't find Corvane" question. True for Yes.
bool askTryAgain(OperationRecord &state, Prompts &prompts)
{
    return prompts.askYesNo(QStringLiteral("Can't find Corvane"),
                            QStringLiteral("Can't connect to Corvane on COM") + portText(state) + QStringLiteral(".") +
                                QStringLiteral("\n") + QStringLiteral("Do you want to try again?"),
                            Prompts::Icon::Question) != kNo;
}

// No instrument found: beep, hide the connecting window, ask.
bool giveUpOrRetry(OperationRecord &state, Prompts &prompts, InstrumentView &view)
{
    prompts.beep();
    view.hideConnecting();
    return askTryAgain(state, prompts);
}

// Asks for a port and waits for the answer: the port accepted, or 0 when "None" was
// accepted, the chooser closed, Cancel pressed or the editor closed (the operation then
// ends quietly). A wait that ends unanswered takes the chooser off the screen.
int askForPort(const OperationRecord &state, SerialLink &link, InstrumentView &view)
{
    const auto reply = std::make_shared<Reply<int>>(link.clock());
    view.askPort(state.link.portNumber, [reply](int port) { reply->give(port); });
    if (!link.waitForAnswer([&] { return reply->answered(); })) {
        view.dismissPortQuestion();
        return 0;
    }
    return reply->value().value_or(0);
}

enum class Probing { Connected, GaveUp };

// Steps 4 and 5: the attempt phase, probing until the instrument echoes 61.
Probing probe(OperationRecord &state, Prompts &prompts, SerialLink &link, InstrumentView &view)
{
    for (;;) {
        QString caption =
            QStringLiteral("Attempting to connect to Corvane on COM ") + portText(state) + QStringLiteral(" .");
        view.setConnectingCaption(caption);
        view.showConnecting();
        int attempts = 0;
        bool restart = false;
        while (!state.link.connected) {
            caption += QStringLiteral(" .");
            view.setConnectingCaption(caption);
            if (++attempts > connection::kMaxProbes) {
                if (!giveUpOrRetry(state, prompts, view))
                    return Probing::GaveUp;
                restart = true;
                break;
            }
            link.emptyBuffer();
            link.sendByte(proto::kFrameStart);
            link.delay(0.1);
            if (link.element(1) == proto::kFrameStart)
                state.link.connected = true;
        }
        if (!restart)
            return Probing::Connected;
    }
}

void switchToCommandMode(SerialLink &link)
{
    link.emptyBuffer();
    for (int i = 0; i < proto::kCommandModeCount; ++i)
        link.sendByte(proto::kCommandModeByte);
    link.delay(0.1);
}

void readVersions(OperationRecord &state, SerialLink &link, InstrumentView &view)
{
    link.emptyBuffer();
    link.sendFrame(proto::kVersionQuery, 0, 0, 0);
    link.delay(0.1);
    state.instrument.softwareVersion = signedText(qint64(link.element(1)));
    state.instrument.hardwareVersion = signedText(qint64(link.element(2)));
    for (int u = 0; u < 4; ++u)
        state.instrument.unitVersions[u] = signedText(qint64(link.element(3 + u)));
    view.versionsRead(state.instrument);
}

void readProductCode(OperationRecord &state, SerialLink &link, InstrumentView &view)
{
    link.emptyBuffer();
    link.sendFrameAt(proto::kRead24C512, 1, proto::kProductCodeAddress);
    link.delay(0.1);
    state.instrument.productCode = quint8(link.element(1));
    view.productCodeRead(state.instrument.productCode);
}

// A Lumisk unit is only served in factory mode. True when the user wants to try
// again; otherwise the instrument has been released and the connection dropped.
bool rejectLumisk(OperationRecord &state, Prompts &prompts, SerialLink &link, InstrumentView &view)
{
    view.hideConnecting();
    prompts.beep();
    if (askTryAgain(state, prompts))
        return true;
    state.link.connected = false;
    link.delay(0.1);
    link.sendFrame(proto::kClearRam, 0, 0, 0);
    view.linkStatusChanged(LinkStatus::NotConnected);
    view.hideProgress();
    state.link.timedOut = true;
    return false;
}

void claimLink(SerialLink &link, InstrumentView &view)
{
    view.hideConnecting();
    view.linkStatusChanged(LinkStatus::Claiming);
    link.writeLinkByte(proto::kLinkByteConnected);
    view.linkStatusChanged(LinkStatus::Connected);
}

void readIdentity(OperationRecord &state, SerialLink &link, InstrumentView &view)
{
    link.emptyBuffer();
    link.sendFrame(proto::kIdentification, 5, 5, 5);
    link.delay(0.1);
    qint64 s[4];
    for (int i = 0; i < 4; ++i)
        s[i] = link.element(1 + i);
    const bool allA =
        s[0] == kErasedSerialA && s[1] == kErasedSerialA && s[2] == kErasedSerialA && s[3] == kErasedSerialA;
    const bool allB =
        s[0] == kErasedSerialB && s[1] == kErasedSerialB && s[2] == kErasedSerialB && s[3] == kErasedSerialB;
    if (allA || allB)
        s[0] = s[1] = s[2] = s[3] = 0;
    // Computed in 64 bits: a first byte above 214 overflows a 32-bit number.
    const qint64 serial = s[0] * 10000000 + s[1] * 100000 + s[2] * 1000 + s[3];
    state.instrument.serialNumber = signedText(serial);
    state.instrument.softwareVersion = signedText(qint64(link.element(5)));
    state.instrument.hardwareVersion = signedText(qint64(link.element(6)));

    link.emptyBuffer();
    link.sendFrame(proto::kReadInternalNvm, 1, 0, proto::kSoftwareVersionByte);
    link.delay(0.25);
    if (link.element(1) < 255)
        state.instrument.softwareVersion = signedText(qint64(link.element(1)));

    state.identified = true;
    view.identified(state.instrument);
}

void readNewConfigCounter(OperationRecord &state, SerialLink &link, InstrumentView &view)
{
    state.link.timedOut = false;
    link.emptyBuffer();
    link.sendFrame(proto::kReadInternalNvm, 2, 0, proto::kUploadCounterByte);
    link.delay(0.25);
    storeNewConfigCounter(state, view, quint8(link.element(1)), quint8(link.element(2)));
}

} // namespace

void storeNewConfigCounter(OperationRecord &state, InstrumentView &view, quint8 high, quint8 low)
{
    quint8 &counterHigh = state.systemBlock[layout::kUploadCounter];
    quint8 &counterLow = state.systemBlock[layout::kUploadCounter + 1];
    counterHigh = high;
    if (counterHigh < kErasedCounter) {
        counterLow = low;
    } else {
        counterHigh = 0;
        counterLow = 1;
    }
    state.newConfigCount = state.systemWord(layout::kUploadCounter);
    view.newConfigCountRead(*state.newConfigCount);
}

void connectToInstrument(OperationRecord &state, Prompts &prompts, SerialLink &link, InstrumentView &view)
{
    if (state.link.portNumber == 0) {
        const int chosen = askForPort(state, link, view);
        if (link.isShutDown())
            link.checkLost();
        if (chosen == 0)
            return;
        state.link.portNumber = quint8(chosen);
    }

    link.openComPort();
    if (!link.isOpen())
        return;

    // Command-mode check: an instrument left in command mode answers 4.
    link.emptyBuffer();
    link.sendFrame(proto::kCommandModeCheck, 5, 5, 5);
    link.delay(0.1);
    bool inCommandMode = false;
    if (link.element(1) == proto::kAlreadyInCommandMode) {
        state.link.connected = true;
        link.RxBuffer[1] = proto::kCommandModeAnswer;
        inCommandMode = true;
    }

    int restarts = 0;
    for (;;) {
        if (!inCommandMode) {
            if (probe(state, prompts, link, view) == Probing::GaveUp)
                return;
            switchToCommandMode(link);
        }
        inCommandMode = false;

        if (link.element(1) != proto::kCommandModeAnswer) {
            state.link.connected = false;
            // An instrument that echoes the probe but never answers 64 would keep
            // this cycling for ever; after 25 rounds the user decides.
            if (++restarts >= connection::kMaxRestarts) {
                restarts = 0;
                if (!giveUpOrRetry(state, prompts, view))
                    return;
            }
            continue;
        }

        readVersions(state, link, view);
        readProductCode(state, link, view);
        if (state.instrument.productCode == kLumiskProductCode && !state.factory.armed) {
            if (!rejectLumisk(state, prompts, link, view))
                return;
            // Still in command mode: the attempt phase skips probing and the eight
            // "#" bring it back in step.
            continue;
        }
        break;
    }

    claimLink(link, view);
    readIdentity(state, link, view);
    readNewConfigCounter(state, link, view);
    state.link.connected = true;
    qCInfo(lcLink) << "connected on COM" << state.link.portNumber << "serial" << state.instrument.serialNumber;
}
