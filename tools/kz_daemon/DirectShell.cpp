#include "tools/kz_daemon/DirectShell.h"

#include "tools/kz_daemon/ExitStatus.h"
#include "tools/kz_daemon/HostQuery.h"

#include <algorithm>
#include <cerrno>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kz::adapter {

namespace {

std::string JoinCommand(std::vector<std::string>::const_iterator first, std::vector<std::string>::const_iterator last)
{
    std::string command;
    for (auto it = first; it != last; ++it)
        command += (it == first ? "" : " ") + *it;
    return command;
}

// The server answers the shell service with OKAY once the box has opened it,
// which can take the box a while, and the output follows on the same
// connection.  Until that answer nothing has run: a FAIL or a close then
// leaves the command to adb.  After it, the output is streamed until the box
// closes the connection; a termination request ends the adapter by that
// signal, as it would have ended adb.
std::optional<int> Stream(int fd, SignalChannel& signals, const ShellSink& sink, std::chrono::milliseconds idleDelay)
{
    pollfd fds[2] = {{fd, POLLIN, 0}, {signals.Fd(), POLLIN, 0}};
    char buffer[65536];
    std::string status;
    bool opened = false;
    while (true) {
        const int ready = poll(fds, 2, opened && sink.wantsIdle() ? int(idleDelay.count()) : -1);
        if (ready < 0 && errno != EINTR)
            return opened ? std::optional<int>(1) : std::nullopt;
        if (ready == 0)
            sink.idle();
        if (ready > 0 && fds[1].revents != 0) {
            if (const int sig = signals.TakeTermination())
                return ExitLikeChild(W_EXITCODE(0, sig));
        }
        if (ready <= 0 || fds[0].revents == 0)
            continue;
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (n <= 0)
            return opened ? std::optional<int>(0) : std::nullopt;
        std::string_view data(buffer, std::size_t(n));
        if (!opened) {
            const std::size_t take = std::min<std::size_t>(4 - status.size(), data.size());
            status.append(data.substr(0, take));
            data.remove_prefix(take);
            if (status.size() < 4)
                continue;
            if (status != "OKAY")
                return std::nullopt;
            opened = true;
        }
        if (!data.empty())
            sink.output(data);
    }
}

// adb prints the server's refusal as "error: ..." and ends with 1; the
// program judges that text ("more than one device", "not found").
std::optional<int> Refused(const HostConnection& connection, const ShellSink& sink)
{
    if (!connection.Refusal())
        return std::nullopt;
    sink.output("error: " + *connection.Refusal() + "\n");
    return 1;
}

}  // namespace

std::optional<ShellPlan> PlanDirectShell(const std::vector<std::string>& args, const char* serialEnv)
{
    std::size_t shell = 0;
    std::string serial;
    if (args.size() >= 2 && args[0] == "-s") {
        serial = args[1];
        shell = 2;
    } else if (serialEnv != nullptr && *serialEnv != '\0') {
        serial = serialEnv;
    }
    // adb reads options of its own from the words after "shell".
    if (args.size() < shell + 2 || args[shell] != "shell" || args[shell + 1].empty() || args[shell + 1][0] == '-')
        return std::nullopt;
    if (serial.empty() && shell == 2)
        return std::nullopt;
    ShellPlan plan;
    plan.features = serial.empty() ? "host:features" : "host-serial:" + serial + ":features";
    plan.transport = serial.empty() ? "host:transport-any" : "host:transport:" + serial;
    plan.service = "shell:" + JoinCommand(args.begin() + std::ptrdiff_t(shell) + 1, args.end());
    return plan;
}

bool HasShellProtocol(std::string_view features)
{
    std::size_t start = 0;
    while (start <= features.size()) {
        const std::size_t comma = features.find(',', start);
        const std::string_view feature =
            features.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
        if (feature == "shell_v2")
            return true;
        if (comma == std::string_view::npos)
            break;
        start = comma + 1;
    }
    return false;
}

std::optional<int> RunShellDirectly(const ShellPlan& plan, int port, SignalChannel& signals, const ShellSink& sink,
                                    std::chrono::milliseconds timeout, std::chrono::milliseconds idleDelay)
{
    {
        HostConnection query;
        if (!query.Open(port, timeout))
            return std::nullopt;
        if (!query.Request(plan.features))
            return Refused(query, sink);
        const std::optional<std::string> features = query.ReadPayload();
        if (!features || HasShellProtocol(*features))
            return std::nullopt;
    }
    HostConnection box;
    if (!box.Open(port, timeout))
        return std::nullopt;
    if (!box.Request(plan.transport))
        return Refused(box, sink);
    if (!box.Send(plan.service))
        return std::nullopt;
    return Stream(box.Fd(), signals, sink, idleDelay);
}

}  // namespace kz::adapter
