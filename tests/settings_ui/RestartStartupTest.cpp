// A restarted program waits for its predecessor instead of refusing to run.
#include <gtest/gtest.h>

#include <QTimer>
#include <thread>

#include "app/FakeBin.h"
#include "app/MainFrame.h"
#include "app/Startup.h"
#include "link/Texts.h"
#include "platform/SingleInstance.h"
#include "settings/ConfigDlgRestart.h"
#include "support/ScriptedMessageService.h"

using namespace kz::test;

TEST(RestartStartup, WaitsForTheOldInstanceThenStarts)
{
    FakeBin bin;
    ScriptedMessageService boxes;
    auto old = std::make_unique<kz::SingleInstance>();
    ASSERT_TRUE(old->TryAcquire(QString::fromUtf8(kz::text::WindowTitle)));
    if (!old->Holds())
        GTEST_SKIP() << "no lock file can be made here";
    qputenv(kz::kRestartMarkVariable, "1");

    // The old instance ends a moment later; the new window is closed once it is up.
    std::thread oldEnds([&old] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        old->Release();
    });
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [] {
        CMainFrame* frame = CMainFrame::Instance();
        if (frame && frame->GetHWND() && frame->GetHWND()->isVisible())
            frame->Close();
    });
    closer.start(50);

    EXPECT_EQ(kz::RunMainWindow(), 0);
    oldEnds.join();
    EXPECT_FALSE(boxes.Texts().join(u'\n').contains(QStringLiteral("系统检测到您已经运行了该个程序")));
    EXPECT_EQ(bin.Calls().value(0), QStringLiteral("start-server"));
    EXPECT_TRUE(bin.Calls().contains(QStringLiteral("kill-server")));
    // Programs this one starts do not inherit the mark.
    EXPECT_FALSE(qEnvironmentVariableIsSet(kz::kRestartMarkVariable));
}
