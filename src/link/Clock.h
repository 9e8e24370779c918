// Time and waiting: "now", and letting window messages run until a deadline or a condition.
#pragma once

#include <functional>
#include <limits>

class QEventLoop;

class Clock
{
public:
    static constexpr double kForever = std::numeric_limits<double>::infinity();

    virtual ~Clock() = default;
    // Monotonic time in seconds.
    virtual double now() const = 0;
    // Lets window messages run until `done()` is true or `deadline` (on this clock)
    // has passed, whichever comes first. Returns true when `done()` ended the wait.
    // `done` may be empty: then only the deadline ends the wait.
    virtual bool waitUntil(double deadline, const std::function<bool()> &done) = 0;
    // Lets pending window messages run once, without waiting.
    virtual void processEvents() = 0;
    // Wakes the innermost wait so that it checks its condition again at once
    // (data arrived, a button was clicked).
    virtual void wake() = 0;

    // Delay(t): returns after t seconds have elapsed, letting window messages run.
    void delay(double seconds) { waitUntil(now() + seconds, {}); }
};

// The real clock: a steady clock, and waits that sleep in a nested event loop
// until a timer or wake() ends them (the processor stays idle while waiting).
class SteadyClock : public Clock
{
public:
    SteadyClock();
    double now() const override;
    bool waitUntil(double deadline, const std::function<bool()> &done) override;
    void processEvents() override;
    void wake() override;

private:
    QEventLoop *m_innermost = nullptr;
};
