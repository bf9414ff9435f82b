#include "tools/kz_daemon/DeviceList.h"
#include "tools/kz_daemon/SubstringWatch.h"

#include <gtest/gtest.h>

using kz::adapter::ListsOfflineDevice;
using kz::adapter::SubstringWatch;

TEST(DeviceList, OfflineEntryIsFound)
{
    EXPECT_TRUE(ListsOfflineDevice("List of devices attached\nemulator-5554\toffline\n\n"));
    EXPECT_TRUE(ListsOfflineDevice("List of devices attached\r\n0123\tdevice\r\nemulator-5554\toffline\r\n"));
    EXPECT_TRUE(ListsOfflineDevice("emulator-5554\toffline"));
}

TEST(DeviceList, OnlineEmptyAndOddListsAreNotOffline)
{
    EXPECT_FALSE(ListsOfflineDevice("List of devices attached\n\n"));
    EXPECT_FALSE(ListsOfflineDevice("List of devices attached\nemulator-5554\tdevice\n\n"));
    EXPECT_FALSE(ListsOfflineDevice("List of devices attached\n0123\tunauthorized\n\n"));
    EXPECT_FALSE(ListsOfflineDevice(""));
    // The word elsewhere is no device state.
    EXPECT_FALSE(ListsOfflineDevice("error: device offline\n"));
    EXPECT_FALSE(ListsOfflineDevice("\toffline\n"));
    EXPECT_FALSE(ListsOfflineDevice("emulator-5554\tofflineX\n"));
}

TEST(SubstringWatch, SeesTheNeedleAcrossChunksButNoNearMiss)
{
    SubstringWatch w("daemon started successfully");
    w.Feed("* daemon started unsuccessfully\n* daemon sta");
    w.Feed("rted succ");
    EXPECT_FALSE(w.Seen());
    w.Feed("essfully\nList");
    EXPECT_TRUE(w.Seen());
}
