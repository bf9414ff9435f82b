#include "tools/kz_daemon/DeviceList.h"
#include "tools/kz_daemon/SubstringWatch.h"

#include <gtest/gtest.h>

using kz::adapter::DevicesSettled;
using kz::adapter::SubstringWatch;

TEST(DeviceList, SettledOnlyWithADeviceAndNoneOffline)
{
    EXPECT_TRUE(DevicesSettled("List of devices attached\nemulator-5554\tdevice\n\n"));
    EXPECT_TRUE(DevicesSettled("List of devices attached\r\n0123\tunauthorized\r\n"));
    EXPECT_TRUE(DevicesSettled("0123\tdevice"));
    EXPECT_FALSE(DevicesSettled("List of devices attached\nemulator-5554\toffline\n\n"));
    EXPECT_FALSE(DevicesSettled("List of devices attached\r\n0123\tdevice\r\nemulator-5554\toffline\r\n"));
    EXPECT_FALSE(DevicesSettled("emulator-5554\toffline"));
}

TEST(DeviceList, EmptyAndOddListsNameNoDevice)
{
    EXPECT_FALSE(DevicesSettled("List of devices attached\n\n"));
    EXPECT_FALSE(DevicesSettled(""));
    EXPECT_FALSE(DevicesSettled("* daemon started successfully\nerror: device offline\n"));
    EXPECT_FALSE(DevicesSettled("\tdevice\n"));
    // A state that only starts with the word is no offline device.
    EXPECT_TRUE(DevicesSettled("emulator-5554\tofflineX\n"));
}

TEST(DeviceList, ANamedBoxIsSettledWhenItIsListedAndNotOffline)
{
    struct Case {
        const char* list;
        bool settled;
    };
    const Case cases[] = {
        {"List of devices attached\nemulator-5556\tdevice\n\n", true},
        {"List of devices attached\nemulator-5554\toffline\nemulator-5556\tdevice\n\n", true},
        // Another box listed first is not the one the command waits for.
        {"List of devices attached\nemulator-5554\tdevice\n\n", false},
        {"List of devices attached\nemulator-5554\tdevice\nemulator-5556\toffline\n\n", false},
        {"List of devices attached\nemulator-55560\tdevice\n\n", false},
        {"List of devices attached\n\n", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DevicesSettled(c.list, "emulator-5556"), c.settled) << c.list;
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
