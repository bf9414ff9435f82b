#include "link/TrackDevices.h"

#include <gtest/gtest.h>

using namespace kz;

namespace {

const TrackedDevice kBox{"emulator-5554", "device"};
const QByteArray kBoxFrame = "0015emulator-5554\tdevice\n";

// The lists read from `chunks` fed one after another.
QList<TrackedList> ReadAll(const QList<QByteArray>& chunks)
{
    TrackFrameReader reader;
    QList<TrackedList> lists;
    for (const QByteArray& chunk : chunks)
        lists += reader.Feed(chunk);
    return lists;
}

}  // namespace

TEST(TrackFrameReader, ReadsFramesHoweverThePipeCutsThem)
{
    const TrackedList box{kBox};
    const TrackedList two{kBox, {"0123ABCD", "unauthorized"}};
    struct Case {
        const char* what;
        QList<QByteArray> chunks;
        QList<TrackedList> lists;
    };
    const Case cases[] = {
        {"empty list", {"0000"}, {TrackedList{}}},
        {"one frame", {kBoxFrame}, {box}},
        {"two devices", {"002bemulator-5554\tdevice\n0123ABCD\tunauthorized\n"}, {two}},
        {"joined", {kBoxFrame + "0000" + kBoxFrame}, {box, {}, box}},
        {"split in the length", {"00", "15emulator-5554\tdevice\n"}, {box}},
        {"split in the payload", {"0015emul", "ator-5554\tdev", "ice\n00"}, {box}},
        {"byte by byte", [] { QList<QByteArray> bytes; for (char c : kBoxFrame) bytes << QByteArray(1, c); return bytes; }(), {box}},
        {"notice before a frame", {"* daemon started successfully\n" + kBoxFrame}, {box}},
        {"notice cut across reads", {"* daemon sta", "rted\n0000"}, {TrackedList{}}},
        {"hex that is no length", {"dead beef\n0000"}, {TrackedList{}}},
        {"payload that is no list", {"0005hello\n0000"}, {TrackedList{}}},
        {"line without a state", {"000aemulator\t\n" + kBoxFrame}, {box}},
        {"nothing yet", {"001"}, {}},
        {"binary noise", {QByteArray("\0\xff\x01\n", 4), "0000"}, {TrackedList{}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadAll(c.chunks), c.lists) << c.what;
    // adb's own words are handed on, not lost with the skipped text.
    TrackFrameReader reader;
    reader.Feed("adb server version (41) doesn't match this client (39); killing...\n" + kBoxFrame);
    EXPECT_EQ(reader.TakeSkipped(), "adb server version (41) doesn't match this client (39); killing...\n");
    EXPECT_EQ(reader.TakeSkipped(), "");
}

TEST(TrackFrameReader, GarbageNeverStopsTheStream)
{
    TrackFrameReader reader;
    for (int i = 0; i < 256; ++i)
        reader.Feed(QByteArray(1, char(i)) + "zz\x7f\t");
    EXPECT_EQ(reader.Feed("\n" + kBoxFrame), QList<TrackedList>{TrackedList{kBox}});
}

TEST(CompareTracked, OnlyTheDeviceStateCounts)
{
    const TrackedDevice offline{"emulator-5554", "offline"};
    const TrackedDevice other{"0123ABCD", "device"};
    struct Case {
        const char* what;
        TrackedList before, after;
        TrackedChange change;
    };
    const Case cases[] = {
        {"arrival", {}, {kBox}, {false, true, true}},
        {"removal", {kBox}, {}, {true, false, true}},
        {"turns offline", {kBox}, {offline}, {true, false, true}},
        {"comes online", {offline}, {kBox}, {false, true, true}},
        {"appears offline", {}, {offline}, {false, false, true}},
        {"unchanged", {kBox}, {kBox}, {false, false, false}},
        {"one goes, another comes", {kBox}, {other}, {true, true, true}},
        {"a second one comes", {kBox}, {kBox, other}, {false, true, true}},
        {"offline goes", {offline}, {}, {false, false, true}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CompareTracked(c.before, c.after), c.change) << c.what;
}

TEST(FirstTracked, JudgedAgainstWhatTheProgramBelieves)
{
    const TrackedList offline{{"emulator-5554", "offline"}};
    EXPECT_EQ(FirstTracked({kBox}, true), (TrackedChange{false, true, true}));
    EXPECT_EQ(FirstTracked({kBox}, false), (TrackedChange{false, true, true}));
    EXPECT_EQ(FirstTracked(offline, true), (TrackedChange{true, false, true}));
    EXPECT_EQ(FirstTracked({}, true), (TrackedChange{true, false}));
    EXPECT_EQ(FirstTracked(offline, false), (TrackedChange{false, false, true}));
}
