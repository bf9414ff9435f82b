// The transport against Debian's adb client and server: a private server on a
// free port talks to an in-process box with a scripted device.

#include "../e2e/AdbServer.h"
#include "FakeDevice.h"
#include "transport/Box.h"

#include <gtest/gtest.h>

#include <fstream>
#include <filesystem>
#include <unistd.h>

using namespace box;
using namespace boxtest;
using e2e::RunAdb;

namespace {

class RealAdbTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(server.Start(error)) << error;
        BoxOptions options;
        options.port = 0;
        options.adbServerPort = server.Port();
        simulated = std::make_unique<Box>(device, options);
        ASSERT_TRUE(simulated->Start(error)) << error;
        serial = e2e::EmulatorSerial(simulated->Port());
        ASSERT_TRUE(server.WaitForState(serial, "device")) << RunAdb("devices").output;
    }

    void TearDown() override
    {
        simulated.reset();
        server.Stop();
    }

    FakeDevice device;
    e2e::PrivateAdbServer server;
    std::unique_ptr<Box> simulated;
    std::string serial;
};

TEST_F(RealAdbTest, ShellCommandsComeBackWithTerminalLineEnds)
{
    e2e::CommandResult hi = RunAdb("shell echo hi");
    EXPECT_EQ(hi.output, "hi\r\n");
    EXPECT_EQ(hi.exitCode, 0);
    EXPECT_EQ(RunAdb("shell lines 3").output, "line 0\r\nline 1\r\nline 2\r\n");
    EXPECT_EQ(RunAdb("shell no-such-tool").output, "sh: no-such-tool: not found\r\n");
    // Several megabytes pass through flow control intact.
    EXPECT_EQ(RunAdb("shell bytes 3000000").output.size(), 3000000u);
}

TEST_F(RealAdbTest, PushWritesTheFileAndRelaysTheDevicesRefusal)
{
    std::string local = ::testing::TempDir() + "kz_push_source.bin";
    std::string content(300000, '\0');
    for (size_t i = 0; i < content.size(); ++i)
        content[i] = static_cast<char>(i * 131 % 251);
    std::ofstream(local, std::ios::binary) << content;

    e2e::CommandResult pushed = RunAdb("push " + local + " /mnt/sdcard/");
    EXPECT_NE(pushed.output.find("1 file pushed"), std::string::npos) << pushed.output;
    EXPECT_EQ(device.File("/mnt/sdcard/kz_push_source.bin"), content);

    e2e::CommandResult refused = RunAdb("push " + local + " /system/x.bin");
    EXPECT_NE(refused.output.find("remote Permission denied"), std::string::npos) << refused.output;
    EXPECT_EQ(refused.exitCode, 1);
    std::filesystem::remove(local);
}

TEST_F(RealAdbTest, ARestartedServerFindsTheBoxAgainWithinASecondOrSo)
{
    RunAdb("kill-server");
    e2e::CommandResult started = RunAdb("start-server");
    EXPECT_NE(started.output.find("daemon started successfully"), std::string::npos) << started.output;
    EXPECT_TRUE(server.WaitForState(serial, "device", std::chrono::milliseconds(2500)));
    EXPECT_EQ(RunAdb("shell echo again").output, "again\r\n");
}

TEST_F(RealAdbTest, LinkStatesShowAsAdbShowsThem)
{
    ASSERT_EQ(simulated->Control("offline"), "ok");
    ASSERT_TRUE(server.WaitForState(serial, "offline"));
    EXPECT_NE(RunAdb("shell echo x").output.find("error: device offline"), std::string::npos);

    ASSERT_EQ(simulated->Control("unauthorized"), "ok");
    ASSERT_TRUE(server.WaitForState(serial, "unauthorized"));
    EXPECT_NE(RunAdb("shell echo x").output.find("error: device unauthorized."), std::string::npos);

    ASSERT_EQ(simulated->Control("unplug"), "ok");
    ASSERT_TRUE(server.WaitForState(serial, ""));
    EXPECT_NE(RunAdb("shell echo x").output.find("error: no devices/emulators found"), std::string::npos);

    ASSERT_EQ(simulated->Control("online"), "ok");
    ASSERT_EQ(simulated->Control("plug"), "ok");
    ASSERT_TRUE(server.WaitForState(serial, "device"));
    EXPECT_EQ(RunAdb("shell echo back").output, "back\r\n");
}

TEST_F(RealAdbTest, RebootTakesTheBoxAwayAndBringsItBack)
{
    device.rebootDelayMs = 1500;
    EXPECT_EQ(RunAdb("shell reboot").output, "");
    EXPECT_NE(server.StateOf(serial), "device");
    EXPECT_TRUE(server.WaitForState(serial, "device", std::chrono::seconds(6)));
    EXPECT_EQ(RunAdb("shell echo up").output, "up\r\n");
}

}  // namespace
