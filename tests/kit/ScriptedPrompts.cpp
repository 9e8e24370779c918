#include "kit/ScriptedPrompts.h"

#include <QTest>

QString kindName(PromptRecord::Kind kind)
{
    switch (kind) {
    case PromptRecord::Kind::YesNo:
        return QStringLiteral("Yes/No question");
    case PromptRecord::Kind::Message:
        return QStringLiteral("message");
    case PromptRecord::Kind::Input:
        return QStringLiteral("input box");
    case PromptRecord::Kind::OpenFile:
        return QStringLiteral("open-file dialog");
    case PromptRecord::Kind::SaveFile:
        return QStringLiteral("save-file dialog");
    }
    return QString();
}

ScriptedPrompts &ScriptedPrompts::push(Kind kind, const QString &answer)
{
    m_queue.push_back({kind, [answer](const PromptRecord &) { return answer; }});
    return *this;
}

ScriptedPrompts &ScriptedPrompts::answerWith(Kind kind, Answer answer)
{
    m_queue.push_back({kind, std::move(answer)});
    return *this;
}

ScriptedPrompts &ScriptedPrompts::otherwise(Kind kind, Answer answer)
{
    m_otherwise[kind] = std::move(answer);
    return *this;
}

void ScriptedPrompts::clear()
{
    m_queue.clear();
    m_otherwise.clear();
    records.clear();
    unexpected.clear();
    beeps = 0;
}

bool ScriptedPrompts::verifyAllUsed() const
{
    if (!unexpected.isEmpty()) {
        QTest::qFail(qPrintable(QStringLiteral("unexpected prompts: ") + unexpected.join(QStringLiteral(" | "))),
                     __FILE__, __LINE__);
        return false;
    }
    if (!m_queue.empty()) {
        QTest::qFail(qPrintable(QStringLiteral("%1 queued answers were never asked for (next: %2)")
                                    .arg(m_queue.size())
                                    .arg(kindName(m_queue.front().kind))),
                     __FILE__, __LINE__);
        return false;
    }
    return true;
}

QString ScriptedPrompts::take(const PromptRecord &record)
{
    records.append(record);
    if (m_queue.empty() || m_queue.front().kind != record.kind) {
        const auto standing = m_otherwise.find(record.kind);
        if (standing != m_otherwise.end())
            return standing->second(record);
        const QString what = QStringLiteral("%1 \"%2\": \"%3\"").arg(kindName(record.kind), record.title, record.text);
        unexpected.append(what);
        QTest::qFail(qPrintable(QStringLiteral("unexpected ") + what), __FILE__, __LINE__);
        return QString();
    }
    Expectation e = std::move(m_queue.front());
    m_queue.pop_front();
    return e.answer(record);
}

int ScriptedPrompts::askYesNo(const QString &title, const QString &text, Icon icon)
{
    const QString a = take({Kind::YesNo, title, text, QString(), icon, std::nullopt});
    return a == QLatin1String("6") ? 6 : 7;
}

void ScriptedPrompts::message(const QString &title, const QString &text, Icon icon)
{
    take({Kind::Message, title, text, QString(), icon, std::nullopt});
}

QString ScriptedPrompts::inputBox(const QString &prompt, const QString &title, const QString &defaultText,
                                  std::optional<QPoint> twips)
{
    return take({Kind::Input, title, prompt, defaultText, Icon::None, twips});
}

QString ScriptedPrompts::openFile(const QString &title, const QString &filter)
{
    return take({Kind::OpenFile, title, filter, QString(), Icon::None, std::nullopt});
}

QString ScriptedPrompts::saveFile(const QString &title, const QString &filter)
{
    return take({Kind::SaveFile, title, filter, QString(), Icon::None, std::nullopt});
}
