#include "tools/kz_daemon/Adapter.h"

#include "tools/kz_daemon/ChildProcess.h"
#include "tools/kz_daemon/ExitStatus.h"
#include "tools/kz_daemon/OutputRewriter.h"
#include "tools/kz_daemon/Pump.h"
#include "tools/kz_daemon/ServerSettle.h"
#include "tools/kz_daemon/SignalChannel.h"
#include "tools/kz_daemon/SubstringWatch.h"
#include "tools/kz_daemon/WriteAll.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace kz::adapter {

namespace {

// Long enough to bridge the gap between two writes of one adb message, short
// enough that a held-back tail of live output is not noticed.
constexpr std::chrono::milliseconds kIdleFlush{10};
constexpr std::chrono::milliseconds kSettleBudget{2000};

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

}  // namespace

std::string AdbProgram()
{
    const char* named = std::getenv("ADB");
    return named != nullptr && *named != '\0' ? std::string(named) : std::string("adb");
}

int RunAdapter(const std::vector<std::string>& args)
{
    SignalChannel signals;
    const std::string adb = AdbProgram();
    Child child;
    if (const int error = SpawnMerged(adb, args, StdinSource::Inherit, child))
        return ReportSpawnFailure(adb, error);

    OutputRewriter rewriter;
    SubstringWatch serverStart("daemon started successfully");
    // Once the reader is gone, adb's output is still drained so adb can end.
    bool readerGone = false;
    const auto emit = [&readerGone](const std::string& text) {
        if (!readerGone && !text.empty())
            readerGone = !WriteAll(STDOUT_FILENO, text);
    };
    const PumpSink sink{
        [&](std::string_view chunk) {
            serverStart.Feed(chunk);
            emit(rewriter.Feed(chunk));
        },
        [&rewriter] { return rewriter.HoldsBack(); },
        [&] { emit(rewriter.Finish()); },
    };
    const int status = PumpUntilExit(child, signals, sink, kIdleFlush);
    emit(rewriter.Finish());
    if (serverStart.Seen())
        WaitUntilNoDeviceOffline(adb, signals, kSettleBudget);
    return ExitLikeChild(status);
}

}  // namespace kz::adapter
