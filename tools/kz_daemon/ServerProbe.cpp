#include "tools/kz_daemon/ServerProbe.h"

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace kz::adapter {

namespace {

bool ConnectCompletes(int fd, std::chrono::milliseconds timeout)
{
    pollfd p{fd, POLLOUT, 0};
    if (poll(&p, 1, static_cast<int>(timeout.count())) <= 0)
        return true;
    int error = 0;
    socklen_t length = sizeof error;
    return getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
}

}  // namespace

bool ServerListens(int port, std::chrono::milliseconds timeout)
{
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return true;  // cannot tell; adb starts a server itself when it must
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bool listens = connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    if (!listens && errno == EINPROGRESS)
        listens = ConnectCompletes(fd, timeout);
    close(fd);
    return listens;
}

}  // namespace kz::adapter
