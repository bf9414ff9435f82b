// The box as a network peer: one host at a time, registration with the adb
// server, unplug, reboot and the scenario control socket.

#include "FakeDevice.h"
#include "ScriptedHost.h"
#include "transport/Box.h"
#include "transport/ControlChannel.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using namespace box;
using namespace boxtest;

namespace {

class BoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        fakeServer = ListenLoopback(0, error);
        ASSERT_TRUE(fakeServer.Valid()) << error;
        char pattern[] = "/tmp/kzboxXXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        stateDir = pattern;
        BoxOptions options;
        options.port = 0;
        options.adbServerPort = LocalPort(fakeServer.Get());
        options.controlSocket = ControlSocketPath(stateDir);
        options.registerIntervalMs = 100;
        simulated = std::make_unique<Box>(device, options);
        ASSERT_TRUE(simulated->Start(error)) << error;
    }

    void TearDown() override
    {
        simulated.reset();
        std::filesystem::remove_all(stateDir);
    }

    // The request the box sent to the adb server, or "" when none came.
    std::string NextRegistration(int timeoutMs)
    {
        if (!WaitReadable(fakeServer.Get(), timeoutMs))
            return "";
        UniqueFd client(::accept(fakeServer.Get(), nullptr, nullptr));
        std::string text(64, '\0');
        ssize_t n = WaitReadable(client.Get(), 1000) ? ::read(client.Get(), text.data(), text.size()) : 0;
        text.resize(n > 0 ? static_cast<size_t>(n) : 0);
        return text;
    }

    // Forgets registrations that were sent before the current situation.
    void DrainRegistrations()
    {
        while (!NextRegistration(150).empty()) {
        }
    }

    std::unique_ptr<ScriptedHost> ConnectHost()
    {
        UniqueFd fd = ConnectLoopback(simulated->Port());
        return fd.Valid() ? std::make_unique<ScriptedHost>(std::move(fd)) : nullptr;
    }

    // Connects and completes the handshake; null when the box did not answer.
    std::unique_ptr<ScriptedHost> ConnectOnline()
    {
        auto host = ConnectHost();
        if (!host)
            return nullptr;
        host->Connect();
        std::optional<Packet> answer = host->Next();
        return answer && answer->command == kCnxn ? std::move(host) : nullptr;
    }

    std::string Registration() const
    {
        std::string request = "host:emulator:" + std::to_string(simulated->Port());
        char length[5];
        std::snprintf(length, sizeof length, "%04zx", request.size());
        return length + request;
    }

    FakeDevice device;
    UniqueFd fakeServer;
    std::filesystem::path stateDir;
    std::unique_ptr<Box> simulated;
};

TEST_F(BoxTest, RegistersWhileNoHostIsConnectedAndOnlyThen)
{
    EXPECT_EQ(NextRegistration(2000), Registration());
    auto host = ConnectOnline();
    ASSERT_TRUE(host);
    DrainRegistrations();
    EXPECT_EQ(NextRegistration(600), "") << "registered although a host is connected";
    host->Close();
    EXPECT_EQ(NextRegistration(2000), Registration());
}

TEST_F(BoxTest, ASecondHostIsClosedAtOnceWhileTheFirstStaysServed)
{
    auto first = ConnectOnline();
    ASSERT_TRUE(first);
    auto second = ConnectHost();
    ASSERT_TRUE(second);
    second->Connect();
    EXPECT_TRUE(second->ClosedByBox());
    uint32_t id = first->Open(1, "shell:echo first");
    EXPECT_EQ(first->ReadUntilClose(1, id), "first\r\n");
}

TEST_F(BoxTest, UnpluggedBoxDropsItsHostRefusesAndStopsRegistering)
{
    auto host = ConnectOnline();
    ASSERT_TRUE(host);
    EXPECT_EQ(SendControl(ControlSocketPath(stateDir), "unplug"), "ok");
    EXPECT_TRUE(host->ClosedByBox());
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_FALSE(ConnectOnline()) << "an unplugged box accepted a host";
    DrainRegistrations();
    EXPECT_EQ(NextRegistration(500), "");

    EXPECT_EQ(SendControl(ControlSocketPath(stateDir), "plug"), "ok");
    EXPECT_EQ(NextRegistration(2000), Registration());
    EXPECT_TRUE(ConnectOnline());
}

TEST_F(BoxTest, RebootDropsTheLinkStaysAwayForTheDelayAndComesBack)
{
    device.rebootDelayMs = 800;
    auto host = ConnectOnline();
    ASSERT_TRUE(host);
    DrainRegistrations();
    uint32_t id = host->Open(1, "shell:reboot");
    EXPECT_EQ(host->ReadUntilClose(1, id), "");
    EXPECT_TRUE(host->ClosedByBox());
    auto start = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_FALSE(ConnectOnline()) << "the box answered while rebooting";
    EXPECT_NE(NextRegistration(3000), "");
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(700));
    EXPECT_TRUE(ConnectOnline());
}

TEST_F(BoxTest, LinkCommandsChangeHowTheNextHostIsAnswered)
{
    auto socket = ControlSocketPath(stateDir);
    auto host = ConnectOnline();
    ASSERT_TRUE(host);
    EXPECT_EQ(SendControl(socket, "offline"), "ok");
    EXPECT_TRUE(host->ClosedByBox()) << "going offline must drop the live connection";

    auto silent = ConnectHost();
    ASSERT_TRUE(silent);
    silent->Connect();
    EXPECT_FALSE(silent->Next(300)) << "an offline box answered";
    EXPECT_NE(SendControl(socket, "status")->find("link=offline"), std::string::npos);

    EXPECT_EQ(SendControl(socket, "online"), "ok");
    std::optional<Packet> late = silent->Next();
    ASSERT_TRUE(late);
    EXPECT_EQ(late->command, kCnxn);

    EXPECT_EQ(SendControl(socket, "unauthorized"), "ok");
    EXPECT_TRUE(silent->ClosedByBox());
    auto refused = ConnectHost();
    ASSERT_TRUE(refused);
    refused->Connect();
    std::optional<Packet> auth = refused->Next();
    ASSERT_TRUE(auth);
    EXPECT_EQ(auth->command, kAuth);
}

TEST_F(BoxTest, OtherControlCommandsGoToTheDevice)
{
    auto socket = ControlSocketPath(stateDir);
    EXPECT_EQ(SendControl(socket, "insert-chip"), "ok");
    EXPECT_EQ(SendControl(socket, "warp 9"), "unknown command: warp 9");
    EXPECT_EQ(device.Controls(), (std::vector<std::string>{"insert-chip", "warp 9"}));
    EXPECT_FALSE(SendControl(stateDir / "nobody.sock", "status"));
}

}  // namespace
