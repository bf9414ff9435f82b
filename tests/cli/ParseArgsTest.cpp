// The tool's command line against its table: what is accepted, and the
// usage error of everything else.
#include "cli/core/ConfigSettings.h"
#include "cli/core/Operands.h"
#include "cli/core/ParseArgs.h"

#include <gtest/gtest.h>

using namespace kz::cli;

namespace {

ParseResult Parse(const QString& line)
{
    return ParseArgs(line.split(u' ', Qt::SkipEmptyParts));
}

}  // namespace

TEST(ParseArgs, AcceptedLines)
{
    const struct {
        const char* line;
        const char* command;
        QStringList operands;
        QString serial;
        bool json;
    } kCases[] = {
        {"devices", "devices", {}, {}, false},
        {"--serial emulator-5556 --json ls udisk", "ls", {"udisk"}, "emulator-5556", true},
        // Global options after the command, and the --name=value form.
        {"read-boot 1 a.bin --json --serial=emulator-5554", "read-boot", {"1", "a.bin"}, "emulator-5554", true},
        // "--" lets a name start with a dash.
        {"rm -- udisk:-rf", "rm", {"udisk:-rf"}, {}, false},
        {"read-user x.bin --size 8 --unit GB", "read-user", {"x.bin"}, {}, false},
    };
    for (const auto& c : kCases) {
        const ParseResult r = Parse(QString::fromUtf8(c.line));
        ASSERT_TRUE(r.error.isEmpty()) << c.line << ": " << r.error.toStdString();
        ASSERT_NE(r.request.command, nullptr) << c.line;
        EXPECT_STREQ(r.request.command->name, c.command);
        EXPECT_EQ(r.request.operands, c.operands) << c.line;
        EXPECT_EQ(r.request.serial, c.serial) << c.line;
        EXPECT_EQ(r.request.json, c.json) << c.line;
    }
    const ParseResult user = Parse(QStringLiteral("read-user x.bin --size=8"));
    EXPECT_EQ(user.request.Value("--size"), "8");
    EXPECT_FALSE(user.request.Has("--unit"));
}

TEST(ParseArgs, UsageErrorsNameTheirCause)
{
    const struct {
        const char* line;
        const char* error;
    } kCases[] = {
        {"", "no command given"},
        {"--json", "no command given"},
        {"format", "unknown command 'format'"},
        {"ls", "ls needs udisk|sdcard"},
        {"ls udisk sdcard", "ls takes udisk|sdcard, not 'udisk sdcard'"},
        {"mount now", "mount takes no operand, not 'now'"},
        {"rm udisk:-rf -x", "unknown option -x"},
        {"ls --size 3 udisk", "ls does not take --size"},
        {"--size 3 read-user a", "unknown option --size"},
        {"read-user a.bin", "read-user needs --size N"},
        {"read-user a.bin --size", "--size needs a value (N)"},
        {"read-user a.bin --size 1 --size 2", "--size is given twice"},
        {"read-user a.bin --size 1 --unit KB", "--unit takes MB|GB, not 'KB'"},
        {"info --raw=yes", "--raw takes no value"},
        {"config --bus-width 2", "--bus-width takes 1|4|8, not '2'"},
        {"devices --serial=", "--serial needs a box's serial"},
    };
    for (const auto& c : kCases) {
        const ParseResult r = Parse(QString::fromUtf8(c.line));
        EXPECT_TRUE(r.error.startsWith(QString::fromUtf8(c.error))) << c.line << ": " << r.error.toStdString();
    }
}

TEST(ParseArgs, HelpAndManNeedNothingElse)
{
    EXPECT_TRUE(Parse(QStringLiteral("--help")).error.isEmpty());
    EXPECT_TRUE(Parse(QStringLiteral("--man")).error.isEmpty());
    // A command's help needs none of the command's own operands or options.
    const ParseResult help = Parse(QStringLiteral("write-user --help"));
    EXPECT_TRUE(help.error.isEmpty());
    EXPECT_TRUE(help.request.help);
    ASSERT_NE(help.request.command, nullptr);
    EXPECT_STREQ(help.request.command->name, "write-user");
}

TEST(Operands, Locations)
{
    const struct {
        const char* text;
        bool ok;
        Storage storage;
        const char* name;
    } kCases[] = {
        {"udisk:a b.bin", true, Storage::Udisk, "a b.bin"},
        {"sdcard:x:y", true, Storage::Sdcard, "x:y"},  // only the first colon divides
        {"sdcard:", true, Storage::Sdcard, ""},         // the name rules refuse it later
        {"UDISK:a", false, Storage::Udisk, ""},
        {"a.bin", false, Storage::Udisk, ""},
        {"/mnt/udisk/a", false, Storage::Udisk, ""},
    };
    for (const auto& c : kCases) {
        const LocationResult r = ParseLocation(QString::fromUtf8(c.text));
        EXPECT_EQ(r.error.isEmpty(), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(r.location.storage, c.storage) << c.text;
            EXPECT_EQ(r.location.name, QString::fromUtf8(c.name)) << c.text;
        }
    }
}

TEST(Operands, CountsAndBoots)
{
    EXPECT_EQ(ParseCount(QStringLiteral("10000")), 10000);
    EXPECT_EQ(ParseCount(QStringLiteral("007")), 7);
    for (const char* bad : {"", "-1", "+1", " 1", "1 ", "12abc", "1e3", "9999999999"})
        EXPECT_FALSE(ParseCount(QString::fromUtf8(bad))) << bad;
    EXPECT_EQ(ParseBoot(QStringLiteral("2")), 2);
    EXPECT_FALSE(ParseBoot(QStringLiteral("3")));
    EXPECT_FALSE(ParseBoot(QStringLiteral("01")));
}

TEST(ConfigSettings, OptionsBecomeTheDialogsItemsInItsOrder)
{
    const ParseResult r = Parse(QStringLiteral("config --bus-width 8 --mode high-speed --ack off --boot-partition user"));
    ASSERT_TRUE(r.error.isEmpty()) << r.error.toStdString();
    const std::vector<ConfigSetting> settings = ConfigSettings(r.request);
    ASSERT_EQ(settings.size(), 4u);
    using kz::board::BootSetting;
    const std::pair<BootSetting, int> expected[] = {
        {BootSetting::PartitionEnable, 7}, {BootSetting::Ack, 1}, {BootSetting::Mode, 1}, {BootSetting::BusWidth, 2}};
    for (size_t i = 0; i < settings.size(); ++i) {
        EXPECT_EQ(settings[i].setting, expected[i].first) << i;
        EXPECT_EQ(settings[i].index, expected[i].second) << i;
    }
    const ParseResult none = Parse(QStringLiteral("config --boot-partition none --bus-width 1"));
    const std::vector<ConfigSetting> two = ConfigSettings(none.request);
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[0].index, 0);
    EXPECT_EQ(two[1].index, 0);
    EXPECT_TRUE(ConfigSettings(Parse(QStringLiteral("config")).request).empty());
}
