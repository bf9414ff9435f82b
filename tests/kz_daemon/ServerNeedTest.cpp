#include "tools/kz_daemon/ServerNeed.h"

#include <gtest/gtest.h>

using kz::adapter::ChosenSerial;
using kz::adapter::LocalServerPortFor;

namespace {

std::optional<int> PortFor(const std::vector<std::string>& args, const char* portEnv = nullptr,
                           const char* socketEnv = nullptr)
{
    return LocalServerPortFor(args, portEnv, socketEnv);
}

}  // namespace

TEST(ServerNeed, DeviceCommandsNeedTheServerOnTheNamedPort)
{
    EXPECT_EQ(PortFor({"shell", "mount", "x"}), 5037);
    EXPECT_EQ(PortFor({"devices"}, ""), 5037);
    EXPECT_EQ(PortFor({"push", "a", "/mnt/sdcard"}, "6001"), 6001);
    // The command line's port wins over the environment's, in both spellings.
    EXPECT_EQ(PortFor({"-P", "6002", "devices"}, "6001"), 6002);
    EXPECT_EQ(PortFor({"-P6003", "devices"}), 6003);
    // An option value is no command word, even one spelled like a command.
    EXPECT_EQ(PortFor({"-s", "kill-server", "shell", "ls"}), 5037);
    EXPECT_EQ(PortFor({"-d", "-t", "3", "reboot"}), 5037);
}

TEST(ServerNeed, CommandsThatOwnOrNeedNoServerAreLeftAlone)
{
    for (const char* command : {"start-server", "kill-server", "version", "help"})
        EXPECT_EQ(PortFor({command}), std::nullopt) << command;
    EXPECT_EQ(PortFor({}), std::nullopt);
    EXPECT_EQ(PortFor({"-s", "0123"}), std::nullopt);
    EXPECT_EQ(PortFor({"-P", "6002", "kill-server"}), std::nullopt);
}

TEST(ServerNeed, RemoteServersAndBadPortsAreLeftToAdb)
{
    EXPECT_EQ(PortFor({"-H", "10.0.0.2", "devices"}), std::nullopt);
    EXPECT_EQ(PortFor({"-L", "tcp:10.0.0.2:5037", "devices"}), std::nullopt);
    EXPECT_EQ(PortFor({"devices"}, nullptr, "tcp:10.0.0.2:5037"), std::nullopt);
    for (const char* bad : {"0", "65536", "12x", "-5", " 5037", "999999"})
        EXPECT_EQ(PortFor({"devices"}, bad), std::nullopt) << bad;
    EXPECT_EQ(PortFor({"-P", "abc", "devices"}, "6001"), std::nullopt);
    EXPECT_EQ(PortFor({"devices"}, "65535"), 65535);
}

TEST(ServerNeed, TheBoxIsNamedByDashSElseByTheEnvironment)
{
    struct Case {
        std::vector<std::string> args;
        const char* serialEnv;
        std::string serial;
    };
    const Case cases[] = {
        {{"-s", "emulator-5556", "shell", "true"}, nullptr, "emulator-5556"},
        {{"-s", "emulator-5556", "shell", "true"}, "emulator-5554", "emulator-5556"},
        {{"-P", "6002", "-s", "0123", "push", "a", "b"}, nullptr, "0123"},
        {{"shell", "true"}, "emulator-5554", "emulator-5554"},
        {{"shell", "true"}, nullptr, ""},
        // Words after the command belong to it, not to adb.
        {{"shell", "ls", "-s", "x"}, nullptr, ""},
        {{"-t", "3", "shell", "true"}, nullptr, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChosenSerial(c.args, c.serialEnv), c.serial) << c.args.front() << " " << c.args.back();
}
