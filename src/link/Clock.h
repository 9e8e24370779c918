// Time and waiting: "now", and waits that end at a deadline or when a condition holds.
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <limits>
#include <mutex>

class BytePort;

class Clock
{
public:
    static constexpr double kForever = std::numeric_limits<double>::infinity();

    virtual ~Clock() = default;
    // Monotonic time in seconds.
    virtual double now() const = 0;
    // Waits until `done()` is true or `deadline` (on this clock) has passed, whichever
    // comes first; received bytes are taken in meanwhile. Returns true when `done()` ended the wait.
    // `done` may be empty: then only the deadline ends the wait.
    virtual bool waitUntil(double deadline, const std::function<bool()> &done) = 0;
    // Wakes the innermost wait so that it checks its condition again at once
    // (data arrived, a button was clicked).
    virtual void wake() = 0;

    // True when waits block the calling thread (no window messages run meanwhile):
    // operations on such a clock belong on a thread of their own.
    virtual bool blocksThread() const { return false; }
    // The port whose bytes arrive during waits (a clock that sleeps in the port).
    virtual void attachPort(BytePort * /*port*/) {}

    // delay(t): returns after t seconds have elapsed.
    void delay(double seconds) { waitUntil(now() + seconds, {}); }
};

// The real clock: a steady clock, and waits that block the calling thread until the
// deadline, the condition, or wake(). While a port is attached and open the wait sleeps
// in the port (the receive handler runs as bytes arrive); otherwise on a condition
// variable. No window messages run: the editor calls it on its link thread only.
class DeadlineClock : public Clock
{
public:
    double now() const override;
    bool waitUntil(double deadline, const std::function<bool()> &done) override;
    // Any thread.
    void wake() override;
    bool blocksThread() const override { return true; }
    void attachPort(BytePort *port) override { m_port = port; }

private:
    void sleep(double seconds);

    std::atomic<BytePort *> m_port{nullptr};
    std::mutex m_mutex;
    std::condition_variable m_woken;
    bool m_wakePending = false;
};
