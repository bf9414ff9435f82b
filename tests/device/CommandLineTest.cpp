#include "platform/CommandLine.h"

#include "QtPrinting.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    const char* line;
    QStringList expected;
};

void ExpectSplits(const std::vector<Case>& cases)
{
    for (const Case& c : cases)
        EXPECT_EQ(kz::SplitWindowsCommandLine(QString::fromUtf8(c.line)), c.expected) << c.line;
}

TEST(SplitWindowsCommandLine, SeparatorsAndQuotes)
{
    ExpectSplits({
        {"", {}},
        {" \t ", {}},
        {"devices", {"devices"}},
        {"  a \t b  ", {"a", "b"}},
        {"a\"b c\"d", {"ab cd"}},
        {"\"\"", {""}},
        {"a \"\" b", {"a", "", "b"}},
        {"\"unterminated quote", {"unterminated quote"}},
        {"'single quotes' are plain", {"'single", "quotes'", "are", "plain"}},
        {"line\nfeed", {"line\nfeed"}},
    });
}

TEST(SplitWindowsCommandLine, BackslashesCountOnlyBeforeAQuote)
{
    ExpectSplits({
        {R"(a\b c\\d)", {R"(a\b)", R"(c\\d)"}},
        {R"(\"x)", {R"("x)"}},
        {R"(\\"x y")", {R"(\x y)"}},
        {R"(\\\"x y)", {R"(\"x)", "y"}},
        {R"("a\\\\" b)", {R"(a\\)", "b"}},
        {R"("trailing\\")", {R"(trailing\)"}},
        {R"(end\)", {R"(end\)"}},
    });
}

TEST(SplitWindowsCommandLine, DoubledQuoteInsideQuotesIsALiteralQuote)
{
    ExpectSplits({
        {R"("say ""hi"" now")", {R"(say "hi" now)"}},
        {R"("a""b" c)", {R"(a"b)", "c"}},
        // Outside quotes "" opens and closes an empty section.
        {R"(a""b)", {"ab"}},
    });
}

TEST(QuoteWindowsArgument, SplitGivesTheArgumentsBack)
{
    const QStringList args = {
        "plain", "", "with blank", "tab\there", R"(quote"inside)", R"(ends\)", R"(ends in blank\)",
        R"(\\server\share dir\)", R"(back\"quote)", R"(two\\"q)", R"("")", "/home/op/update dir/eMMC",
        QStringLiteral(u"\u4e2d file"), "'single'",
    };
    QStringList quoted;
    for (const QString& arg : args)
        quoted << kz::QuoteWindowsArgument(arg);
    EXPECT_EQ(kz::SplitWindowsCommandLine(quoted.join(u' ')), args) << quoted.join(u' ').toStdString();
    EXPECT_EQ(kz::QuoteWindowsArgument(QStringLiteral("plain")), QStringLiteral("plain"));
}

// The command lines the program sends, with placeholders filled the way
// operators fill them (names with blanks included).
TEST(SplitWindowsCommandLine, CommandFormsOfTheProgram)
{
    const QString boot = QStringLiteral("cd /mnt/sdcard && ./eMMC /READ_WRITE_DATA ");
    ExpectSplits({
        {"devices", {"devices"}},
        {"start-server", {"start-server"}},
        {"kill-server", {"kill-server"}},
        {"shell getprop ro.product.model", {"shell", "getprop", "ro.product.model"}},
        {"shell /mnt/sdcard/eMMC /emmc_info", {"shell", "/mnt/sdcard/eMMC", "/emmc_info"}},
        {"shell /mnt/sdcard/eMMC /READ_USER", {"shell", "/mnt/sdcard/eMMC", "/READ_USER"}},
        {"shell /mnt/sdcard/eMMC /MTK", {"shell", "/mnt/sdcard/eMMC", "/MTK"}},
        {"shell umount /mnt/udisk", {"shell", "umount", "/mnt/udisk"}},
        {"shell mount -t vfat /dev/block/sda1 /mnt/udisk",
         {"shell", "mount", "-t", "vfat", "/dev/block/sda1", "/mnt/udisk"}},
        {"shell reboot", {"shell", "reboot"}},
        {"shell /mnt/sdcard/eMMC /configure_boot /boot_partition_enable:1",
         {"shell", "/mnt/sdcard/eMMC", "/configure_boot", "/boot_partition_enable:1"}},
        {"shell /mnt/sdcard/eMMC /configure_boot /boot_ack:", {"shell", "/mnt/sdcard/eMMC", "/configure_boot", "/boot_ack:"}},
        {R"(shell "cd /mnt/sdcard && ./eMMC /READ_WRITE_DATA /READ_BOOT1:'my file'")",
         {"shell", boot + "/READ_BOOT1:'my file'"}},
        {R"(shell "cd /mnt/sdcard && ./eMMC /READ_WRITE_DATA /WRITE_BOOT2:/mnt/udisk/'b 2.bin'")",
         {"shell", boot + "/WRITE_BOOT2:/mnt/udisk/'b 2.bin'"}},
        {R"(shell "cd /mnt/sdcard && ./eMMC /READ_WRITE_DATA /WRITE_USER_AREA:/mnt/sdcard/'u 1.img' /WRITE_USER_AREA_S:16MB")",
         {"shell", boot + "/WRITE_USER_AREA:/mnt/sdcard/'u 1.img' /WRITE_USER_AREA_S:16MB"}},
        {R"(shell "cd /mnt/sdcard && ./eMMC /READ_WRITE_DATA /READ_USER_AREA:'dump' /READ_USER_AREA_SIZE:4MB" )",
         {"shell", boot + "/READ_USER_AREA:'dump' /READ_USER_AREA_SIZE:4MB"}},
        {R"(shell "ls -l /mnt/udisk")", {"shell", "ls -l /mnt/udisk"}},
        {R"(shell "df /mnt/sdcard/")", {"shell", "df /mnt/sdcard/"}},
        {R"(shell " ls -l /mnt/sdcard/'a b'")", {"shell", " ls -l /mnt/sdcard/'a b'"}},
        {R"(shell "/mnt/sdcard/busybox cp /mnt/udisk/'x y' /mnt/sdcard/'x y'")",
         {"shell", "/mnt/sdcard/busybox cp /mnt/udisk/'x y' /mnt/sdcard/'x y'"}},
        {R"(shell "cd /mnt/udisk && rm 'old file'")", {"shell", "cd /mnt/udisk && rm 'old file'"}},
        {"shell mv /mnt/sdcard/a.bin /mnt/sdcard/b.bin", {"shell", "mv", "/mnt/sdcard/a.bin", "/mnt/sdcard/b.bin"}},
        {"shell rm /data/dalvik-cache/*", {"shell", "rm", "/data/dalvik-cache/*"}},
        {"push /home/op/update/eMMC /mnt/sdcard", {"push", "/home/op/update/eMMC", "/mnt/sdcard"}},
        {R"(shell "cd /data/bin && chmod 777 *")", {"shell", "cd /data/bin && chmod 777 *"}},
        {R"(shell "cd /mnt/sdcard && ./dl_kernel.sh")", {"shell", "cd /mnt/sdcard && ./dl_kernel.sh"}},
    });
}

}  // namespace
