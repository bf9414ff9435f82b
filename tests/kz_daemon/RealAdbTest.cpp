// The adapter in front of Debian's adb with a private server: a free port, no
// emulator scan, its own HOME for the keys, and the server killed at the end
// whatever happens.
#include "ProcessHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <sys/wait.h>
#include <unistd.h>

using namespace kz::adapter::test;

namespace {

const char* const kAdb = "/usr/bin/adb";

class RealAdb : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (access(kAdb, X_OK) != 0)
            GTEST_SKIP() << "Debian's adb is not installed";
        port_ = kz::test::FreeTcpPort();
        options_.env = {
            {"ADB", kAdb},
            {"ANDROID_ADB_SERVER_PORT", std::to_string(port_)},
            // The server would otherwise look for emulators on 5555 and up,
            // where a simulated box of another test may listen.
            {"ADB_LOCAL_TRANSPORT_MAX_PORT", "5553"},
            {"HOME", home_.Path()},
            {"XDG_RUNTIME_DIR", home_.Path()},
        };
    }

    void TearDown() override
    {
        if (port_ != 0)
            RunProcess({kAdb, "kill-server"}, options_);
    }

    Result Adapter(const std::string& command)
    {
        return RunProcess({AdapterPath(), command}, options_);
    }

    TempDir home_;
    int port_ = 0;
    LaunchOptions options_;
};

}  // namespace

TEST_F(RealAdb, DevicesThroughTheAdapter)
{
    const Result first = Adapter("devices");
    EXPECT_EQ(first.output, "* daemon not running; starting now at tcp:" + std::to_string(port_) +
                                "\r\n* daemon started successfully\r\nList of devices attached \r\n\r\n");
    EXPECT_EQ(WEXITSTATUS(first.status), 0);

    const Result again = Adapter("devices");
    EXPECT_EQ(again.output, "List of devices attached \r\n\r\n");

    const Result shell = RunProcess({AdapterPath(), "shell", "ls"}, options_);
    EXPECT_EQ(shell.output, "error: device not found\r\n");
    EXPECT_EQ(WEXITSTATUS(shell.status), 1);

    const Result stop = Adapter("kill-server");
    EXPECT_EQ(stop.output, "");
    EXPECT_EQ(WEXITSTATUS(stop.status), 0);
}

TEST_F(RealAdb, ConcurrentCallsWithoutAServerShareOneStart)
{
    // Left to adb, all but one concurrent start fail with "didn't ACK".
    std::vector<std::unique_ptr<Launched>> calls;
    for (int i = 0; i < 3; ++i)
        calls.push_back(std::make_unique<Launched>(std::vector<std::string>{AdapterPath(), "devices"}, options_));
    int starts = 0;
    for (auto& call : calls) {
        const int status = call->Finish();
        const std::string& out = call->Output();
        EXPECT_EQ(WEXITSTATUS(status), 0) << out;
        EXPECT_TRUE(out.ends_with("List of devices attached \r\n\r\n")) << out;
        EXPECT_EQ(out.find("ACK"), std::string::npos) << out;
        starts += out.find("daemon started successfully") != std::string::npos;
    }
    EXPECT_EQ(starts, 1);
}

TEST_F(RealAdb, DeviceListStreamStartsTheServerQuietlyAndEndsWithIt)
{
    Launched track({AdapterPath(), "track-devices"}, options_);
    // Only the frame: the server's start messages are not part of the stream.
    EXPECT_EQ(track.ReadUntil("0000", std::chrono::seconds(10)), "0000");
    EXPECT_EQ(WEXITSTATUS(RunProcess({kAdb, "kill-server"}, options_).status), 0);
    track.Finish();
    EXPECT_EQ(track.Output(), "0000");
}
