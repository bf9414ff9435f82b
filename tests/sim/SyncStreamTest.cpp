#include "FakeDevice.h"
#include "transport/Packet.h"
#include "transport/SyncStream.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace box;
using namespace boxtest;

namespace {

std::string Request(const std::string& tag, const std::string& body)
{
    std::string out = tag;
    AppendLe32(out, static_cast<uint32_t>(body.size()));
    return out + body;
}

std::string Word(const std::string& tag, uint32_t value)
{
    std::string out = tag;
    AppendLe32(out, value);
    return out;
}

std::string Push(const std::string& path, const std::string& data)
{
    return Request("SEND", path + ",33188") + Request("DATA", data) + Word("DONE", 0);
}

const std::string kOkay = Word("OKAY", 0);

TEST(SyncStreamTest, ByteByByteAndAllAtOnceGiveTheSameResult)
{
    std::string input = Request("STAT", "/mnt/sdcard") + Push("/mnt/sdcard/x", "hello") + Word("QUIT", 0);
    FakeDevice whole;
    SyncStream wholeStream(whole);
    std::string wholeReply = wholeStream.Feed(input);

    FakeDevice bytes;
    SyncStream byteStream(bytes);
    std::string byteReply;
    for (char c : input)
        byteReply += byteStream.Feed(std::string(1, c));

    EXPECT_EQ(wholeReply, byteReply);
    EXPECT_EQ(bytes.File("/mnt/sdcard/x"), "hello");
    EXPECT_TRUE(byteStream.Finished());
    std::string stat = wholeReply.substr(0, 16);
    EXPECT_EQ(stat.substr(0, 4), "STAT");
    EXPECT_EQ(ReadLe32(stat.data() + 4) & S_IFMT, static_cast<uint32_t>(S_IFDIR));
    EXPECT_EQ(wholeReply.substr(16), kOkay);
}

TEST(SyncStreamTest, MissingPathStatsAsAllZero)
{
    FakeDevice device;
    SyncStream stream(device);
    EXPECT_EQ(stream.Feed(Request("STAT", "/nowhere")), std::string("STAT") + std::string(12, '\0'));
}

TEST(SyncStreamTest, ARefusedPushFailsAtDoneAndTheNextPushStillWorks)
{
    FakeDevice device;
    SyncStream stream(device);
    std::string reply = stream.Feed(Push("/system/x", "data"));
    EXPECT_EQ(reply, Request("FAIL", "Permission denied"));
    EXPECT_FALSE(stream.Finished());
    EXPECT_EQ(stream.Feed(Push("/mnt/sdcard/y", "ok")), kOkay);
    EXPECT_EQ(device.File("/mnt/sdcard/y"), "ok");
}

TEST(SyncStreamTest, ProtocolViolationsFailAndEndTheStream)
{
    FakeDevice device;
    SyncStream oversized(device);
    std::string reply = oversized.Feed(Request("SEND", "/mnt/sdcard/z,33188") + Word("DATA", 64 * 1024 + 1));
    EXPECT_EQ(reply.substr(0, 4), "FAIL");
    EXPECT_TRUE(oversized.Finished());
    EXPECT_EQ(device.File("/mnt/sdcard/z"), "<missing>") << "a broken push must not appear";

    SyncStream stray(device);
    EXPECT_EQ(stray.Feed(Request("DATA", "x")).substr(0, 4), "FAIL");
    EXPECT_TRUE(stray.Finished());

    SyncStream unknown(device);
    EXPECT_EQ(unknown.Feed(Request("LIST", "/mnt/sdcard")).substr(0, 4), "FAIL");
    EXPECT_TRUE(unknown.Finished());
}

}  // namespace
