// The shell's command log: one entry per command line, in order, with line
// breaks and other control characters escaped so no entry can be forged.

#include "DeviceFixture.h"

namespace boxtest {
namespace {

TEST_F(DeviceTest, CommandLogKeepsEachLineAsOneEntry)
{
    const struct {
        std::string command;
        std::string entry;
    } rows[] = {
        {"ls -l /mnt/sdcard", "ls -l /mnt/sdcard"},
        {"echo 'a\nrm -rf /mnt/sdcard'", "echo 'a\\nrm -rf /mnt/sdcard'"},
        {"echo a\\\\b\r\t", "echo a\\\\\\\\b\\r\\x09"},
        {"", ""},
    };
    std::string expected;
    for (const auto& row : rows) {
        Run(row.command);
        expected += row.entry + "\n";
    }
    EXPECT_EQ(ReadHostFile("state/shell-commands.log"), expected);
    Restart();
    Run("true");
    EXPECT_EQ(ReadHostFile("state/shell-commands.log"), expected + "true\n") << "a restart keeps the log";
}

}  // namespace
}  // namespace boxtest
