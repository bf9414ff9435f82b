#pragma once
// One long client run (a push or a pull) that is watched while it runs: a
// tick every so often for the progress, and a cancel that ends the client
// (which we started; adb's own children go with it).

#include <QString>
#include <atomic>
#include <chrono>
#include <functional>
#include <sys/types.h>

#include "device/ClientAnswer.h"

namespace kz::transfer {

struct WatchedAnswer {
    kz::ClientAnswer answer;
    bool cancelled = false;
};

// `tick` gets the client's process id, on a thread of its own.
WatchedAnswer RunWatchedClient(const QString& command, const std::function<void(pid_t)>& tick,
                               const std::atomic<bool>& cancel, std::chrono::milliseconds every);

}  // namespace kz::transfer
