#include <gtest/gtest.h>

#include "app/core/Texts.h"
#include "files/FileManagerMode.h"
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
    EXPECT_STREQ(SpaceRefusal(SpaceNotReported, QStringLiteral("df: weird\r\n")), text::CopyFailed);
}
