#pragma once
// How a worker thread is started.  The default makes a std::thread; tests
// hand in one that fails, so the undoing of a start that did not happen can
// be seen.  A starter that cannot start throws std::system_error, as
// std::thread's constructor does.

#include <functional>
#include <thread>

namespace kz::ui {

using ThreadStarter = std::function<std::thread(std::function<void()> body)>;

// Runs `start` (the default when empty) with `body`.
inline std::thread StartThread(const ThreadStarter& start, std::function<void()> body)
{
    return start ? start(std::move(body)) : std::thread(std::move(body));
}

}  // namespace kz::ui
