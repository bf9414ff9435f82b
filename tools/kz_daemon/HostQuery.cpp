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

class Socket {
public:
    explicit Socket(int fd) : fd_(fd) {}
    ~Socket()
    {
        if (fd_ >= 0)
            close(fd_);
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    int Get() const { return fd_; }

private:
    int fd_;
};

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

// Non-blocking, so that a listener with a full queue costs `timeout`, not
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

// The request is a few bytes into an empty socket buffer: one send takes it.
bool Send(int fd, const std::string& data)
{
    return send(fd, data.data(), data.size(), MSG_NOSIGNAL) == ssize_t(data.size());
}

// Reads until the server closes; the host answer is short and the server
// closes a host:devices connection after answering.
bool ReadAnswer(int fd, std::chrono::milliseconds timeout, std::string& answer)
{
    char buffer[4096];
    while (true) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(timeout.count())) <= 0)
            return false;
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            return true;
        answer.append(buffer, std::size_t(n));
        if (OkayPayload(answer))
            return true;
    }
}

}  // namespace

std::optional<std::string> OkayPayload(std::string_view answer)
{
    if (answer.substr(0, kStatusSize) != "OKAY")
        return std::nullopt;
    const std::optional<std::size_t> length = HexLength(answer.substr(kStatusSize, kLengthDigits));
    const std::string_view rest = answer.substr(std::min(answer.size(), kStatusSize + kLengthDigits));
    if (!length || rest.size() != *length)
        return std::nullopt;
    return std::string(rest);
}

std::optional<std::string> AskHostServer(int port, std::string_view request, std::chrono::milliseconds timeout)
{
    const Socket socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (socket.Get() < 0 || !Connect(socket.Get(), port, timeout))
        return std::nullopt;
    int on = 1;
    setsockopt(socket.Get(), IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    char length[kLengthDigits + 1];
    std::snprintf(length, sizeof length, "%04zx", request.size());
    if (!Send(socket.Get(), std::string(length) + std::string(request)))
        return std::nullopt;
    std::string answer;
    if (!ReadAnswer(socket.Get(), timeout, answer))
        return std::nullopt;
    return OkayPayload(answer);
}

std::string DevicesListing(std::string_view payload)
{
    return "List of devices attached\n" + std::string(payload) + "\n";
}

}  // namespace kz::adapter
