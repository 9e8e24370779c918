#include "PtyServer.h"

#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

PtyServer::PtyServer(Simulator &sim, QObject *parent) : QObject(parent), m_sim(sim)
{
    m_timer = new QTimer(this);
    m_timer->setSingleShot(true);
    m_timer->setTimerType(Qt::PreciseTimer);
    connect(m_timer, &QTimer::timeout, this, &PtyServer::flushDue);
    m_clock.start();
}

PtyServer::~PtyServer()
{
    stop();
}

bool PtyServer::start(const QString &linkPath, QString *error)
{
    auto fail = [&](const QString &what) {
        if (error)
            *error = what + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
        stop();
        return false;
    };
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_master < 0)
        return fail(QStringLiteral("posix_openpt"));
    if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0)
        return fail(QStringLiteral("grantpt/unlockpt"));
    const char *name = ::ptsname(m_master);
    if (!name)
        return fail(QStringLiteral("ptsname"));
    m_slaveName = QString::fromLocal8Bit(name);
    // Holding the terminal side open ourselves means the master never reads EIO
    // when the editor closes the port, so the next editor session finds it alive.
    m_slaveKeeper = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_slaveKeeper < 0)
        return fail(QStringLiteral("open ") + m_slaveName);
    termios tio{};
    if (::tcgetattr(m_slaveKeeper, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::cfsetispeed(&tio, B115200);
        ::cfsetospeed(&tio, B115200);
        ::tcsetattr(m_slaveKeeper, TCSANOW, &tio);
    }

    const QFileInfo existing(linkPath);
    if (existing.isSymLink())
        QFile::remove(linkPath);
    else if (existing.exists()) {
        errno = EEXIST;
        return fail(QStringLiteral("%1 exists and is not a symbolic link").arg(linkPath));
    }
    if (!QFile::link(m_slaveName, linkPath))
        return fail(QStringLiteral("cannot create the link %1").arg(linkPath));
    m_linkPath = linkPath;

    m_notifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &PtyServer::readInput);
    return true;
}

void PtyServer::stop()
{
    if (m_notifier) {
        m_notifier->setEnabled(false);
        delete m_notifier;
        m_notifier = nullptr;
    }
    if (!m_linkPath.isEmpty() && QFileInfo(m_linkPath).isSymLink())
        QFile::remove(m_linkPath);
    m_linkPath.clear();
    if (m_slaveKeeper >= 0)
        ::close(m_slaveKeeper);
    if (m_master >= 0)
        ::close(m_master);
    m_slaveKeeper = m_master = -1;
    m_pending.clear();
}

void PtyServer::readInput()
{
    unsigned char buffer[512];
    for (;;) {
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n <= 0)
            break;
        const double now = m_clock.nsecsElapsed() / 1e9;
        for (ssize_t i = 0; i < n; ++i) {
            for (const SimReply &r : m_sim.receive(buffer[i], now))
                m_pending.push_back({now + r.delay, r.byte});
        }
    }
    // Keep the wire's order: a late byte holds back the ones after it.
    for (size_t i = 1; i < m_pending.size(); ++i)
        m_pending[i].due = std::max(m_pending[i].due, m_pending[i - 1].due);
    flushDue();
    if (m_sim.disconnected()) {
        // Like an unplugged cable: the port goes away under the editor.
        stop();
        emit disconnected();
    }
}

void PtyServer::flushDue()
{
    if (m_master < 0)
        return;
    const double now = m_clock.nsecsElapsed() / 1e9;
    QByteArray out;
    while (!m_pending.empty() && m_pending.front().due <= now) {
        out += char(m_pending.front().byte);
        m_pending.pop_front();
    }
    qsizetype written = 0;
    while (written < out.size()) {
        const ssize_t n = ::write(m_master, out.constData() + written, size_t(out.size() - written));
        if (n <= 0)
            break; // the terminal's queue is full: nobody is reading, drop the rest
        written += n;
    }
    if (!m_pending.empty())
        m_timer->start(std::max(0, int((m_pending.front().due - now) * 1000.0 + 0.5)));
}
