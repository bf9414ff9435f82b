#pragma once
// Reading adb's own "devices" answer (before any rewriting).

#include <string_view>

namespace kz::adapter {

// True when the list names at least one device and none in the "offline"
// state (a transport that is connected but has not finished its handshake).
// An empty list is not settled: right after a server start, a box reached
// over TCP is not even listed until it has registered with the server.
// With a `serial`, only that box counts: with several boxes, the one the
// command names may register after the others.
bool DevicesSettled(std::string_view devicesOutput, std::string_view serial = {});

}  // namespace kz::adapter
