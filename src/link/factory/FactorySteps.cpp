#include "link/factory/FactorySteps.h"

#include "link/WrittenParts.h"

#include "core/EditorState.h"
#include "core/Prompts.h"
#include "core/Protocol.h"
#include "link/InstrumentContext.h"
#include "link/InstrumentImage.h"
#include "link/InstrumentView.h"
#include "link/SerialLink.h"

#include <QPoint>
#include <cstring>

namespace factory
{
namespace
{
constexpr int kPromptTwips = 1000;
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

bool readInstrumentSystemBlock(FactorySession &s, const QString &title, const QString &done, quint8 *block)
{
    const transfer::ConfirmedRead read = transfer::readSettingsBlock(s.ctx.link);
    if (read.agreed()) {
        memcpy(block, read.bytes.constData(), proto::kSystemBlockSize);
        return true;
    }
    s.ctx.view.hideProgress();
    const QString how = read.problem == transfer::ConfirmedRead::Problem::Missing
                            ? QStringLiteral("did not send its settings (internal NVM 0 to 255) completely")
                            : QStringLiteral("sent its settings (internal NVM 0 to 255) garbled: no two readings "
                                             "agreed");
    tell(s, title,
         QStringLiteral("The instrument %1.\r\n%2Its settings were not written: check the cable and the power, "
                        "then try again.")
             .arg(how, done));
    return false;
}

void markDisconnected(FactorySession &s)
{
    s.ctx.state.link.connected = false;
    s.ctx.view.setConnectedLabel(QStringLiteral("Not connected to Tessaro"));
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
