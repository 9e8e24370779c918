#include "link/Clock.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <cmath>

SteadyClock::SteadyClock() = default;

double SteadyClock::now() const
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

bool SteadyClock::waitUntil(double deadline, const std::function<bool()> &done)
{
    // Conditions that no wake() announces (a flag set by another window) are
    // looked at again at least this often.
    constexpr double kRecheck = 0.025;
    for (;;) {
        if (done && done())
            return true;
        const double left = deadline - now();
        if (left <= 0)
            return false;
        const double slice = done ? std::min(left, kRecheck) : left;
        QEventLoop loop;
        QTimer timer;
        timer.setSingleShot(true);
        timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
        timer.start(std::max(0, int(std::ceil(slice * 1000.0))));
        QEventLoop *outer = m_innermost;
        m_innermost = &loop;
        loop.exec();
        m_innermost = outer;
    }
}

void SteadyClock::processEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void SteadyClock::wake()
{
    if (m_innermost)
        m_innermost->quit();
}
