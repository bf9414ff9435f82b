// Command lines of the file manager, and how they split into the client's
// arguments.
#include <gtest/gtest.h>

#include "files/core/FileManagerMode.h"
#include "files/core/Commands.h"
#include "files/core/FileTexts.h"
#include "files/core/NameRules.h"
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
              R"(shell "cd /mnt/udisk && rm ./'my file.bin'")");
    EXPECT_EQ(DeleteCommand(COPY_SDCARD_TO_UDISK, QStringLiteral("a")), R"(shell "cd /mnt/sdcard && rm ./'a'")");
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
    EXPECT_EQ(ChecksumCommand(QStringLiteral("/mnt/sdcard/'b'")),
              R"(shell "/mnt/sdcard/busybox md5sum /mnt/sdcard/'b'")");
}

// What the box's shell gets once the client has split the line: names with
// apostrophes or a leading dash stay one word that is never an option.
TEST(FileCommands, ApostrophesAndDashesReachTheShellIntact)
{
    const struct {
        QString command;
        QString shellLine;
    } cases[] = {
        {DeleteCommand(SOURCE_USER_UDISK, QStringLiteral("John's.bin")), R"(cd /mnt/udisk && rm ./'John'\''s.bin')"},
        {DeleteCommand(SOURCE_USER_SDCARD, QStringLiteral("-rf")), R"(cd /mnt/sdcard && rm ./'-rf')"},
        {RenameCommand(SOURCE_USER_UDISK, QStringLiteral("-x"), QStringLiteral("a'")),
         R"(mv /mnt/udisk/'-x' /mnt/udisk/'a'\''')"},
        {CopyCommand(CopySourcePath(COPY_UDISK_TO_SDCARD, QStringLiteral("'\\")),
                     CopyTargetPath(COPY_UDISK_TO_SDCARD, QStringLiteral("-f"))),
         R"(/mnt/sdcard/busybox cp /mnt/udisk/''\''\' /mnt/sdcard/'-f')"},
        {ChecksumCommand(CopyTargetPath(COPY_UDISK_TO_SDCARD, QStringLiteral("-c'"))),
         R"(/mnt/sdcard/busybox md5sum /mnt/sdcard/'-c'\''')"},
    };
    for (const auto& c : cases) {
        const QStringList args = kz::SplitWindowsCommandLine(c.command);
        EXPECT_EQ(args, (QStringList{QStringLiteral("shell"), c.shellLine})) << qPrintable(c.command);
    }
}

TEST(FileNames, DoubleQuotesAndControlCharactersAreRefused)
{
    EXPECT_TRUE(IsShellSafeName(QStringLiteral("my file (2) $HOME;ls.bin")));
    EXPECT_TRUE(IsShellSafeName(QStringLiteral("文件\\名")));
    EXPECT_TRUE(IsShellSafeName(QStringLiteral("it's")));
    EXPECT_FALSE(IsShellSafeName(QStringLiteral("say \"hi\"")));
    EXPECT_FALSE(IsShellSafeName(QStringLiteral("a\nrm -rf b")));
    EXPECT_FALSE(IsShellSafeName(QStringLiteral("tab\there")));
    EXPECT_FALSE(IsShellSafeName(QString(QChar(0x7f))));
}

TEST(FileNames, NewNameMustStayInItsFolder)
{
    const struct {
        const char* name;
        const char* refusal;
    } cases[] = {
        {"", kz::files::text::NameEmptyEnterAgain},
        {"../sdcard/moved.img", kz::files::text::NameNotInFolder},
        {"sub/a", kz::files::text::NameNotInFolder},
        {".", kz::files::text::NameNotInFolder},
        {"..", kz::files::text::NameNotInFolder},
        {"say \"hi\"", UnsafeFileName},
        {"a\nb", UnsafeFileName},
        {"...", nullptr},
        {".hidden", nullptr},
        {"-rf", nullptr},
        {"John's.bin", nullptr},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NewNameRefusal(QString::fromUtf8(c.name)), c.refusal) << c.name;
}

TEST(FileNames, ClashWithAListedNameIgnoresCase)
{
    const QStringList files{QStringLiteral("readme.txt"), QStringLiteral("system.img")};
    const QStringList folders{QStringLiteral("backups")};
    const struct {
        const char* newName;
        NameClash clash;
    } cases[] = {
        {"new.bin", NameClash::None},
        {"README.TXT", NameClash::None},  // the file itself, in other letters
        {"system.img", NameClash::File},
        {"System.IMG", NameClash::File},
        {"Backups", NameClash::Folder},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FindNameClash(files, folders, QStringLiteral("readme.txt"), QString::fromUtf8(c.newName)), c.clash)
            << c.newName;
    }
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
