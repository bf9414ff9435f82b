#pragma once
// Whether an adb server is running, told by a plain TCP connect.

#include <chrono>

namespace kz::adapter {

// True when something accepts connections on 127.0.0.1:`port`.  A connect
// that neither completes nor fails within `timeout` (a listener whose queue
// is full) counts as a listener: the adapter then leaves the server to adb.
bool ServerListens(int port, std::chrono::milliseconds timeout);

}  // namespace kz::adapter
