#include "tools/kz_daemon/SignalChannel.h"

#include <csignal>
#include <poll.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace kz::adapter {

namespace {

sigset_t ChannelSignals()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGCHLD);
    return set;
}

}  // namespace

SignalChannel::SignalChannel()
{
    // An inherited "ignore" would auto-reap the child (SIGCHLD) or hide a stop
    // request from the loop, so the defaults come back before blocking.
    std::signal(SIGCHLD, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    std::signal(SIGINT, SIG_DFL);
    // A reader that went away must not kill the adapter before adb ends.
    std::signal(SIGPIPE, SIG_IGN);
    const sigset_t set = ChannelSignals();
    sigprocmask(SIG_BLOCK, &set, nullptr);
    fd_ = signalfd(-1, &set, SFD_CLOEXEC | SFD_NONBLOCK);
}

SignalChannel::~SignalChannel()
{
    if (fd_ >= 0)
        close(fd_);
}

int SignalChannel::TakeTermination()
{
    int received = 0;
    signalfd_siginfo info;
    while (read(fd_, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
        const int sig = static_cast<int>(info.ssi_signo);
        if (sig == SIGTERM || sig == SIGINT)
            received = sig;
    }
    if (received != 0 && termination_ == 0)
        termination_ = received;
    return received;
}

void SignalChannel::Sleep(std::chrono::milliseconds duration)
{
    pollfd p{fd_, POLLIN, 0};
    const auto end = std::chrono::steady_clock::now() + duration;
    for (auto now = std::chrono::steady_clock::now(); now < end && termination_ == 0;
         now = std::chrono::steady_clock::now()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - now);
        if (poll(&p, 1, static_cast<int>(left.count()) + 1) > 0)
            TakeTermination();
    }
}

}  // namespace kz::adapter
