#include <gtest/gtest.h>

#include "link/ChipInfo.h"

namespace {

// As the box's tool prints it, each line feed turned into CR CR LF on its
// way through the adb client.
QString Report(const QString& body)
{
    QString text = body;
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\r\n"));
    return text;
}

const char kFullReport[] =
    "eMMC information\n"
    "Partition #1 (BOOT1): 4.00 MiB (4194304 Bytes)\n"
    "Partition #2 (BOOT2): 4.00 MiB (4194304 Bytes)\n"
    "Partition #3 (USER): 7.28 GiB (7818182656 Bytes)\n"
    "Manufacturer ID: 0x15\n"
    "Card/BGA: BGA\n"
    "Product name: MAG4FA\n"
    "Product revision: 0x01\n"
    "Boot Partition Enable: EXT_CSD[179] = 0x48 ==> Boot partition 1\n"
    "ACK: EXT_CSD[179] = 0x48 ==> On\n"
    "Boot mode: EXT_CSD[177] = 0x01 ==> single,high speed\n"
    "Bus width: EXT_CSD[177] = 0x01 ==> x4 (sdr)\n";

TEST(ChipInfo, DecodesEveryFieldOfAFullReport)
{
    const kz::ChipInfo info = kz::ParseChipInfo(Report(QString::fromUtf8(kFullReport)));
    ASSERT_EQ(info.partitions.size(), 3u);
    EXPECT_EQ(info.partitions[0], (kz::PartitionRow{"#1", "BOOT1", "4.00 MiB (4194304 Bytes)"}));
    EXPECT_EQ(info.partitions[2], (kz::PartitionRow{"#3", "USER", "7.28 GiB (7818182656 Bytes)"}));
    EXPECT_EQ(info.manufacturer, QStringLiteral("Samsung"));
    EXPECT_EQ(info.productName, QStringLiteral(" MAG4FA\r\r"));
    EXPECT_EQ(info.partitionEnable, 1);
    EXPECT_EQ(info.ack, 0);
    EXPECT_EQ(info.bootMode, 1);
    EXPECT_EQ(info.busWidth, 1);
    EXPECT_EQ(info.reported.busWidth, QStringLiteral("x4 (sdr)"));
}

TEST(ChipInfo, WithoutPartitionsTheOtherFieldsAreStillFilled)
{
    const kz::ChipInfo info = kz::ParseChipInfo(QStringLiteral(
        "Manufacturer ID: 0x45\nCard/BGA: BGA\nBoot Partition Enable: x ==> None\nACK: x ==> Off\n"));
    EXPECT_TRUE(info.partitions.empty());
    EXPECT_EQ(info.manufacturer, QStringLiteral("SanDisk"));
    EXPECT_EQ(info.partitionEnable, 0);
    EXPECT_EQ(info.ack, 1) << "\"On\" is case-sensitive and not found in \"Off\"";
    EXPECT_FALSE(info.productName);
    EXPECT_FALSE(info.bootMode);
    EXPECT_FALSE(info.busWidth);
}

TEST(ChipInfo, PartitionLinesWithoutSizeOrName)
{
    const kz::ChipInfo info = kz::ParseChipInfo(
        QStringLiteral("Partition #1 BOOT1: 4 MiB\r\nPartition #2 (RPMB):   512 KiB (524288 Bytes)\r\n"));
    ASSERT_EQ(info.partitions.size(), 2u);
    EXPECT_EQ(info.partitions[0], (kz::PartitionRow{"#1", "", "0"}))
        << "a size without ')' on its own line must not reach into the next line";
    EXPECT_EQ(info.partitions[1], (kz::PartitionRow{"#2", "RPMB", "512 KiB (524288 Bytes)"}));
}

TEST(ChipInfo, AColonBeforeThePartitionsDoesNotShiftTheTable)
{
    const kz::ChipInfo info =
        kz::ParseChipInfo(QStringLiteral("Tool version: 2\nPartition #1 (BOOT1): 4 MiB (4194304 Bytes)\n"));
    ASSERT_EQ(info.partitions.size(), 1u);
    EXPECT_EQ(info.partitions[0], (kz::PartitionRow{"#1", "BOOT1", "4 MiB (4194304 Bytes)"}));
}

TEST(ChipInfo, APartitionLineWithoutColonEndsTheTable)
{
    const kz::ChipInfo info = kz::ParseChipInfo(
        QStringLiteral("Partition #1 (BOOT1) 4 MiB\nPartition #2 (BOOT2): 4 MiB (1 Bytes)\n"));
    EXPECT_TRUE(info.partitions.empty());
}

TEST(ChipInfo, TakesAtMostThirtyPartitionsWithTheirFullNumbers)
{
    QString text;
    for (int i = 1; i <= 31; ++i)
        text += QStringLiteral("Partition #%1 (GP%1): 1 MiB (1048576 Bytes)\r\n").arg(i);
    const kz::ChipInfo info = kz::ParseChipInfo(text);
    ASSERT_EQ(info.partitions.size(), 30u);
    EXPECT_EQ(info.partitions[11][0], QStringLiteral("#12"));
    EXPECT_EQ(info.partitions[29][1], QStringLiteral("GP30"));
}

TEST(ChipInfo, ManufacturerCodes)
{
    EXPECT_EQ(kz::ManufacturerName(QStringLiteral(" 0x15\r")), QStringLiteral("Samsung"));
    EXPECT_EQ(kz::ManufacturerName(QStringLiteral(" 0x45")), QStringLiteral("SanDisk"));
    EXPECT_EQ(kz::ManufacturerName(QStringLiteral(" 0x90")), QStringLiteral("unknown"));
    // Only present when both labels are.
    EXPECT_FALSE(kz::ParseChipInfo(QStringLiteral("Manufacturer ID: 0x15\n")).manufacturer);
    EXPECT_EQ(kz::ParseChipInfo(QStringLiteral("Manufacturer ID: 0x13\nCard/BGA: BGA\n")).manufacturer,
              QStringLiteral("unknown"));
}

TEST(ChipInfo, BusWidthTakesTheLastOfSeveralMatches)
{
    EXPECT_EQ(kz::ParseChipInfo(QStringLiteral("Bus width: a ==> x1 (sdr) x8 (sdr)\n")).busWidth, 2);
    EXPECT_EQ(kz::ParseChipInfo(QStringLiteral("Bus width: a ==> x1 (sdr)\n")).busWidth, 0);
    EXPECT_FALSE(kz::ParseChipInfo(QStringLiteral("Bus width: a ==> x2 (ddr)\n")).busWidth);
}

TEST(ChipInfo, BootLabelsAreFoundOnlyInTheirOrder)
{
    // ACK before the partition-enable label: cutting at the later label
    // leaves ACK behind.
    const kz::ChipInfo info =
        kz::ParseChipInfo(QStringLiteral("ACK: a ==> Off\nBoot Partition Enable: a ==> Boot partition 2\n"));
    EXPECT_EQ(info.partitionEnable, 2);
    EXPECT_FALSE(info.ack);
}

TEST(ChipInfo, BootModeAndMissingMarker)
{
    const kz::ChipInfo info = kz::ParseChipInfo(QStringLiteral("Boot mode: single,backward compatible\n"));
    EXPECT_FALSE(info.bootMode) << "no ==> after the label";
    EXPECT_EQ(kz::ParseChipInfo(QStringLiteral("Boot mode: a ==> single,backward compatible")).bootMode, 0);
    // A mode no combo item stands for is kept in the chip's words.
    const kz::ChipInfo ddr = kz::ParseChipInfo(Report(QStringLiteral("Boot mode: 0x10 ==> dual data rate\n")));
    EXPECT_FALSE(ddr.bootMode);
    EXPECT_EQ(ddr.reported.bootMode, QStringLiteral("dual data rate"));
}

}  // namespace
