#include "Socket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace box {

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept
{
    if (this != &other)
        Reset(other.Release());
    return *this;
}

int UniqueFd::Release()
{
    int fd = fd_;
    fd_ = -1;
    return fd;
}

void UniqueFd::Reset(int fd)
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = fd;
}

namespace {

sockaddr_in LoopbackAddress(uint16_t port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

bool FillUnixAddress(const std::string& path, sockaddr_un& address)
{
    address = {};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof(address.sun_path))
        return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

}  // namespace

UniqueFd ListenLoopback(uint16_t port, std::string& error)
{
    UniqueFd fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!fd.Valid()) {
        error = std::strerror(errno);
        return {};
    }
    int on = 1;
    ::setsockopt(fd.Get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address = LoopbackAddress(port);
    if (::bind(fd.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0
        || ::listen(fd.Get(), 8) != 0) {
        error = std::strerror(errno);
        return {};
    }
    return fd;
}

uint16_t LocalPort(int fd)
{
    sockaddr_in address{};
    socklen_t length = sizeof address;
    if (::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return 0;
    return ntohs(address.sin_port);
}

UniqueFd ConnectLoopback(uint16_t port)
{
    UniqueFd fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_in address = LoopbackAddress(port);
    if (!fd.Valid() || ::connect(fd.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        return {};
    SetNoDelay(fd.Get());
    return fd;
}

void SetNoDelay(int fd)
{
    // adb's messages are small and answered at once: without this, Nagle's
    // algorithm waits for the peer's delayed acknowledgement on every reply.
    int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

UniqueFd ListenUnix(const std::string& path, std::string& error)
{
    sockaddr_un address;
    if (!FillUnixAddress(path, address)) {
        error = "socket path too long: " + path;
        return {};
    }
    UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    ::unlink(path.c_str());
    if (!fd.Valid() || ::bind(fd.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0
        || ::listen(fd.Get(), 4) != 0) {
        error = path + ": " + std::strerror(errno);
        return {};
    }
    return fd;
}

UniqueFd ConnectUnix(const std::string& path)
{
    sockaddr_un address;
    if (!FillUnixAddress(path, address))
        return {};
    UniqueFd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!fd.Valid() || ::connect(fd.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        return {};
    return fd;
}

bool ReadExact(int fd, void* buffer, size_t size)
{
    auto* bytes = static_cast<char*>(buffer);
    while (size > 0) {
        ssize_t n = ::read(fd, bytes, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        // MSG_NOSIGNAL: a host that went away must not kill the box with SIGPIPE.
        ssize_t n = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n < 0 && errno == ENOTSOCK)
            n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

bool WaitReadable(int fd, int timeoutMs)
{
    pollfd entry{fd, POLLIN, 0};
    for (;;) {
        int n = ::poll(&entry, 1, timeoutMs);
        if (n < 0 && errno == EINTR)
            continue;
        return n > 0;
    }
}

}  // namespace box
