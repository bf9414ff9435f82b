#pragma once
// Reading adb's own "devices" answer (before any rewriting).

#include <string_view>

namespace kz::adapter {

// True when a line of the list names a device in the "offline" state, i.e. a
// transport that is connected but has not finished its handshake yet.
bool ListsOfflineDevice(std::string_view devicesOutput);

}  // namespace kz::adapter
