// Serves the simulated instrument on a pseudo-terminal in real time, reachable through a COMn link.
#pragma once

#include "Simulator.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <deque>

class QSocketNotifier;
class QTimer;

class PtyServer : public QObject
{
    Q_OBJECT
public:
    explicit PtyServer(Simulator &sim, QObject *parent = nullptr);
    ~PtyServer() override;

    // Opens a pseudo-terminal in raw mode and makes `linkPath` a symbolic link to
    // its terminal side. An existing symbolic link there is replaced; anything else
    // is left alone and the start fails.
    bool start(const QString &linkPath, QString *error);
    // Removes the link and closes the pseudo-terminal.
    void stop();
    QString terminalName() const { return m_slaveName; }

signals:
    // The simulated instrument disconnected itself (fault knob).
    void disconnected();

private:
    void readInput();
    void flushDue();

    struct Pending {
        double due;
        quint8 byte;
    };

    Simulator &m_sim;
    int m_master = -1;
    int m_slaveKeeper = -1; // keeps the terminal side open between editor sessions
    QString m_slaveName;
    QString m_linkPath;
    QSocketNotifier *m_notifier = nullptr;
    QTimer *m_timer = nullptr;
    QElapsedTimer m_clock;
    std::deque<Pending> m_pending;
};
