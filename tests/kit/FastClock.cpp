#include "kit/FastClock.h"

#include <algorithm>
#include <chrono>

namespace
{
// Conditions no wake() announces are looked at again at least this often (wall seconds).
constexpr double kRecheck = 0.002;
} // namespace

double FastClock::now() const
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count() * kSpeed;
}

bool FastClock::waitUntil(double deadline, const std::function<bool()> &done)
{
    for (;;) {
        if (done && done())
            return true;
        const double left = (deadline - now()) / kSpeed;
        if (left <= 0)
            return false;
        const double slice = done ? std::min(left, kRecheck) : left;
        std::unique_lock<std::mutex> lock(m_mutex);
        m_woken.wait_for(lock, std::chrono::duration<double>(slice), [this] { return m_wakePending; });
        m_wakePending = false;
    }
}

void FastClock::wake()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_wakePending = true;
    }
    m_woken.notify_all();
}
