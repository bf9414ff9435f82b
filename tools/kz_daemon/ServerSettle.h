#pragma once
// A call that had to start the adb server returns before a box reached over
// TCP has finished its handshake; the next call would then find it "offline".
// The adapter waits that moment out so its caller sees a settled device list.

#include "tools/kz_daemon/SignalChannel.h"

#include <chrono>
#include <string>

namespace kz::adapter {

// Runs `adb devices` quietly until no device is listed as offline, the budget
// is spent, adb cannot be run or a stop is requested.
void WaitUntilNoDeviceOffline(const std::string& adb, SignalChannel& signals, std::chrono::milliseconds budget);

}  // namespace kz::adapter
