#include <gtest/gtest.h>

#include "link/Texts.h"
#include "files/core/FileManagerMode.h"
#include "files/core/CopyChecks.h"
#include "files/core/FileTexts.h"
#include "files/core/ShellName.h"

using namespace kz::files;

TEST(CopyChecks, NamesInTheFileManagersOrder)
{
    const struct {
        int mode;
        const char* source;
        const char* target;
        const char* refusal;  // null: may copy
        const char* trimmed;
    } kCases[] = {
        {COPY_SDCARD_TO_UDISK, "a.bin", "  b.bin \r\n", nullptr, "b.bin"},
        {COPY_UDISK_TO_SDCARD, "a.bin", " b.bin", nullptr, " b.bin"},  // picked, never trimmed
        {COPY_SDCARD_TO_UDISK, "a.bin", "   ", text::TargetNameEmpty, ""},
        {COPY_UDISK_TO_SDCARD, "a\"b", "b", UnsafeFileName, "b"},
        {COPY_UDISK_TO_SDCARD, "a", "b\nc", UnsafeFileName, "b\nc"},
        {COPY_UDISK_TO_SDCARD, "a", "../b", text::NameNotInFolder, "../b"},
        {COPY_SDCARD_TO_UDISK, "..", "b", text::NameNotInFolder, "b"},
    };
    for (const auto& c : kCases) {
        QString target = QString::fromUtf8(c.target);
        const char* refusal = CopyTargetRefusal(c.mode, target);
        if (!refusal)
            refusal = CopyNamesRefusal(QString::fromUtf8(c.source), target);
        EXPECT_STREQ(refusal, c.refusal) << c.source << " -> " << c.target;
        EXPECT_EQ(target, QString::fromUtf8(c.trimmed)) << c.target;
    }
}

TEST(CopyChecks, SpaceVerdictsAsTheOperatorHearsThem)
{
    EXPECT_STREQ(SpaceRefusal(SpaceOk, {}), nullptr);
    EXPECT_STREQ(SpaceRefusal(SpaceTooSmall, {}), text::NotEnoughDisk);
    EXPECT_STREQ(SpaceRefusal(SpaceStorageMissing, {}), text::UdiskNotFound);
    EXPECT_STREQ(SpaceRefusal(SpaceNotReported, QStringLiteral("error: device offline\r\n")), kz::text::DeviceTurnedOff);
    EXPECT_STREQ(SpaceRefusal(SpaceNotReported, QStringLiteral("df: weird\r\n")), text::FreeSpaceUnreadable);
}

// A source not listed as itself is not copied; the box's words say why.
TEST(CopyChecks, WhatStopsACopyBeforeItStarts)
{
    const QString ls = QStringLiteral("-rwxrwxr-x system   sdcard_rw     4096 2024-05-01 09:30 /mnt/udisk/a\r\r\n");
    const QString df = QStringLiteral("/mnt/sdcard/: 7580M total, 10M used, 7570M available\r\r\n");
    const QString gone = QStringLiteral("/mnt/udisk/a: No such file or directory\r\r\n");
    const QString table = QStringLiteral("Filesystem  1K-blocks  Used Available Use% Mounted on\r\r\n");
    const struct { QString probe, df; const char* key; QString tip; } cases[] = {
        {ls, df, nullptr, {}}, {gone, df, text::CopyFailed, gone}, {ls, table, text::FreeSpaceUnreadable, table}};
    for (const auto& c : cases) {
        EXPECT_STREQ(JudgeCopyStart(QStringLiteral("a"), c.probe, c.df).key, c.key) << qPrintable(c.probe + c.df);
        EXPECT_EQ(JudgeCopyStart(QStringLiteral("a"), c.probe, c.df).tip, c.tip) << qPrintable(c.probe + c.df);
    }
}
