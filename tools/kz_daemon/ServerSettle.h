#pragma once
// A freshly started adb server acknowledges its start before it has connected
// a box reached over TCP: the next call would find no device, or find it
// "offline".  The adapter waits that moment out so its caller sees a settled
// device list.

#include "tools/kz_daemon/SignalChannel.h"

#include <chrono>
#include <string>

namespace kz::adapter {

// Runs `adb devices` quietly until it lists a device and none offline (with
// a `serial`: until it lists that one, not offline), the budget is spent, adb
// cannot be run or a stop is requested.
void WaitUntilDevicesSettled(const std::string& adb, SignalChannel& signals, std::chrono::milliseconds budget,
                             const std::string& serial = {});

}  // namespace kz::adapter
