// Builds the real main window for a test: scripted prompts, a virtual clock and a temporary program folder.
#pragma once

#include "kit/ScriptedPrompts.h"
#include "kit/TempProgramFolder.h"
#include "kit/VirtualClock.h"
#include "ui/editor/MainWindow.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <memory>

struct MainWindowFixture {
    TempProgramFolder folder;
    ScriptedPrompts prompts;
    VirtualClock clock;
    std::unique_ptr<MainWindow> window;

    MainWindowFixture()
    {
        window = std::make_unique<MainWindow>(prompts, clock, folder.path());
        // Tests tick the timer by hand.
        window->findChild<QTimer *>(QStringLiteral("Timer1"))->stop();
    }

    EditorState &state() { return window->state(); }
    quint8 *block(int n) { return window->state().configBlock[n]; }
    quint8 &sys(int n) { return window->state().systemBlock[n]; }

    template <class T> T *get(const QString &name) const
    {
        T *w = window->findChild<T *>(name);
        if (!w)
            qFatal("no child named %s", qPrintable(name));
        return w;
    }
    QString text(const QString &labelName) const { return get<QLabel>(labelName)->text(); }

    // Configuration button n (1..16), as the user clicks it.
    void select(int config) { get<QPushButton>(QStringLiteral("CmdConf1_%1").arg(config - 1))->click(); }
    void trigger(const QString &action) { get<QAction>(action)->trigger(); }
    void click(const QString &button) { get<QPushButton>(button)->click(); }
    // The user picks list entry `position` (Qt changes the entry, then reports the activation).
    void pick(const QString &list, int position)
    {
        auto *combo = get<QComboBox>(list);
        combo->setCurrentIndex(position);
        emit combo->activated(position);
    }
    // Clears a whole display block so that a test starts from a known configuration.
    void blankBlock(int n)
    {
        for (int d = 0; d <= 127; ++d)
            block(n)[d] = 0;
    }
};
