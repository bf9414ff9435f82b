#include "tools/kz_daemon/ServerSettle.h"

#include "tools/kz_daemon/ChildProcess.h"
#include "tools/kz_daemon/DeviceList.h"
#include "tools/kz_daemon/Pump.h"

#include <csignal>
#include <optional>
#include <sys/wait.h>

namespace kz::adapter {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::chrono::milliseconds kRetryInterval{50};
constexpr std::chrono::milliseconds kDeadlineCheck{20};

// A server that hangs must not stretch the bounded wait: a list that is not
// ready by the deadline counts as no list.
std::optional<std::string> DeviceListNow(const std::string& adb, SignalChannel& signals, Clock::time_point deadline)
{
    Child child;
    if (SpawnMerged(adb, {"devices"}, StdinSource::DevNull, child) != 0)
        return std::nullopt;
    std::string text;
    const pid_t pid = child.pid;
    const PumpSink sink{
        [&text](std::string_view chunk) { text.append(chunk); },
        [] { return true; },
        [pid, deadline] {
            if (Clock::now() >= deadline)
                kill(pid, SIGKILL);
        },
    };
    const int status = PumpUntilExit(child, signals, sink, kDeadlineCheck);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return text;
}

}  // namespace

void WaitUntilDevicesSettled(const std::string& adb, SignalChannel& signals, std::chrono::milliseconds budget,
                             const std::string& serial)
{
    const auto deadline = Clock::now() + budget;
    while (signals.TerminationRequested() == 0) {
        const std::optional<std::string> list = DeviceListNow(adb, signals, deadline);
        if (!list || DevicesSettled(*list, serial))
            return;
        const auto left = deadline - Clock::now();
        if (left <= kRetryInterval)
            return;
        signals.Sleep(kRetryInterval);
    }
}

}  // namespace kz::adapter
