#include "tools/kz_daemon/Pump.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kz::adapter {

namespace {

enum class ReadResult { Data, Empty, Closed };

ReadResult ReadOnce(int fd, const PumpSink& sink)
{
    char buffer[65536];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n > 0) {
            sink.output(std::string_view(buffer, static_cast<size_t>(n)));
            return ReadResult::Data;
        }
        if (n < 0 && errno == EINTR)
            continue;
        return n < 0 && errno == EAGAIN ? ReadResult::Empty : ReadResult::Closed;
    }
}

// What the child wrote is in the pipe by the time it has been reaped; the
// bound only stops a grandchild that keeps writing from holding the end off.
constexpr int kMaxDrainReads = 64;

void DrainAvailable(int fd, const PumpSink& sink)
{
    for (int i = 0; i < kMaxDrainReads && ReadOnce(fd, sink) == ReadResult::Data; ++i) {
    }
}

// True once the child is reaped; a SIGCHLD from an earlier child only wakes
// the loop.
bool Reaped(pid_t pid, int& status)
{
    const pid_t r = waitpid(pid, &status, WNOHANG);
    if (r == pid)
        return true;
    if (r < 0 && errno == ECHILD) {
        status = W_EXITCODE(255, 0);
        return true;
    }
    return false;
}

// Without a signal channel the child's end is only noticed by polling.
constexpr int kReapPollMs = 5;

int WaitTimeout(const PumpSink& sink, std::chrono::milliseconds idleDelay, bool haveChannel)
{
    const int idle = sink.wantsIdle() ? static_cast<int>(idleDelay.count()) : -1;
    if (haveChannel)
        return idle;
    return idle < 0 ? kReapPollMs : std::min(idle, kReapPollMs);
}

}  // namespace

int PumpUntilExit(Child& child, SignalChannel& signals, const PumpSink& sink, std::chrono::milliseconds idleDelay)
{
    pollfd fds[2] = {{child.output, POLLIN, 0}, {signals.Fd(), POLLIN, 0}};
    int status = 0;
    bool exited = Reaped(child.pid, status);
    while (!exited) {
        const int ready = poll(fds, 2, WaitTimeout(sink, idleDelay, signals.Fd() >= 0));
        if (ready < 0 && errno != EINTR)
            break;
        if (ready == 0)
            sink.idle();
        if (ready > 0 && fds[0].revents != 0 && ReadOnce(child.output, sink) == ReadResult::Closed)
            fds[0].fd = -1;  // every writer is gone; keep waiting for the exit
        if (ready > 0 && fds[1].revents != 0) {
            if (const int sig = signals.TakeTermination())
                kill(child.pid, sig);
        }
        exited = Reaped(child.pid, status);
    }
    if (!exited)
        waitpid(child.pid, &status, 0);
    DrainAvailable(child.output, sink);
    close(child.output);
    child.output = -1;
    return status;
}

}  // namespace kz::adapter
