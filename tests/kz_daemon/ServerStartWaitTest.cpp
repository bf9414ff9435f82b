// After a call that started the adb server, the adapter waits (boundedly)
// until no device is listed as offline.
#include "ProcessHarness.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/wait.h>

using namespace kz::adapter::test;

namespace {

// A fake adb whose server "starts" on any command but "devices"; its device
// stays offline until the time written at the start, and every quiet "devices"
// call is counted.
const char* const kFakeAdb = R"sh(
state=$(dirname "$0")
now() { date +%s%N; }
if [ "$1" = devices ]; then
    echo call >> "$state/devices-calls"
    if [ "$(now)" -lt "$(cat "$state/online-at" 2>/dev/null || echo 0)" ]; then
        printf 'List of devices attached\nemulator-5554\toffline\n\n'
    else
        printf 'List of devices attached\nemulator-5554\tdevice\n\n'
    fi
    exit 0
fi
echo "* daemon not running; starting now at tcp:5037"
echo "* daemon started successfully"
echo $(( $(now) + OFFLINE_MS * 1000000 )) > "$state/online-at"
)sh";

class ServerStartWait : public ::testing::Test
{
protected:
    Result Start(int offlineMs, const std::string& command = "start-server")
    {
        LaunchOptions options;
        options.env["ADB"] = dir_.Script("adb", std::string("OFFLINE_MS=") + std::to_string(offlineMs) + kFakeAdb);
        return RunProcess({AdapterPath(), command}, options);
    }

    int DevicesCalls() const
    {
        std::ifstream in(dir_.Path() + "/devices-calls");
        int n = 0;
        for (std::string line; std::getline(in, line);)
            ++n;
        return n;
    }

    TempDir dir_;
};

const char* const kStartOutput = "* daemon not running; starting now at tcp:5037\r\n* daemon started successfully\r\n";

}  // namespace

TEST_F(ServerStartWait, WaitsQuietlyUntilTheDeviceIsOnline)
{
    const Result r = Start(700);
    EXPECT_EQ(r.output, kStartOutput);
    EXPECT_EQ(WEXITSTATUS(r.status), 0);
    EXPECT_GE(r.seconds, 0.65);
    EXPECT_LT(r.seconds, 1.9);
    EXPECT_GE(DevicesCalls(), 2);
}

TEST_F(ServerStartWait, GivesUpAfterTwoSeconds)
{
    const Result r = Start(60000);
    EXPECT_EQ(r.output, kStartOutput);
    EXPECT_GE(r.seconds, 1.8);
    EXPECT_LT(r.seconds, 3.0);
}

TEST_F(ServerStartWait, LooksOnceWhenOnlineAndNeverWithoutAStart)
{
    EXPECT_EQ(Start(0).output, kStartOutput);
    EXPECT_EQ(DevicesCalls(), 1);
    const Result r = Start(60000, "devices");
    EXPECT_EQ(r.output, "List of devices attached \r\nemulator-5554\tdevice\r\n\r\n");
    EXPECT_EQ(DevicesCalls(), 2);
}
