#include "kit/VirtualClock.h"

#include <QCoreApplication>
#include <cmath>

void VirtualClock::processEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void VirtualClock::schedule(double at, std::function<void()> fn)
{
    m_events.emplace(std::make_pair(at, m_seq++), std::move(fn));
}

bool VirtualClock::waitUntil(double deadline, const std::function<bool()> &done)
{
    for (;;) {
        processEvents();
        if (done && done())
            return true;
        if (m_now >= deadline) {
            ++timeouts;
            return false;
        }
        if (!m_events.empty() && m_events.begin()->first.first <= deadline) {
            auto it = m_events.begin();
            m_now = std::max(m_now, it->first.first);
            auto fn = std::move(it->second);
            m_events.erase(it);
            if (m_now > limit)
                throw VirtualClockHang("virtual clock passed its limit: an operation does not end");
            fn();
            continue;
        }
        if (std::isinf(deadline))
            throw VirtualClockHang("a wait with no deadline has nothing left that could end it");
        m_now = deadline;
        if (m_now > limit)
            throw VirtualClockHang("virtual clock passed its limit: an operation does not end");
    }
}
