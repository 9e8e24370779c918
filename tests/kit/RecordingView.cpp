#include "kit/RecordingView.h"

#include "core/EditorState.h"
#include "core/NumberText.h"

#include <utility>

bool RecordingView::called(const QString &name) const
{
    for (const QString &c : calls)
        if (c == name || c.startsWith(name + QLatin1Char(':')))
            return true;
    return false;
}

void RecordingView::askPort(int current, std::function<void(int)> answer)
{
    record("askPort", QString::number(current));
    chooserVisible = true;
    selectedPortOption = current;
    m_portAnswer = std::move(answer);
    if (onShowPortChooser)
        onShowPortChooser();
}

void RecordingView::answerPort(int port)
{
    chooserVisible = false;
    if (const auto answer = std::exchange(m_portAnswer, nullptr))
        answer(port);
}

void RecordingView::portChanged(int n)
{
    selectedPortOption = n;
    commsPortLabel = QStringLiteral("COM Port = ") + numtext::signedText(qint64(n));
    record("portChanged", QString::number(n));
}

void RecordingView::identified(const InstrumentIdentity &identity)
{
    serialNumberLabel = QStringLiteral(" Corvane SN#: ") + identity.serialNumber;
    record("identified", identity.serialNumber);
}

void RecordingView::record(const char *name, const QString &arg)
{
    calls << (arg.isNull() ? QString::fromLatin1(name) : QString::fromLatin1(name) + QLatin1Char(':') + arg);
}
