// The real main window talking to the in-process simulated instrument on the virtual clock.
#pragma once

#include "Simulator.h"
#include "kit/ScriptedPrompts.h"
#include "kit/SimulatorPort.h"
#include "kit/TempProgramFolder.h"
#include "kit/VirtualClock.h"
#include "ui/editor/MainWindow.h"

#include <QFile>
#include <QTimer>
#include <memory>

struct SimulatedEditor {
    TempProgramFolder folder;
    ScriptedPrompts prompts;
    VirtualClock clock;
    Simulator sim;
    SimulatorPort port{sim, clock};
    std::unique_ptr<MainWindow> window;
    int ended = 0;

    // COMn in the program folder names the simulated port; `start` opens the window at once.
    explicit SimulatedEditor(int comPort, bool start = true)
    {
        QFile::link(QStringLiteral("/nonexistent-serial-device"), folder.file(QStringLiteral("COM%1").arg(comPort)));
        if (start)
            open();
    }
    void open()
    {
        window = std::make_unique<MainWindow>(prompts, clock, folder.path(), &port);
        window->findChild<QTimer *>(QStringLiteral("Timer1"))->stop(); // tests tick the timer by hand
        window->endProgram = [this] { ++ended; };
    }
    EditorState &state() { return window->state(); }
    template <class T> T *get(const QString &name) const
    {
        T *w = window->findChild<T *>(name);
        if (!w)
            qFatal("no child named %s", qPrintable(name));
        return w;
    }
    void trigger(const QString &action) { get<QAction>(action)->trigger(); }
    QByteArray defaultFile() const { return folder.read(QStringLiteral("DEFAULT.CFG")); }
};
