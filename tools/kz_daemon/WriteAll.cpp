#include "tools/kz_daemon/WriteAll.h"

#include <cerrno>
#include <poll.h>
#include <unistd.h>

namespace kz::adapter {

bool WriteAll(int fd, std::string_view data)
{
    while (!data.empty()) {
        const ssize_t n = write(fd, data.data(), data.size());
        if (n > 0) {
            data.remove_prefix(static_cast<size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN) {
            pollfd p{fd, POLLOUT, 0};
            poll(&p, 1, -1);
            continue;
        }
        return false;
    }
    return true;
}

}  // namespace kz::adapter
