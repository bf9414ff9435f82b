#include "tools/kz_daemon/ServerStartLock.h"

#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kz::adapter {

namespace {

constexpr std::chrono::milliseconds kRetryInterval{20};

std::string LockPath(int port)
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::string dir = runtime != nullptr && *runtime != '\0' ? runtime : "/tmp";
    return dir + "/kz_daemon-adb-server-" + std::to_string(port) + ".lock";
}

}  // namespace

ServerStartLock::ServerStartLock(int port, SignalChannel& signals, std::chrono::milliseconds patience)
{
    // Read-write for everyone: another user's adapter may need the same turn.
    fd_ = open(LockPath(port).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd_ < 0)
        return;
    fchmod(fd_, 0666);  // past the umask; fails harmlessly on another user's file
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        if (signals.TerminationRequested() != 0 || std::chrono::steady_clock::now() >= deadline) {
            close(fd_);
            fd_ = -1;
            return;
        }
        signals.Sleep(kRetryInterval);
    }
}

ServerStartLock::~ServerStartLock()
{
    if (fd_ >= 0)
        close(fd_);  // releases the lock
}

}  // namespace kz::adapter
