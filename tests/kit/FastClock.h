// A real clock that runs faster than the wall: its waits block the calling thread (so
// the runner puts operations on their link thread, as in the editor), but a protocol
// second passes in a few milliseconds.
#pragma once

#include "link/Clock.h"

#include <condition_variable>
#include <mutex>

class FastClock : public Clock
{
public:
    // Clock seconds per wall second.
    static constexpr double kSpeed = 200.0;

    double now() const override;
    bool waitUntil(double deadline, const std::function<bool()> &done) override;
    void wake() override;
    bool blocksThread() const override { return true; }

private:
    std::mutex m_mutex;
    std::condition_variable m_woken;
    bool m_wakePending = false;
};
