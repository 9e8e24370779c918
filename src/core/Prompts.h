// The one way the editor asks or tells the user anything: beep, questions, messages, input boxes, file dialogs.
#pragma once

#include <QPoint>
#include <QString>
#include <optional>

// Message box answers (what askYesNo returns).
constexpr quint8 kYes = 6;
constexpr quint8 kNo = 7;

class Prompts
{
public:
    enum class Icon { None, Question, Exclamation, Critical, Information };

    virtual ~Prompts() = default;

    virtual void beep() = 0;
    // Yes/No message box; returns 6 (Yes) or 7 (No).
    virtual int askYesNo(const QString &title, const QString &text, Icon icon) = 0;
    // Message box with an OK button.
    virtual void message(const QString &title, const QString &text, Icon icon) = 0;
    // Prompt dialog. Returns the typed text, or an empty string on Cancel.
    // `twips` is the dialog's top-left corner (x = left, y = top) in twips when given.
    virtual QString inputBox(const QString &prompt, const QString &title, const QString &defaultText,
                             std::optional<QPoint> twips = std::nullopt) = 0;
    // File dialogs; filter is given as the designed "Description| pattern" text.
    // Return the chosen path, or an empty string when cancelled.
    virtual QString openFile(const QString &title, const QString &filter) = 0;
    virtual QString saveFile(const QString &title, const QString &filter) = 0;
    // Folder dialog; returns the chosen folder, or an empty string when cancelled (as
    // a prompter without one does).
    virtual QString chooseFolder(const QString &title)
    {
        Q_UNUSED(title);
        return QString();
    }
};

// The application title used for message boxes that have no title of their own.
QString applicationTitle();
