// Command lines of the file manager, and how they split into the client's
// arguments.
#include <gtest/gtest.h>

#include "files/FileManagerMode.h"
#include "files/core/Commands.h"
#include "files/core/ShellName.h"
#include "files/core/TrimName.h"
#include "platform/CommandLine.h"

using namespace kz::files;

TEST(FileCommands, ListingPerMode)
{
    EXPECT_EQ(ListCommand(COPY_UDISK_TO_SDCARD), R"(shell "ls -l /mnt/udisk")");
    EXPECT_EQ(ListCommand(COPY_SDCARD_TO_UDISK), R"(shell "ls -l /mnt/sdcard")");
    EXPECT_EQ(ListCommand(SOURCE_USER_UDISK), ListCommand(SOURCE_BOOT_UDISK));
    EXPECT_EQ(ListCommand(SOURCE_USER_SDCARD), ListCommand(SOURCE_BOOT_SDCARD));
    EXPECT_EQ(ListCommand(SOURCE_BOOT_SDCARD), R"(shell "ls -l /mnt/sdcard")");
    EXPECT_TRUE(ListCommand(2).isEmpty());
    EXPECT_TRUE(ListCommand(7).isEmpty());
    EXPECT_TRUE(DeleteCommand(2, QStringLiteral("a")).isEmpty());
    EXPECT_TRUE(RenameCommand(-1, QStringLiteral("a"), QStringLiteral("b")).isEmpty());
}

TEST(FileCommands, DeleteAndRenameQuoteEveryName)
{
    EXPECT_EQ(DeleteCommand(SOURCE_USER_UDISK, QStringLiteral("my file.bin")),
              R"(shell "cd /mnt/udisk && rm 'my file.bin'")");
    EXPECT_EQ(DeleteCommand(COPY_SDCARD_TO_UDISK, QStringLiteral("a")), R"(shell "cd /mnt/sdcard && rm 'a'")");
    EXPECT_EQ(RenameCommand(SOURCE_BOOT_SDCARD, QStringLiteral("old name"), QStringLiteral("new  name")),
              R"(shell "mv /mnt/sdcard/'old name' /mnt/sdcard/'new  name'")");
    // The client gets "shell" and one shell command: blanks inside names survive.
    const QStringList args = kz::SplitWindowsCommandLine(
        RenameCommand(COPY_UDISK_TO_SDCARD, QStringLiteral("a  b"), QStringLiteral("c d")));
    ASSERT_EQ(args.size(), 2);
    EXPECT_EQ(args[1], "mv /mnt/udisk/'a  b' /mnt/udisk/'c d'");
}

TEST(FileCommands, CopyPathsAndCommands)
{
    EXPECT_EQ(CopySourcePath(COPY_UDISK_TO_SDCARD, QStringLiteral("a b")), "/mnt/udisk/'a b'");
    EXPECT_EQ(CopyTargetDirectory(COPY_UDISK_TO_SDCARD), "/mnt/sdcard/");
    EXPECT_EQ(CopyTargetPath(COPY_UDISK_TO_SDCARD, QStringLiteral("uImage")), "/mnt/sdcard/'uImage'");
    EXPECT_EQ(CopySourcePath(COPY_SDCARD_TO_UDISK, QStringLiteral("x")), "/mnt/sdcard/'x'");
    EXPECT_EQ(CopyTargetPath(COPY_SDCARD_TO_UDISK, QStringLiteral("y")), "/mnt/udisk/'y'");
    EXPECT_TRUE(CopySourcePath(SOURCE_USER_UDISK, QStringLiteral("x")).isEmpty());
    EXPECT_EQ(ProbeCommand(QStringLiteral("/mnt/udisk/'a'")), R"(shell "ls -l /mnt/udisk/'a'")");
    EXPECT_EQ(VerifyProbeCommand(QStringLiteral("/mnt/udisk/'a'")), R"(shell " ls -l /mnt/udisk/'a'")");
    EXPECT_EQ(FreeSpaceCommand(QStringLiteral("/mnt/sdcard/")), R"(shell "df /mnt/sdcard/")");
    EXPECT_EQ(CopyCommand(QStringLiteral("/mnt/udisk/'a 1%'"), QStringLiteral("/mnt/sdcard/'b'")),
              R"(shell "/mnt/sdcard/busybox cp /mnt/udisk/'a 1%' /mnt/sdcard/'b'")");
}

TEST(FileNames, QuotesAndControlCharactersAreRefused)
{
    EXPECT_TRUE(IsShellSafeName(QStringLiteral("my file (2) $HOME;ls.bin")));
    EXPECT_TRUE(IsShellSafeName(QStringLiteral("文件\\名")));
    EXPECT_FALSE(IsShellSafeName(QStringLiteral("it's")));
    EXPECT_FALSE(IsShellSafeName(QStringLiteral("say \"hi\"")));
    EXPECT_FALSE(IsShellSafeName(QStringLiteral("a\nrm -rf b")));
    EXPECT_FALSE(IsShellSafeName(QStringLiteral("tab\there")));
    EXPECT_FALSE(IsShellSafeName(QString(QChar(0x7f))));
}

TEST(FileNames, TrimKeepsInnerCharacters)
{
    QString name = QStringLiteral("  abc");
    TrimName(name);
    EXPECT_EQ(name, "abc");
    name = QStringLiteral("  a  b  \r\n");
    TrimName(name);
    EXPECT_EQ(name, "a  b");
    name = QStringLiteral("\tx ");
    TrimName(name);
    EXPECT_EQ(name, "\tx");
    name = QStringLiteral("   ");
    TrimName(name);
    EXPECT_TRUE(name.isEmpty());
}
