// A clock whose time only moves when something waits: a full transfer runs in milliseconds.
#pragma once

#include "link/Clock.h"

#include <functional>
#include <map>
#include <stdexcept>

// Thrown when a wait could never end: nothing is scheduled and the deadline is
// infinite, or the virtual time passed `limit`.
struct VirtualClockHang : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class VirtualClock : public Clock
{
public:
    double now() const override { return m_now; }
    bool waitUntil(double deadline, const std::function<bool()> &done) override;
    // Lets pending window messages run once (every wait does, so clicks land mid-transfer).
    void processEvents();
    void wake() override {}

    // Runs `fn` when the virtual time reaches `at` (events at the same time run in
    // the order they were scheduled).
    void schedule(double at, std::function<void()> fn);
    void scheduleIn(double seconds, std::function<void()> fn) { schedule(m_now + seconds, std::move(fn)); }
    // Moves time forward by `seconds`, running everything scheduled meanwhile.
    void advance(double seconds) { waitUntil(m_now + seconds, {}); }
    bool hasScheduled() const { return !m_events.empty(); }
    void clearScheduled() { m_events.clear(); }

    // Virtual seconds after which any wait counts as a hang.
    double limit = 1.0e6;
    // Number of waits that ended by time-out (deadline) rather than their condition.
    int timeouts = 0;

private:
    double m_now = 1000.0;
    unsigned long long m_seq = 0;
    std::multimap<std::pair<double, unsigned long long>, std::function<void()>> m_events;
};
