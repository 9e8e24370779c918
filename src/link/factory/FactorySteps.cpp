#include "link/factory/FactorySteps.h"

#include "link/WrittenParts.h"

#include "core/ImageLayout.h"
#include "core/Prompts.h"
#include "core/Protocol.h"
#include "link/InstrumentContext.h"
#include "link/InstrumentView.h"
#include "link/OperationRecord.h"
#include "link/SerialLink.h"

#include <QPoint>

namespace factory
{
namespace
{
constexpr int kPromptTwips = 1000;
constexpr int kBlockReadAttempts = 3;
} // namespace

bool confirm(FactorySession &s, const QString &title, const QString &warning)
{
    s.ctx.prompts.beep();
    return s.ctx.prompts.askYesNo(title, QStringLiteral("Are you sure?\r\n") + warning, Prompts::Icon::Question) ==
           kYes;
}

QString ask(FactorySession &s, const QString &prompt, const QString &title)
{
    return s.ctx.prompts.inputBox(prompt, title, QString(), QPoint(kPromptTwips, kPromptTwips));
}

Checked askChecked(FactorySession &s, const QString &prompt, const QString &title,
                   const std::function<Checked(const QString &)> &check)
{
    const Checked answer = check(ask(s, prompt, title));
    if (!answer.ok && !answer.cancelled())
        s.ctx.prompts.message(title, answer.message, Prompts::Icon::Exclamation);
    return answer;
}

CommandEnd endOf(const Checked &answer)
{
    return answer.cancelled() ? CommandEnd::Cancelled : CommandEnd::Refused;
}

void tell(FactorySession &s, const QString &title, const QString &text)
{
    s.ctx.prompts.message(title, text, Prompts::Icon::Critical);
}

bool reportMissedEchoes(FactorySession &s, const QString &title)
{
    return reportUnacknowledgedBytes(s.ctx.link, s.ctx.prompts, title);
}

bool readInstrumentSystemBlock(SerialLink &link, quint8 *block)
{
    bool complete = false;
    for (int attempt = 0; attempt < kBlockReadAttempts; ++attempt) {
        link.RxCount = 0;
        link.port().discardInput();
        link.sendFrame(proto::kReadInternalNvm, 0, 0, 0);
        link.delay(1.0);
        if (link.RxCount < proto::kSystemBlockSize)
            continue;
        for (int i = 0; i < proto::kSystemBlockSize; ++i)
            block[i] = quint8(link.element(i + 1));
        complete = true;
        // A block garbled on the way fails its checksum; one stored with a wrong checksum
        // keeps failing and is taken as it is (the write recomputes byte 0).
        if (systemBlockChecksum(block) == block[layout::kSystemChecksum])
            break;
    }
    return complete;
}

void markDisconnected(FactorySession &s)
{
    s.ctx.state.link.connected = false;
    s.ctx.view.linkStatusChanged(LinkStatus::NotConnectedTessaro);
    s.ctx.view.hideProgress();
}

bool stopIfCancelled(FactorySession &s, const QString &title, const WrittenParts &parts)
{
    if (!s.ctx.link.cancelRequested())
        return false;
    s.ctx.view.hideProgress();
    s.ctx.prompts.message(title, QStringLiteral("Cancelled.\r\n") + parts.describe(), Prompts::Icon::Information);
    return true;
}

} // namespace factory
