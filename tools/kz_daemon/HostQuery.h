#pragma once
// Asking a running adb server directly.  `adb devices` costs a process that
// starts, connects and prints; the adapter would add a second one.  For the
// requests it can answer itself it talks to the server in adb's host protocol
// (a 4-hex-digit length, the request; "OKAY" or "FAIL", a 4-hex-digit length,
// the payload) and prints what adb would have printed.

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace kz::adapter {

// The payload of the server's OKAY answer to `request`, or nullopt when no
// server answers in time, it answers FAIL, or the answer is cut short: the
// caller then leaves the command to adb, which says what went wrong.
std::optional<std::string> AskHostServer(int port, std::string_view request, std::chrono::milliseconds timeout);

// Splits a complete host answer; nullopt for FAIL or a malformed answer.
std::optional<std::string> OkayPayload(std::string_view answer);

// What `adb devices` prints for the payload of "host:devices".
std::string DevicesListing(std::string_view payload);

}  // namespace kz::adapter
