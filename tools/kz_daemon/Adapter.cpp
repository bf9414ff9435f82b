#include "tools/kz_daemon/Adapter.h"

#include "tools/kz_daemon/ChildProcess.h"
#include "tools/kz_daemon/DirectShell.h"
#include "tools/kz_daemon/ExitStatus.h"
#include "tools/kz_daemon/HostQuery.h"
#include "tools/kz_daemon/OutputRewriter.h"
#include "tools/kz_daemon/Pump.h"
#include "tools/kz_daemon/ServerNeed.h"
#include "tools/kz_daemon/ServerProbe.h"
#include "tools/kz_daemon/ServerSettle.h"
#include "tools/kz_daemon/ServerStartLock.h"
#include "tools/kz_daemon/SignalChannel.h"
#include "tools/kz_daemon/SubstringWatch.h"
#include "tools/kz_daemon/WriteAll.h"

#include <cerrno>
#include <string_view>
#include <cstdlib>
#include <cstring>
#include <sys/wait.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kz::adapter {

namespace {

// Long enough to bridge the gap between two writes of one adb message, short
// enough that a held-back tail of live output is not noticed.
constexpr std::chrono::milliseconds kIdleFlush{10};
// How long a fresh server gets to list the box.  A box reached over TCP
// registers itself about twice a second, so it is normally listed well within
// this.  With no box at all, every server start pays the whole budget once:
// an empty list cannot be told from a box that has not registered yet, and
// a command that fails for want of a box it could have reached costs the
// operator far more than two seconds.
constexpr std::chrono::milliseconds kSettleBudget{2000};
// Loopback answers a connect at once; only a listener with a full queue is slow.
constexpr std::chrono::milliseconds kProbeTimeout{500};
// Another adapter's start and settle take a few seconds at most; one that
// hangs must not hold every later command.
constexpr std::chrono::milliseconds kStartTurnPatience{10000};

// The stream of "track-devices" is adb's length-prefixed device lists, read
// by a parser that counts bytes: it passes through unchanged, and the
// adapter's own messages and the server's start go to standard error.
bool IsFrameStream(const std::vector<std::string>& args)
{
    return CommandWordOf(args) == "track-devices";
}

int ReportSpawnFailure(const std::string& adb, int error, int fd)
{
    std::string line;
    if (error == ENOENT || error == ENOTDIR) {
        line = "kz_daemon: the adb client '" + adb + "' was not found; install it with: sudo apt-get install adb\r\n";
        WriteAll(fd, line);
        return 127;
    }
    line = "kz_daemon: cannot run the adb client '" + adb + "': " + std::strerror(error) + "\r\n";
    WriteAll(fd, line);
    return 126;
}

struct Streamed
{
    int spawnError = 0;
    int status = 0;
    bool serverStarted = false;
};

// Once the reader is gone, adb's output is still drained so adb can end.
class Output
{
public:
    explicit Output(int fd = STDOUT_FILENO, bool rewrite = true) : fd_(fd), rewrite_(rewrite) {}

