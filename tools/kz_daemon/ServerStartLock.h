#pragma once
// Several adapters may find the server missing at once (the program runs
// commands from several threads).  Concurrent `adb start-server` calls race
// for the port and the losers fail with "ADB server didn't ACK", so the
// adapters take turns: the first starts the server, the others then find it.

#include "tools/kz_daemon/SignalChannel.h"

#include <chrono>

namespace kz::adapter {

class ServerStartLock
{
public:
    // Waits for the turn for `port`, at most `patience` and never past a stop
    // request.  When the lock file cannot be used, the adapter goes on
    // without a turn: the race is no worse than adb's own.
    ServerStartLock(int port, SignalChannel& signals, std::chrono::milliseconds patience);
    ~ServerStartLock();
    ServerStartLock(const ServerStartLock&) = delete;
    ServerStartLock& operator=(const ServerStartLock&) = delete;

private:
    int fd_ = -1;
};

}  // namespace kz::adapter
