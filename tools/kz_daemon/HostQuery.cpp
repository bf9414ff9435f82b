#include "tools/kz_daemon/HostQuery.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstdio>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace kz::adapter {

namespace {

constexpr std::size_t kLengthDigits = 4;
constexpr std::size_t kStatusSize = 4;

// Non-blocking, so that a listener with a full queue costs the timeout, not
// the kernel's SYN retries.
bool Connect(int fd, int port, std::chrono::milliseconds timeout)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
        return true;
    if (errno != EINPROGRESS)
        return false;
    pollfd p{fd, POLLOUT, 0};
    int error = 0;
    socklen_t length = sizeof error;
    return poll(&p, 1, static_cast<int>(timeout.count())) == 1 &&
           getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
}

}  // namespace

std::optional<std::size_t> HexLength(std::string_view digits)
{
    if (digits.size() != kLengthDigits)
        return std::nullopt;
    std::size_t value = 0;
    for (char c : digits) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return std::nullopt;
        value = value * 16 + std::size_t(digit);
    }
    return value;
}

HostConnection::~HostConnection()
{
    if (fd_ >= 0)
        close(fd_);
}

bool HostConnection::Open(int port, std::chrono::milliseconds timeout)
{
    timeout_ = timeout;
    fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd_ < 0 || !Connect(fd_, port, timeout))
        return false;
    int on = 1;
    setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    return true;
}

bool HostConnection::Send(std::string_view request)
{
    char length[kLengthDigits + 1];
    std::snprintf(length, sizeof length, "%04zx", request.size());
    const std::string message = std::string(length) + std::string(request);
    // A few bytes into an empty socket buffer: one send takes them.
    return send(fd_, message.data(), message.size(), MSG_NOSIGNAL) == ssize_t(message.size());
}

bool HostConnection::Request(std::string_view request)
{
    refusal_.reset();
    if (!Send(request))
        return false;
    std::string status;
    if (!ReadExact(kStatusSize, status))
        return false;
    if (status == "FAIL")
        refusal_ = ReadPayload();
    return status == "OKAY";
}

std::optional<std::string> HostConnection::ReadPayload()
{
    std::string length, payload;
    if (!ReadExact(kLengthDigits, length))
        return std::nullopt;
    const std::optional<std::size_t> size = HexLength(length);
    if (!size || !ReadExact(*size, payload))
        return std::nullopt;
    return payload;
}

bool HostConnection::ReadExact(std::size_t size, std::string& into)
{
    into.clear();
    char buffer[4096];
    while (into.size() < size) {
        pollfd p{fd_, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(timeout_.count())) <= 0)
            return false;
        const ssize_t n = read(fd_, buffer, std::min(sizeof buffer, size - into.size()));
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (n <= 0)
            return false;
        into.append(buffer, std::size_t(n));
    }
    return true;
}

std::optional<std::string> AskHostServer(int port, std::string_view request, std::chrono::milliseconds timeout)
{
    HostConnection server;
    if (!server.Open(port, timeout) || !server.Request(request))
        return std::nullopt;
    return server.ReadPayload();
}

std::string DevicesListing(std::string_view payload)
{
    return "List of devices attached\n" + std::string(payload) + "\n";
}

}  // namespace kz::adapter
