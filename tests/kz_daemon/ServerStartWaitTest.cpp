// A fresh adb server has not connected a box reached over TCP yet: the adapter
// starts a missing server before the command, and after any server start
// waits (boundedly) until a device is listed and none is offline.
#include "ProcessHarness.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

using namespace kz::adapter::test;
using namespace std::chrono_literals;

namespace {

// A fake adb with a pretend server (a file): any command but kill-server
// starts it when it is not running, as adb does.  After a start, the device
// is missing or offline (BEFORE) for OFFLINE_MS.  Every call is logged.
const char* const kFakeAdb = R"sh(
state=$(dirname "$0")
now() { date +%s%N; }
echo "$1" >> "$state/calls"
if [ "$1" != kill-server ] && [ ! -e "$state/server" ]; then
    echo "* daemon not running; starting now at tcp:5037"
    if [ -n "$FAIL_START" ]; then echo "* failed to start daemon"; exit 1; fi
    echo "* daemon started successfully"
    echo $(( $(now) + OFFLINE_MS * 1000000 )) > "$state/online-at"
    touch "$state/server"
fi
case "$1" in
devices)
    echo 'List of devices attached'
    if [ "$(now)" -lt "$(cat "$state/online-at")" ]; then
        [ "$BEFORE" = offline ] && printf 'emulator-5554\toffline\n'
    else
        printf 'emulator-5554\tdevice\n'
    fi
    echo;;
shell) shift; echo "answer $*";;
esac
)sh";

const char* const kStartOutput = "* daemon not running; starting now at tcp:5037\r\n* daemon started successfully\r\n";

struct Fake
{
    int offlineMs = 0;
    std::string before = "offline";
    bool failStart = false;
};

class ServerStartWait : public ::testing::Test
{
protected:
    // serverRunning: whether the adapter finds something on the server port.
    LaunchOptions Options(const Fake& fake, bool serverRunning)
    {
        LaunchOptions options;
        options.env["ADB"] = dir_.Script("adb", "OFFLINE_MS=" + std::to_string(fake.offlineMs) + "\nBEFORE=" +
                                                    fake.before + "\nFAIL_START=" + (fake.failStart ? "1" : "") +
                                                    kFakeAdb);
        options.env["ANDROID_ADB_SERVER_PORT"] = std::to_string(serverRunning ? server_.Port() : kz::test::FreeTcpPort());
        options.env["XDG_RUNTIME_DIR"] = dir_.Path();  // the start lock's file
        return options;
    }

    Result Run(const Fake& fake, std::vector<std::string> args, bool serverRunning = true)
    {
        args.insert(args.begin(), AdapterPath());
        return RunProcess(args, Options(fake, serverRunning));
    }

    // The fake's commands in the order they ran, devices calls folded into one
    // "devices*N".
    std::string Calls() const
    {
        std::ifstream in(dir_.Path() + "/calls");
        std::ostringstream calls;
        int devices = 0;
        for (std::string line; std::getline(in, line);) {
            if (line == "devices") {
                ++devices;
                continue;
            }
            if (devices > 0)
                calls << "devices*" << devices << " ";
            devices = 0;
            calls << line << " ";
        }
        if (devices > 0)
            calls << "devices*" << devices << " ";
        return calls.str();
    }

    int DevicesCalls() const
    {
        std::ifstream in(dir_.Path() + "/calls");
        int n = 0;
        for (std::string line; std::getline(in, line);)
            n += line == "devices";
        return n;
    }

    TempDir dir_;
    ServerStandIn server_;
};

class SettleAfterStart : public ServerStartWait, public ::testing::WithParamInterface<const char*>
{
};

}  // namespace

TEST_P(SettleAfterStart, WaitsQuietlyUntilTheDeviceIsListedOnline)
{
    const Result r = Run({700, GetParam()}, {"start-server"});
    EXPECT_EQ(r.output, kStartOutput);
    EXPECT_EQ(WEXITSTATUS(r.status), 0);
    EXPECT_GE(r.seconds, 0.65);
    EXPECT_LT(r.seconds, 1.9);
    EXPECT_GE(DevicesCalls(), 2);
}

