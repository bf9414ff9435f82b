// The streaming runner against scripted clients.
#include <QStringList>
#include <gtest/gtest.h>
#include <mutex>

#include "StreamScript.h"
#include "master/core/StreamingCommand.h"
#include "support/GuiTest.h"
#include "support/ScriptedMessageService.h"

using namespace kz::test;
using kz::master::StreamingCommand;

namespace {

const QString kCommand = QStringLiteral("shell /mnt/sdcard/eMMC /READ_USER");

// What the reader handed over, read from the test thread.
struct Received {
    std::mutex mutex;
    QStringList pieces;
    int finished = 0;

    StreamingCommand::Callbacks Callbacks()
    {
        StreamingCommand::Callbacks callbacks;
        callbacks.piece = [this](const QString& piece) {
            std::lock_guard<std::mutex> lock(mutex);
            pieces << piece;
        };
        callbacks.finished = [this] {
            std::lock_guard<std::mutex> lock(mutex);
            ++finished;
        };
        return callbacks;
    }
    QStringList Pieces()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return pieces;
    }
    int Finished()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return finished;
    }
};

class StreamingCommandTest : public ::testing::Test {
protected:
    FakeBin bin;
    ScriptedMessageService boxes;
    Received received;
};

}  // namespace

TEST_F(StreamingCommandTest, OutputArrivesWhileTheClientRuns)
{
    StreamCommand(bin, kCommand, "printf 'READ_USER: 5%%\\r\\r\\n'\n" + WaitForGate("gate") + "printf 'done\\r\\r\\n'\n");
    auto run = StreamingCommand::Start(kCommand, 127, received.Callbacks());
    ASSERT_TRUE(run);
    ASSERT_TRUE(WaitFor([&] { return received.Pieces().size() == 1; }));
    EXPECT_EQ(received.Pieces()[0], "READ_USER: 5%\r\r\n");
    EXPECT_FALSE(run->HasEnded());
    EXPECT_EQ(received.Finished(), 0);

    OpenGate(bin, "gate");
    ASSERT_TRUE(WaitFor([&] { return run->HasEnded(); }));
    EXPECT_EQ(received.Pieces(), (QStringList{"READ_USER: 5%\r\r\n", "done\r\r\n"}));
    EXPECT_EQ(received.Finished(), 1);
    EXPECT_EQ(bin.Calls(), QStringList{kCommand});
    EXPECT_EQ(boxes.Count(), 0);
}

TEST_F(StreamingCommandTest, AClientThatCannotStartIsReportedAndEndsTheRun)
{
    RemoveClient(bin);
    auto run = StreamingCommand::Start(kCommand, 127, received.Callbacks());
    ASSERT_TRUE(WaitFor([&] { return run->HasEnded(); }));
    ASSERT_EQ(boxes.Count(), 1);
    const MessageRecord box = boxes.Requests()[0];
    EXPECT_EQ(box.text, "CreateProcess Failed!");
    EXPECT_EQ(box.caption, "Prompt");
    EXPECT_EQ(box.icon, kz::MsgIcon::Warning);
    EXPECT_TRUE(box.ownerName.isEmpty());
    EXPECT_TRUE(received.Pieces().isEmpty());
    EXPECT_EQ(received.Finished(), 0);
}

// Stopping ends the hand-over only.  The client writes far more than a pipe
// holds after the stop; it must still get to its end, neither blocked on a
// full pipe nor killed by a closed one.
TEST_F(StreamingCommandTest, AStoppedRunStillDrainsTheClientToItsEnd)
{
    StreamCommand(bin, kCommand,
                  "printf 'first\\r\\r\\n'\n" + WaitForGate("gate") +
                      "if head -c 300000 /dev/zero | tr '\\0' 'y'; then echo ok > \"$1/client-done\"; fi\n");
    auto run = StreamingCommand::Start(kCommand, 127, received.Callbacks());
    ASSERT_TRUE(WaitFor([&] { return received.Pieces().size() == 1; }));
    run->Stop();
    EXPECT_TRUE(run->IsStopped());
    OpenGate(bin, "gate");
    EXPECT_TRUE(WaitFor([&] { return ClientFileExists(bin, "client-done"); }));
    EXPECT_TRUE(WaitFor([&] { return run->HasEnded(); }));
    EXPECT_EQ(received.Pieces(), QStringList{"first\r\r\n"});
    EXPECT_EQ(received.Finished(), 0);
}

TEST_F(StreamingCommandTest, TheRunOutlivesItsLastOwner)
{
    StreamCommand(bin, kCommand, WaitForGate("gate") + "printf 'late\\n'\n");
    std::weak_ptr<StreamingCommand> weak;
    {
        auto run = StreamingCommand::Start(kCommand, 127, received.Callbacks());
        weak = run;
    }
    ASSERT_FALSE(weak.expired());  // the reader holds it
    OpenGate(bin, "gate");
    ASSERT_TRUE(WaitFor([&] { return received.Finished() == 1; }));
    EXPECT_EQ(received.Pieces(), QStringList{"late\n"});
    EXPECT_TRUE(WaitFor([&] { return weak.expired(); }));
}
