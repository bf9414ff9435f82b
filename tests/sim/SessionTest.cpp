// The transport's handling of one host connection, driven by a scripted host
// over a socket pair.

#include "FakeDevice.h"
#include "ScriptedHost.h"
#include "transport/Session.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <sys/socket.h>
#include <thread>

using namespace box;
using namespace boxtest;

namespace {

constexpr char kBanner[] = "device::ro.product.name=korvald;ro.product.model=imx51_bbg;ro.product.device=imx51;features=";

class SessionTest : public ::testing::Test {
protected:
    void Start(LinkMode mode = LinkMode::Online)
    {
        int fds[2];
        ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds), 0);
        host = std::make_unique<ScriptedHost>(UniqueFd(fds[0]));
        session = std::make_unique<Session>(UniqueFd(fds[1]), device, mode, [this] { ++reboots; });
        reader = std::thread([this] {
            session->Run();
            ended = true;
        });
    }

    void StartOnline(uint32_t maxPayload = 0x100000)
    {
        Start();
        host->Connect(maxPayload);
        std::optional<Packet> answer = host->Next();
        ASSERT_TRUE(answer);
        ASSERT_EQ(answer->command, kCnxn);
    }

    void TearDown() override
    {
        if (host)
            host->Close();
        if (reader.joinable())
            reader.join();
    }

    bool WaitFor(const std::function<bool()>& condition)
    {
        for (int i = 0; i < 200 && !condition(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return condition();
    }

    FakeDevice device;
    std::unique_ptr<ScriptedHost> host;
    std::unique_ptr<Session> session;
    std::thread reader;
    std::atomic<int> reboots{0};
    std::atomic<bool> ended{false};
};

TEST_F(SessionTest, AnswersTheHostsConnectWithTheOldDeviceBannerAndNeverSpeaksFirst)
{
    Start();
    EXPECT_FALSE(host->Next(150)) << "the box spoke before the host's CNXN";
    host->Connect();
    std::optional<Packet> answer = host->Next();
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->command, kCnxn);
    EXPECT_EQ(answer->arg0, 0x01000001u);
    EXPECT_EQ(answer->arg1, kMaxPayload);
    EXPECT_EQ(answer->payload, kBanner);
}

TEST_F(SessionTest, ShellOutputReachesTheHostAsATerminalWouldPrintItAndTheStreamCloses)
{
    StartOnline();
    uint32_t id = host->Open(7, "shell:lines 2");
    ASSERT_NE(id, 0u);
    EXPECT_EQ(host->ReadUntilClose(7, id), "line 0\r\nline 1\r\n");

    uint32_t unknown = host->Open(8, "shell:frobnicate");
    ASSERT_NE(unknown, 0u);
    EXPECT_NE(unknown, id) << "stream ids must not be reused";
    EXPECT_EQ(host->ReadUntilClose(8, unknown), "sh: frobnicate: not found\r\n");
}

TEST_F(SessionTest, WaitsForTheHostsOkayBeforeEachWrite)
{
    StartOnline();
    uint32_t id = host->Open(3, "shell:lines 2");
    std::optional<Packet> first = host->Next();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->payload, "line 0\r\n");
    EXPECT_FALSE(host->Next(200)) << "a second WRTE came before the host's OKAY";
    host->Send({kOkay, 3, id, {}});
    std::optional<Packet> second = host->Next();
    ASSERT_TRUE(second);
    EXPECT_EQ(second->payload, "line 1\r\n");
}

TEST_F(SessionTest, SplitsOutputAtTheNegotiatedPayloadLimit)
{
    StartOnline(16);
    uint32_t id = host->Open(3, "shell:bytes 40");
    std::vector<size_t> sizes;
    while (std::optional<Packet> packet = host->Next()) {
        if (packet->command == kClse)
            break;
        sizes.push_back(packet->payload.size());
        host->Send({kOkay, 3, id, {}});
    }
    EXPECT_EQ(sizes, (std::vector<size_t>{16, 16, 8}));
}

TEST_F(SessionTest, StreamsRunSideBySideAndAHostCloseStopsOnlyItsCommand)
{
    StartOnline();
    uint32_t spin = host->Open(1, "shell:spin");
    ASSERT_NE(spin, 0u);
    std::optional<Packet> dot = host->Next();
    ASSERT_TRUE(dot);
    EXPECT_EQ(dot->arg0, spin);
    // The spinning command waits for our OKAY meanwhile; the other stream is not held up.
    uint32_t echo = host->Open(2, "shell:echo hi");
    EXPECT_EQ(host->ReadUntilClose(2, echo), "hi\r\n");

    host->Send({kClse, 1, spin, {}});
    EXPECT_TRUE(WaitFor([this] { return device.spinEnded == 1; }));
    EXPECT_TRUE(device.spinWriteFailed);
    EXPECT_FALSE(host->Next(200)) << "the box wrote to a stream the host closed";
}

TEST_F(SessionTest, RefusesUnknownServicesAndIgnoresUnknownStreams)
{
    StartOnline();
    host->Send({kOpen, 5, 0, std::string("framebuffer:") + '\0'});
    std::optional<Packet> refusal = host->Next();
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->command, kClse);
    EXPECT_EQ(refusal->arg0, 0u);
    EXPECT_EQ(refusal->arg1, 5u);

    host->Send({kWrte, 9, 999, "stray"});
    host->Send({kOkay, 9, 999, {}});
    host->Send({kClse, 9, 999, {}});
    host->Send({0x31323334, 0, 0, {}});
    uint32_t id = host->Open(6, "shell:echo still here");
    EXPECT_EQ(host->ReadUntilClose(6, id), "still here\r\n");
}

