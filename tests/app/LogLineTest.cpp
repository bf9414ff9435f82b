#include "link/LogLine.h"
#include "app/core/LogStore.h"

#include <gtest/gtest.h>

using namespace kz;

namespace {
const QDateTime kTime(QDate(2024, 3, 5), QTime(9, 5, 7));
}

TEST(LogLine, SuccessLineIsComposedExactly)
{
    EXPECT_EQ(ComposeLogLine(LOG_SUCCESS, "MountUdisk Successfully!", kTime),
              "<i log_successful.png><f 2><c #00CD00> MountUdisk Successfully!<c #6A5ACD> [2024-03-05 09:05:07]"
              "</c> </f></c>");
}

TEST(LogLine, FailureLineClosesTagsInItsOwnOrder)
{
    EXPECT_EQ(ComposeLogLine(LOG_FAILURE, "Reboot Failed!", kTime),
              "<i log_failed.png><f 2><c #FF0000> Reboot Failed!<c #6A5ACD> [2024-03-05 09:05:07]</c></f></c> ");
}

TEST(LogLine, TipHasNoTimeStampAndKeepsMarkupInTheText)
{
    EXPECT_EQ(ComposeLogLine(LOG_TIP, "a <c #123456>b</c>\r\n", kTime),
              "<i log_tips.png><f 2><c #0000FF> a <c #123456>b</c>\r\n</c></f>");
}

TEST(LogLine, EmptyTextStillGetsIconAndTime)
{
    EXPECT_EQ(ComposeLogLine(LOG_SUCCESS, "", kTime),
              "<i log_successful.png><f 2><c #00CD00> <c #6A5ACD> [2024-03-05 09:05:07]</c> </f></c>");
    EXPECT_EQ(ComposeLogLine(LOG_TIP, "", kTime), "<i log_tips.png><f 2><c #0000FF> </c></f>");
}

TEST(LogLine, UnknownStyleGivesEmptyLine)
{
    EXPECT_TRUE(ComposeLogLine(3, "x", kTime).isEmpty());
    EXPECT_TRUE(ComposeLogLine(-1, "x", kTime).isEmpty());
}

TEST(LogLine, TimeStampPadsEveryField)
{
    EXPECT_EQ(FormatLogTime(QDateTime(QDate(987, 1, 2), QTime(0, 0, 9))), "[ 987-01-02 00:00:09]");
    EXPECT_EQ(FormatLogTime(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 58))), "[2026-12-31 23:59:58]");
}

TEST(LogStore, RowsInOrderAndOnlyColumnZeroHasText)
{
    CLogStore store;
    store.Append("first");
    store.Append("second");
    EXPECT_EQ(store.Count(), 2);
    EXPECT_EQ(store.ItemText(0, 0), "first");
    EXPECT_EQ(store.ItemText(1, 0), "second");
    EXPECT_TRUE(store.ItemText(1, 1).isEmpty());
    EXPECT_TRUE(store.ItemText(2, 0).isEmpty());
    EXPECT_TRUE(store.ItemText(-1, 0).isEmpty());
}

TEST(LogStore, LongLineIsKeptWhole)
{
    CLogStore store;
    const QString tip = ComposeLogLine(LOG_TIP, QString(5000, u'x'), kTime);
    store.Append(tip);
    EXPECT_EQ(store.ItemText(0, 0), tip);
    EXPECT_GT(store.ItemText(0, 0).size(), 5000);
}

