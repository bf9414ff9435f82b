#include <QTimer>
#include <gtest/gtest.h>
#include <atomic>
#include <stdexcept>
#include <system_error>
#include <thread>

#include "support/GuiTest.h"
#include "ui/GuiThread.h"

using kz::test::WaitFor;
using namespace kz::ui;

TEST(GuiThread, WorkerCallsRunOnTheGuiThreadInOrder)
{
    QObject context;
    QList<int> order;
    bool allOnGui = true;
    std::thread worker([&] {
        EXPECT_FALSE(IsGuiThread());
        for (int i = 0; i < 50; ++i)
            RunOnGui(&context, [&, i] {
                order << i;
                allOnGui = allOnGui && IsGuiThread();
            });
    });
    worker.join();
    ASSERT_TRUE(WaitFor([&] { return order.size() == 50; }));
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(order[i], i);
    EXPECT_TRUE(allOnGui);
}

TEST(GuiThread, CallsToADestroyedContextAreDropped)
{
    int ran = 0;
    auto* dialog = new QObject;
    QPointer<QObject> guarded(dialog);
    RunOnGui(dialog, [&] { ++ran; });
    std::thread worker([&] { RunOnGui(guarded, [&] { ++ran; }); });
    worker.join();
    delete dialog;  // closed and released before the GUI thread got to the calls
    QObject alive;
    bool marker = false;
    RunOnGui(&alive, [&] { marker = true; });
    ASSERT_TRUE(WaitFor([&] { return marker; }));
    EXPECT_EQ(ran, 0);
}

TEST(GuiThread, BlockingCallWaitsForTheGuiThread)
{
    QObject context;
    bool ranOnGui = false;
    std::atomic<bool> returned = false;  // polled by the GUI thread while the worker runs
    bool result = false;
    std::thread worker([&] {
        result = RunOnGuiBlocking(&context, [&] { ranOnGui = IsGuiThread(); });
        returned = true;
    });
    ASSERT_TRUE(WaitFor([&] { return returned.load(); }));
    worker.join();
    EXPECT_TRUE(result);
    EXPECT_TRUE(ranOnGui);

    int inline_ = 0;
    EXPECT_TRUE(RunOnGuiBlocking(&context, [&] { ++inline_; }));
    EXPECT_EQ(inline_, 1);  // already on the GUI thread: no queueing, no deadlock
}

TEST(GuiThread, BlockingKeepingPaintRunsElsewhereWhileTimersGoOn)
{
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(5);
    bool onHelper = false;
    RunBlockingKeepingPaint([&] {
        onHelper = !IsGuiThread();
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    });
    EXPECT_TRUE(onHelper);
    EXPECT_GT(ticks, 2);  // the GUI thread kept serving its events meanwhile
}

TEST(GuiThread, HandedOverCallsWaitUntilTheBlockingCommandEnds)
{
    QObject context;
    QStringList order;
    RunOnGui(&context, [&] { order << QStringLiteral("queued before"); });
    RunBlockingKeepingPaint([&] {
        RunOnGui(&context, [&] { order << QStringLiteral("from the command"); });
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        order << QStringLiteral("command done");  // GUI thread is waiting: no race
    });
    order << QStringLiteral("caller goes on");
    RunOnGui(&context, [&] { order << QStringLiteral("queued after"); });
    ASSERT_TRUE(WaitFor([&] { return order.size() == 5; }));
    EXPECT_EQ(order, (QStringList{"command done", "caller goes on", "queued before", "from the command",
                                  "queued after"}));
}

TEST(GuiThread, BlockingKeepingPaintPassesExceptionsBack)
{
    EXPECT_THROW(RunBlockingKeepingPaint([] { throw std::runtime_error("no box"); }), std::runtime_error);
    bool ran = false;
    RunBlockingKeepingPaint([&] { ran = true; });  // still usable afterwards
    EXPECT_TRUE(ran);
}

TEST(GuiThread, AHelperThatCannotStartReleasesTheHeldCallsAndSaysSo)
{
    const ThreadStarter failing = [](std::function<void()>) -> std::thread {
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    };
    QObject context;
    bool ran = false;
    bool delivered = false;
    EXPECT_FALSE(RunBlockingKeepingPaint([&] { ran = true; }, failing));
    EXPECT_FALSE(ran);
    RunOnGui(&context, [&] { delivered = true; });
    EXPECT_TRUE(WaitFor([&] { return delivered; }));  // no gate left held
    EXPECT_TRUE(RunBlockingKeepingPaint([&] { ran = true; }));
    EXPECT_TRUE(ran);
}
