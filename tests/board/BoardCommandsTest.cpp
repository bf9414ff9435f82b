#include <gtest/gtest.h>

#include "board/core/BoardCommands.h"
#include "files/core/FileManagerMode.h"

namespace {

using namespace kz::board;

TEST(BoardCommands, BootReadsAlwaysSaveOnTheSdCard)
{
    EXPECT_EQ(ReadBootCommand(1, QStringLiteral("my boot.img")),
              QStringLiteral("shell \"cd /mnt/sdcard && ./eMMC /READ_WRITE_DATA /READ_BOOT1:'my boot.img'\""));
    EXPECT_EQ(ReadBootCommand(2, QStringLiteral("b2")),
              QStringLiteral("shell \"cd /mnt/sdcard && ./eMMC /READ_WRITE_DATA /READ_BOOT2:'b2'\""));
    // An apostrophe closes the quotes, is escaped, and opens them again.
    EXPECT_EQ(ReadBootCommand(1, QStringLiteral("John's.img")),
              QStringLiteral("shell \"cd /mnt/sdcard && ./eMMC /READ_WRITE_DATA /READ_BOOT1:'John'\\''s.img'\""));
}

TEST(BoardCommands, BootWritesNameTheirSource)
{
    EXPECT_EQ(WriteBootCommand(1, SOURCE_BOOT_SDCARD, QStringLiteral("boot.img")),
              QStringLiteral("shell \"cd /mnt/sdcard && ./eMMC /READ_WRITE_DATA /WRITE_BOOT1:'boot.img'\""));
    EXPECT_EQ(WriteBootCommand(2, SOURCE_BOOT_UDISK, QStringLiteral("boot.img")),
              QStringLiteral("shell \"cd /mnt/sdcard && ./eMMC /READ_WRITE_DATA /WRITE_BOOT2:/mnt/udisk/'boot.img'\""));
    // Only a write lowers the name; blanks and other characters stay.
    EXPECT_EQ(BootWriteName(QStringLiteral("My Boot.IMG")), QStringLiteral("my boot.img"));
}

TEST(BoardCommands, UserAreaWriteAndRead)
{
    EXPECT_EQ(WriteUserAreaCommand(SOURCE_USER_SDCARD, QStringLiteral("a b.bin"), 16),
              QStringLiteral("shell \"cd /mnt/sdcard && ./eMMC /READ_WRITE_DATA "
                             "/WRITE_USER_AREA:/mnt/sdcard/'a b.bin' /WRITE_USER_AREA_S:16MB\""));
    EXPECT_EQ(WriteUserAreaCommand(SOURCE_USER_UDISK, QStringLiteral("x"), 0),
              QStringLiteral("shell \"cd /mnt/sdcard && ./eMMC /READ_WRITE_DATA "
                             "/WRITE_USER_AREA:/mnt/udisk/'x' /WRITE_USER_AREA_S:0MB\""));
    EXPECT_EQ(ReadUserAreaCommand(QStringLiteral("user.img"), 10000, QStringLiteral("MB")),
              QStringLiteral("shell \"cd /mnt/sdcard && ./eMMC /READ_WRITE_DATA "
                             "/READ_USER_AREA:'user.img' /READ_USER_AREA_SIZE:10000MB\" "));
}

TEST(BoardCommands, BootConfiguration)
{
    const QString tool = QStringLiteral("shell /mnt/sdcard/eMMC /configure_boot ");
    EXPECT_EQ(ConfigureBootCommand(BootSetting::PartitionEnable, 2), tool + "/boot_partition_enable:2");
    EXPECT_EQ(ConfigureBootCommand(BootSetting::Ack, 0), tool + "/boot_ack:On");
    EXPECT_EQ(ConfigureBootCommand(BootSetting::Ack, 1), tool + "/boot_ack:Off");
    EXPECT_EQ(ConfigureBootCommand(BootSetting::Mode, 3), tool + "/mode:3");
    EXPECT_EQ(ConfigureBootCommand(BootSetting::BusWidth, 1), tool + "/bus_width:1");
    // Nothing selected (or no such acknowledge item): nothing to send.
    for (BootSetting setting : {BootSetting::PartitionEnable, BootSetting::Ack, BootSetting::Mode, BootSetting::BusWidth})
        EXPECT_TRUE(ConfigureBootCommand(setting, -1).isEmpty()) << int(setting);
    EXPECT_TRUE(ConfigureBootCommand(BootSetting::Ack, 2).isEmpty());
}

TEST(BoardCommands, SuccessMarkers)
{
    EXPECT_TRUE(IsTransferSuccess(QStringLiteral("writing BOOT1\r\r\nComplete successfully\r\r\n")));
    EXPECT_TRUE(IsTransferSuccess(QStringLiteral("Complete successfully !!")));
    EXPECT_FALSE(IsTransferSuccess(QStringLiteral("complete successfully")));
    EXPECT_FALSE(IsTransferSuccess(QString()));
    EXPECT_TRUE(IsConfigureSuccess(QStringLiteral("Complete successfully !!\r\r\n")));
    EXPECT_FALSE(IsConfigureSuccess(QStringLiteral("Complete successfully\r\r\n")));
    EXPECT_FALSE(IsConfigureSuccess(QStringLiteral("Complete successfully !")));
}

}  // namespace
