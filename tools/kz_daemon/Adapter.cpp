#include "tools/kz_daemon/Adapter.h"

#include "tools/kz_daemon/ChildProcess.h"
#include "tools/kz_daemon/ExitStatus.h"
#include "tools/kz_daemon/OutputRewriter.h"
#include "tools/kz_daemon/Pump.h"
#include "tools/kz_daemon/ServerNeed.h"
#include "tools/kz_daemon/ServerProbe.h"
#include "tools/kz_daemon/ServerSettle.h"
#include "tools/kz_daemon/SignalChannel.h"
#include "tools/kz_daemon/SubstringWatch.h"
#include "tools/kz_daemon/WriteAll.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/wait.h>
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

int ReportSpawnFailure(const std::string& adb, int error)
{
    std::string line;
    if (error == ENOENT || error == ENOTDIR) {
        line = "kz_daemon: the adb client '" + adb + "' was not found; install it with: sudo apt-get install adb\r\n";
        WriteAll(STDOUT_FILENO, line);
        return 127;
    }
    line = "kz_daemon: cannot run the adb client '" + adb + "': " + std::strerror(error) + "\r\n";
    WriteAll(STDOUT_FILENO, line);
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
    void Emit(const std::string& text)
    {
        if (!readerGone_ && !text.empty())
            readerGone_ = !WriteAll(STDOUT_FILENO, text);
    }

private:
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
            out.Emit(rewriter.Feed(chunk));
        },
        [&rewriter] { return rewriter.HoldsBack(); },
        [&] { out.Emit(rewriter.Finish()); },
    };
    result.status = PumpUntilExit(child, signals, sink, kIdleFlush);
    out.Emit(rewriter.Finish());
    result.serverStarted = serverStart.Seen();
    return result;
}

bool NeedsServerStart(const std::vector<std::string>& args)
{
    const std::optional<int> port =
        LocalServerPortFor(args, std::getenv("ANDROID_ADB_SERVER_PORT"), std::getenv("ADB_SERVER_SOCKET"));
    return port && !ServerListens(*port, kProbeTimeout);
}

bool Succeeded(int status)
{
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

std::string AdbProgram()
{
    const char* named = std::getenv("ADB");
    return named != nullptr && *named != '\0' ? std::string(named) : std::string("adb");
}

// A server started by the command itself acknowledges its start before a box
// reached over TCP is connected, and the command then fails with "device not
// found".  So the adapter starts a missing server first (its messages appear
// as adb prints them) and lets it settle before the command runs.
int RunAdapter(const std::vector<std::string>& args)
{
    SignalChannel signals;
    Output out;
    const std::string adb = AdbProgram();
    if (NeedsServerStart(args)) {
        const Streamed start = RunStreamed(adb, {"start-server"}, StdinSource::DevNull, signals, out);
        if (start.spawnError != 0)
            return ReportSpawnFailure(adb, start.spawnError);
        if (start.serverStarted)
            WaitUntilDevicesSettled(adb, signals, kSettleBudget);
        if (const int sig = signals.TerminationRequested())
            return ExitLikeChild(Succeeded(start.status) ? W_EXITCODE(0, sig) : start.status);
        if (!Succeeded(start.status))
            return ExitLikeChild(start.status);
    }
    const Streamed run = RunStreamed(adb, args, StdinSource::Inherit, signals, out);
    if (run.spawnError != 0)
        return ReportSpawnFailure(adb, run.spawnError);
    if (run.serverStarted)
        WaitUntilDevicesSettled(adb, signals, kSettleBudget);
    return ExitLikeChild(run.status);
}

}  // namespace kz::adapter
