#pragma once
// The adapter's one wait loop: passes the child's output on as it arrives,
// forwards a stop request to the child and ends with the child.

#include "tools/kz_daemon/ChildProcess.h"
#include "tools/kz_daemon/SignalChannel.h"

#include <chrono>
#include <functional>
#include <string_view>

namespace kz::adapter {

struct PumpSink
{
    std::function<void(std::string_view)> output;
    // Asked before every wait: while it answers true, `idle` is called once the
    // pipe has been quiet for the idle delay.
    std::function<bool()> wantsIdle = [] { return false; };
    std::function<void()> idle = [] {};
};

// Runs until the child has exited and its pipe holds nothing more right now.
// It never waits for end of file: an adb server started by the child may keep
// a copy of the pipe open long after.  Closes the child's pipe and returns its
// wait status.
int PumpUntilExit(Child& child, SignalChannel& signals, const PumpSink& sink, std::chrono::milliseconds idleDelay);

}  // namespace kz::adapter