TEST_F(SessionTest, UnauthorizedLinkRejectsSignaturesIgnoresKeysAndOpensNothing)
{
    Start(LinkMode::Unauthorized);
    host->Connect();
    std::optional<Packet> auth = host->Next();
    ASSERT_TRUE(auth);
    EXPECT_EQ(auth->command, kAuth);
    EXPECT_EQ(auth->arg0, 1u);
    EXPECT_EQ(auth->payload.size(), 20u);
    host->Send({kAuth, 2, 0, std::string(256, 's')});
    std::optional<Packet> again = host->Next();
    ASSERT_TRUE(again) << "a rejected signature must be answered with a new token";
    EXPECT_EQ(again->command, kAuth);
    EXPECT_EQ(again->arg0, 1u);
    EXPECT_NE(again->payload, auth->payload);
    host->Send({kAuth, 3, 0, "QUFBQUFB key@host"});
    host->Send({kOpen, 4, 0, std::string("shell:echo hi") + '\0'});
    EXPECT_FALSE(host->Next(200)) << "an unauthorized box answered";

    session->Promote();
    std::optional<Packet> connect = host->Next();
    ASSERT_TRUE(connect);
    EXPECT_EQ(connect->command, kCnxn);
}

TEST_F(SessionTest, OfflineLinkStaysSilentUntilPromoted)
{
    Start(LinkMode::Offline);
    host->Connect();
    EXPECT_FALSE(host->Next(200));
    session->Promote();
    std::optional<Packet> connect = host->Next();
    ASSERT_TRUE(connect);
    EXPECT_EQ(connect->payload, kBanner);
}

TEST_F(SessionTest, DropsTheConnectionOnABadMagic)
{
    StartOnline();
    std::string raw = EncodePacket({kOpen, 1, 0, "shell:echo x"});
    raw[20] ^= 0x01;
    host->SendRaw(raw);
    EXPECT_TRUE(host->ClosedByBox());
    EXPECT_TRUE(WaitFor([this] { return ended.load(); }));
}

TEST_F(SessionTest, DropsTheConnectionOnAnOversizedPacket)
{
    StartOnline();
    std::string raw = EncodePacket({kWrte, 1, 1, {}});
    uint32_t huge = kMaxPayload + 1;
    std::memcpy(raw.data() + 12, &huge, 4);  // little-endian host
    host->SendRaw(raw);
    EXPECT_TRUE(host->ClosedByBox());
}

TEST_F(SessionTest, HostVanishingMidStreamEndsTheCommandAndTheSession)
{
    StartOnline();
    ASSERT_NE(host->Open(1, "shell:spin"), 0u);
    ASSERT_TRUE(host->Next());
    host->Close();
    EXPECT_TRUE(WaitFor([this] { return ended.load(); }));
    EXPECT_EQ(device.spinEnded, 1);
}

TEST_F(SessionTest, RebootClosesTheStreamThenReportsTheReboot)
{
    StartOnline();
    uint32_t id = host->Open(1, "shell:reboot");
    EXPECT_EQ(host->ReadUntilClose(1, id), "");
    EXPECT_TRUE(WaitFor([this] { return reboots == 1; }));
}

TEST_F(SessionTest, RebootServiceIsAcceptedAndThenReboots)
{
    StartOnline();
    EXPECT_NE(host->Open(4, "reboot:"), 0u) << "adb reboot reports 'error: closed' on a refusal";
    EXPECT_TRUE(WaitFor([this] { return reboots == 1; }));
}

TEST_F(SessionTest, PushArrivesWhateverTheWriteBoundaries)
{
    StartOnline();
    uint32_t id = host->Open(2, "sync:");
    ASSERT_NE(id, 0u);
    std::string content(70000, 'a');
    for (size_t i = 0; i < content.size(); i += 7)
        content[i] = static_cast<char>('0' + i % 10);
    std::string stream;
    auto request = [&stream](const std::string& tag, const std::string& body) {
        stream += tag;
        AppendLe32(stream, static_cast<uint32_t>(body.size()));
        stream += body;
    };
    request("SEND", "/mnt/sdcard/a.bin,33188");
    request("DATA", content.substr(0, 65536));
    request("DATA", content.substr(65536));
    stream += "DONE";
    AppendLe32(stream, 1234);

    // Odd-sized pieces: headers and data are split across WRTEs.
    for (size_t at = 0; at < stream.size(); at += 4097) {
        host->Send({kWrte, 2, id, stream.substr(at, 4097)});
        std::optional<Packet> okay = host->Next();
        ASSERT_TRUE(okay);
        ASSERT_EQ(okay->command, kOkay);
    }
    std::optional<Packet> reply = host->Next();
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->command, kWrte);
    EXPECT_EQ(reply->payload, std::string("OKAY\0\0\0\0", 8));
    host->Send({kOkay, 2, id, {}});
    EXPECT_EQ(device.File("/mnt/sdcard/a.bin"), content);

    std::string quit = "QUIT";
    AppendLe32(quit, 0);
    host->Send({kWrte, 2, id, quit});
    ASSERT_TRUE(host->Next());  // OKAY
    std::optional<Packet> close = host->Next();
    ASSERT_TRUE(close);
    EXPECT_EQ(close->command, kClse);
}

}  // namespace
