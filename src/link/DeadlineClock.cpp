#include "link/BytePort.h"
#include "link/Clock.h"

#include <chrono>
#include <cmath>

namespace
{
// Conditions that no wake() announces (a window closed, a flag set by the user) are
// looked at again at least this often.
constexpr double kRecheck = 0.025;
} // namespace

double DeadlineClock::now() const
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

bool DeadlineClock::waitUntil(double deadline, const std::function<bool()> &done)
{
    for (;;) {
        if (done && done())
            return true;
        const double left = deadline - now();
        if (left <= 0)
            return false;
        const double slice = done ? std::min(left, kRecheck) : left;
        BytePort *port = m_port;
        if (port && port->isOpen()) {
            // Returns early when bytes arrive: the receive handler has stored them.
            const double started = now();
            const bool received = port->waitForData(std::max(1, int(std::ceil(slice * 1000.0))));
            // A port that cannot wait (an error under way) must not make this spin.
            if (!received && now() - started < slice / 2)
                sleep(slice);
        } else {
            sleep(slice);
        }
    }
}

void DeadlineClock::sleep(double seconds)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_woken.wait_for(lock, std::chrono::duration<double>(seconds), [this] { return m_wakePending; });
    m_wakePending = false;
}

void DeadlineClock::wake()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_wakePending = true;
    }
    m_woken.notify_all();
}