    void Emit(const std::string& text)
    {
        if (!readerGone_ && !text.empty())
            readerGone_ = !WriteAll(fd_, text);
    }
    int Fd() const { return fd_; }
    bool Rewrites() const { return rewrite_; }

private:
    int fd_;
    bool rewrite_;
    bool readerGone_ = false;
};

// Runs adb once, streaming its rewritten output as it arrives.
Streamed RunStreamed(const std::string& adb, const std::vector<std::string>& args, StdinSource in,
                     SignalChannel& signals, Output& out)
{
    Streamed result;
    Child child;
    if ((result.spawnError = SpawnMerged(adb, args, in, child)) != 0)
        return result;
    OutputRewriter rewriter;
    SubstringWatch serverStart("daemon started successfully");
    const PumpSink sink{
        [&](std::string_view chunk) {
            serverStart.Feed(chunk);
            out.Emit(out.Rewrites() ? rewriter.Feed(chunk) : std::string(chunk));
        },
        [&rewriter] { return rewriter.HoldsBack(); },
        [&] { out.Emit(rewriter.Finish()); },
    };
    result.status = PumpUntilExit(child, signals, sink, kIdleFlush);
    out.Emit(rewriter.Finish());
    result.serverStarted = serverStart.Seen();
    return result;
}

std::optional<int> ServerPortToCheck(const std::vector<std::string>& args)
{
    return LocalServerPortFor(args, std::getenv("ANDROID_ADB_SERVER_PORT"), std::getenv("ADB_SERVER_SOCKET"));
}

bool Succeeded(int status)
{
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Starts the server on `port` unless one runs, and lets it settle.  Returns
// nullopt when the command may run, else the adapter's exit code.
std::optional<int> EnsureServer(const std::string& adb, int port, const std::string& serial, SignalChannel& signals,
                                Output& out)
{
    const ServerStartLock turn(port, signals, kStartTurnPatience);
    if (const int sig = signals.TerminationRequested())
        return ExitLikeChild(W_EXITCODE(0, sig));
    if (ServerListens(port, kProbeTimeout))
        return std::nullopt;  // started by another adapter while this one waited
    const Streamed start = RunStreamed(adb, {"start-server"}, StdinSource::DevNull, signals, out);
    if (start.spawnError != 0)
        return ReportSpawnFailure(adb, start.spawnError, out.Fd());
    if (start.serverStarted)
        WaitUntilDevicesSettled(adb, signals, kSettleBudget, serial);
    if (const int sig = signals.TerminationRequested())
        return ExitLikeChild(Succeeded(start.status) ? W_EXITCODE(0, sig) : start.status);
    if (!Succeeded(start.status))
        return ExitLikeChild(start.status);
    return std::nullopt;
}

// The PATH search is done once here with access() rather than by a failing
// exec per PATH entry: on long PATHs those failed execs were a measurable part
// of every call.  A name that is not found stays as it is, so the spawn
// reports it the usual way.
std::string ResolveOnPath(const std::string& program)
{
    const char* path = std::getenv("PATH");
    if (program.find('/') != std::string::npos || path == nullptr)
        return program;
    std::string_view rest(path);
    while (true) {
        const size_t colon = rest.find(':');
        const std::string_view dir = rest.substr(0, colon);
        const std::string candidate = (dir.empty() ? std::string(".") : std::string(dir)) + "/" + program;
        struct stat info {};
        if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(candidate.c_str(), X_OK) == 0)
            return candidate;
        if (colon == std::string_view::npos)
            return program;
        rest.remove_prefix(colon + 1);
    }
}

// `devices` is answered from a running server directly: running adb for it
// would cost a second process on every call.  Anything unusual (no server,
// a FAIL, a cut answer) is left to adb, which says what went wrong.
std::optional<int> ListDevicesDirectly(const std::vector<std::string>& args, int port, Output& out)
{
    if (args != std::vector<std::string>{"devices"})
        return std::nullopt;
    const std::optional<std::string> payload = AskHostServer(port, "host:devices", kProbeTimeout);
    if (!payload)
        return std::nullopt;
    OutputRewriter rewriter;
    out.Emit(rewriter.Feed(DevicesListing(*payload)));
    out.Emit(rewriter.Finish());
    return 0;
}

// A plain `shell <command>` goes to the box through the running server
// without an adb process; see DirectShell.h for what is left to adb.
std::optional<int> ShellDirectly(const std::vector<std::string>& args, int port, SignalChannel& signals,
                                 Output& out)
{
    const std::optional<ShellPlan> plan = PlanDirectShell(args, std::getenv("ANDROID_SERIAL"));
    if (!plan)
        return std::nullopt;
    OutputRewriter rewriter;
    const ShellSink sink{
        [&](std::string_view chunk) { out.Emit(rewriter.Feed(chunk)); },
        [&rewriter] { return rewriter.HoldsBack(); },
        [&] { out.Emit(rewriter.Finish()); },
    };
    const std::optional<int> code = RunShellDirectly(*plan, port, signals, sink, kProbeTimeout, kIdleFlush);
    if (code)
        out.Emit(rewriter.Finish());
    return code;
}

}  // namespace

std::string AdbProgram()
{
    const char* named = std::getenv("ADB");
    const std::string program = named != nullptr && *named != '\0' ? std::string(named) : std::string("adb");
    return ResolveOnPath(program);
}

// A server started by the command itself acknowledges its start before a box
// reached over TCP is connected, and the command then fails with "device not
// found".  So the adapter starts a missing server first (its messages appear
// as adb prints them) and lets it settle before the command runs.
int RunAdapter(const std::vector<std::string>& args)
{
    SignalChannel signals;
    const bool frames = IsFrameStream(args);
    Output out(STDOUT_FILENO, !frames);
    Output notices(frames ? STDERR_FILENO : STDOUT_FILENO);
    const std::string adb = AdbProgram();
    const std::string serial = ChosenSerial(args, std::getenv("ANDROID_SERIAL"));
    if (const std::optional<int> port = ServerPortToCheck(args)) {
        if (const std::optional<int> code = ListDevicesDirectly(args, *port, out))
            return *code;
        if (const std::optional<int> code = ShellDirectly(args, *port, signals, out))
            return *code;
        if (!ServerListens(*port, kProbeTimeout)) {
            if (const std::optional<int> code = EnsureServer(adb, *port, serial, signals, notices))
                return *code;
        }
    }
    const Streamed run = RunStreamed(adb, args, StdinSource::Inherit, signals, out);
    if (run.spawnError != 0)
        return ReportSpawnFailure(adb, run.spawnError, notices.Fd());
    if (run.serverStarted)
        WaitUntilDevicesSettled(adb, signals, kSettleBudget, serial);
    return ExitLikeChild(run.status);
}

}  // namespace kz::adapter
