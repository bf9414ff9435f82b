#pragma once
// Talking to a running adb server directly.  `adb devices` or `adb shell cmd`
// cost a process that starts, connects and prints; the adapter would add a
// second one.  For the requests it can answer itself the adapter speaks the
// server's host protocol (a 4-hex-digit length and the request; "OKAY", or
// "FAIL" with a 4-hex-digit length and a message; a query's payload again
// behind a 4-hex-digit length) and prints what adb would have printed.

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace kz::adapter {

// One connection to the server on 127.0.0.1:port, on which requests are made
// in turn (a transport switch, then a service).  Every wait is bounded by the
// timeout given at Open(); a service's stream is then read from Fd().
class HostConnection {
public:
    HostConnection() = default;
    ~HostConnection();
    HostConnection(const HostConnection&) = delete;
    HostConnection& operator=(const HostConnection&) = delete;

    // False when no server accepts the connection in time.
    bool Open(int port, std::chrono::milliseconds timeout);
    // Sends `request`; true when the server answers OKAY.  The message of a
    // FAIL answer is kept for Refusal().
    bool Request(std::string_view request);
    // What the server said when it refused the last request ("more than one
    // device/emulator"); nullopt after OKAY or an answer that was not whole.
    const std::optional<std::string>& Refusal() const { return refusal_; }
    // Sends `request` without waiting for the answer (a service that may take
    // the box a while to open: the caller reads the status with the stream).
    bool Send(std::string_view request);
    // The length-prefixed payload that follows a query's OKAY.
    std::optional<std::string> ReadPayload();
    int Fd() const { return fd_; }

private:
    bool ReadExact(std::size_t size, std::string& into);

    int fd_ = -1;
    std::chrono::milliseconds timeout_{0};
    std::optional<std::string> refusal_;
};

// The payload of the server's answer to the query `request` ("host:devices"),
// or nullopt when no server answers in time, it answers FAIL, or the answer is
// cut short: the caller then leaves the command to adb, which says what went
// wrong.
std::optional<std::string> AskHostServer(int port, std::string_view request, std::chrono::milliseconds timeout);

// The value of a 4-hex-digit length field.
std::optional<std::size_t> HexLength(std::string_view digits);

// What `adb devices` prints for the payload of "host:devices".
std::string DevicesListing(std::string_view payload);

}  // namespace kz::adapter
