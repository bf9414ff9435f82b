// Command substitutions run as sh runs them, so a file name that reached the
// shell unquoted would do on the simulated box what it does on the real one.

#include "DeviceFixture.h"

namespace boxtest {
namespace {

TEST_F(DeviceTest, CommandSubstitutionsRunOutsideSingleQuotes)
{
    const struct {
        const char* command;
        const char* output;
        const char* created;  // below the state folder, or null
    } rows[] = {
        {"echo $(echo ab)c `echo d`", "abc d\n", nullptr},
        {"cd /mnt/sdcard && echo \"in `pwd`\" $(echo $(echo deep))", "in /mnt/sdcard deep\n", nullptr},
        {"echo $(cd /mnt/sdcard; pwd) $(pwd)", "/mnt/sdcard /\n", nullptr},
        {"cd /mnt/sdcard && echo '$(touch x)' '`touch x`' \\`touch x\\`", "$(touch x) `touch x` `touch x`\n", nullptr},
        {"cd /mnt/sdcard && rm ./$(touch x).bin", "rm failed for ./.bin, No such file or directory\n", "sdcard/x"},
        {"cd /mnt/sdcard && echo \"`touch y`\"", "\n", "sdcard/y"},
        {"$(touch /mnt/sdcard/z)", "", "sdcard/z"},
        {"touch /x", "touch: /x: Read-only file system\n", nullptr},
        {"echo $(echo", "sh: syntax error: unterminated command substitution\n", nullptr},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(Run(row.command), row.output) << row.command;
        if (row.created) {
            EXPECT_TRUE(fs::exists(Host(std::string("state/") + row.created))) << row.command;
        }
    }
    EXPECT_FALSE(fs::exists(Host("state/sdcard/.bin")));
    // Nine levels: the innermost is refused, on the line's own output.
    EXPECT_EQ(Run("echo deep $(echo $(echo $(echo $(echo $(echo $(echo $(echo $(echo $(echo too)))))))))"),
              "sh: command substitutions nested too deeply\ndeep \n");
}

}  // namespace
}  // namespace boxtest
