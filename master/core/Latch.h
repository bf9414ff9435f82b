#pragma once
// A one-way signal between threads: once set it stays set, and every waiter
// wakes at once.  Workers use it to learn that their dialog has closed or
// that the thread they wait for has ended, without sleeping out a full
// interval.

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace kz::master {

class Latch {
public:
    void Set()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_set = true;
        }
        m_changed.notify_all();
    }

    bool IsSet() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_set;
    }

    // True when set within `timeout`.
    bool WaitFor(std::chrono::milliseconds timeout)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_changed.wait_for(lock, timeout, [this] { return m_set; });
    }

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_set = false;
};

}  // namespace kz::master
