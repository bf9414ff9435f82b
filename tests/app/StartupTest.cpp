// The single-instance rule of the start-up.
#include <gtest/gtest.h>

#include "app/FakeBin.h"
#include "app/Startup.h"
#include "link/Texts.h"
#include "platform/SingleInstance.h"
#include "support/ScriptedMessageService.h"

using namespace kz::test;

TEST(Startup, SecondInstanceSaysSoInChineseAndBuildsNoWindow)
{
    FakeBin bin;
    ScriptedMessageService boxes;
    kz::SingleInstance first;
    ASSERT_TRUE(first.TryAcquire("korvald emmc PROFESSIONAL"));  // the title in another case
    if (!first.Holds())
        GTEST_SKIP() << "no lock file can be made here";
    EXPECT_EQ(kz::RunMainWindow(), 0);
    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_EQ(boxes.Requests()[0].caption, "提示：");
    EXPECT_EQ(boxes.Requests()[0].text, "系统检测到您已经运行了该个程序。\r\n请退出另外一个程序再运行该程序！");
    EXPECT_TRUE(boxes.Requests()[0].ownerName.isEmpty());
    EXPECT_TRUE(bin.Calls().isEmpty());  // not even the adb server was started
}
