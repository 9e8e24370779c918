// The answer to a question an operation asked: given once (on the windows' thread, or
// by a test), taken by the operation after its wait. Either side may outlive the other.
#pragma once

#include "link/Clock.h"

#include <mutex>
#include <optional>

template <class T> class Reply
{
public:
    explicit Reply(Clock &clock) : m_clock(clock) {}

    // The first answer counts; the operation's wait looks at it at once.
    void give(const T &value)
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_value)
                return;
            m_value = value;
        }
        m_clock.wake();
    }
    bool answered() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_value.has_value();
    }
    std::optional<T> value() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_value;
    }

private:
    Clock &m_clock;
    mutable std::mutex m_mutex;
    std::optional<T> m_value;
};