TEST_P(SettleAfterStart, GivesUpAfterTwoSeconds)
{
    const Result r = Run({60000, GetParam()}, {"start-server"});
    EXPECT_EQ(r.output, kStartOutput);
    EXPECT_GE(r.seconds, 1.8);
    EXPECT_LT(r.seconds, 3.0);
}

INSTANTIATE_TEST_SUITE_P(OfflineOrNotYetListed, SettleAfterStart, ::testing::Values("offline", "none"));

TEST_F(ServerStartWait, LooksOnceWhenOnlineAndNeverWithoutAStart)
{
    EXPECT_EQ(Run({}, {"start-server"}).output, kStartOutput);
    EXPECT_EQ(DevicesCalls(), 1);
    const Result r = Run({60000}, {"devices"});
    EXPECT_EQ(r.output, "List of devices attached \r\nemulator-5554\tdevice\r\n\r\n");
    EXPECT_EQ(Calls(), "start-server devices*2 ");
}

TEST_F(ServerStartWait, CommandThatStartedTheServerIsFollowedByTheWait)
{
    // The probe found a server, but adb found none (it had just gone away).
    const Result r = Run({500, "none"}, {"shell", "x"});
    EXPECT_EQ(r.output, std::string(kStartOutput) + "answer x\r\n");
    EXPECT_GE(r.seconds, 0.45);
    EXPECT_EQ(Calls().rfind("shell devices*", 0), 0u) << Calls();
}

TEST_F(ServerStartWait, MissingServerIsStartedAndSettledBeforeTheCommand)
{
    auto p = std::make_unique<Launched>(std::vector<std::string>{AdapterPath(), "shell", "mount", "-t", "vfat"},
                                        Options({1200, "none"}, false));
    // The start's lines arrive as adb prints them, while the wait still runs.
    EXPECT_EQ(p->ReadUntil("successfully\r\n", 1000ms), kStartOutput);
    const int status = p->Finish();
    EXPECT_EQ(p->Output(), std::string(kStartOutput) + "answer mount -t vfat\r\n");
    EXPECT_EQ(WEXITSTATUS(status), 0);
    const std::string calls = Calls();
    EXPECT_EQ(calls.rfind("start-server devices*", 0), 0u) << calls;
    EXPECT_EQ(calls.substr(calls.size() - 6), "shell ") << calls;
    EXPECT_GE(DevicesCalls(), 2);
}

TEST_F(ServerStartWait, ServerThatFailsToStartEndsTheCallWithoutTheCommand)
{
    const Result r = Run({0, "none", true}, {"shell", "x"}, false);
    EXPECT_EQ(r.output, "* daemon not running; starting now at tcp:5037\r\n* failed to start daemon\r\n");
    EXPECT_EQ(WEXITSTATUS(r.status), 1);
    EXPECT_EQ(Calls(), "start-server ");
}

TEST_F(ServerStartWait, StopRequestDuringTheWaitEndsTheCallWithoutTheCommand)
{
    Launched p({AdapterPath(), "shell", "x"}, Options({60000, "none"}, false));
    ASSERT_EQ(p.ReadUntil("successfully\r\n", 2000ms), kStartOutput);
    kill(p.Pid(), SIGTERM);
    const int status = p.Finish();
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGTERM);
    EXPECT_EQ(Calls().find("shell"), std::string::npos) << Calls();
}

TEST_F(ServerStartWait, StartAndStopAreNeverPrecededByAnotherStart)
{
    EXPECT_EQ(Run({}, {"kill-server"}, false).output, "");
    EXPECT_EQ(Run({}, {"start-server"}, false).output, kStartOutput);
    EXPECT_EQ(Calls(), "kill-server start-server devices*1 ");
}

TEST_F(ServerStartWait, MissingAdbIsReportedOnceWhenNoServerRuns)
{
    LaunchOptions options = Options({}, false);
    options.env["ADB"] = dir_.Path() + "/no-such-adb";
    const Result r = RunProcess({AdapterPath(), "shell", "x"}, options);
    EXPECT_EQ(WEXITSTATUS(r.status), 127);
    EXPECT_NE(r.output.find("apt-get install adb"), std::string::npos) << r.output;
    EXPECT_EQ(std::count(r.output.begin(), r.output.end(), '\n'), 1);
}
