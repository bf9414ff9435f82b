#include <climits>
#include <gtest/gtest.h>

#include "board/core/BoardInput.h"

namespace {

using kz::board::ParseDecimal;
using kz::board::WriteStartMb;

TEST(BoardInput, DecimalFieldsReadLikeTheOperatorExpects)
{
    EXPECT_EQ(ParseDecimal(QStringLiteral("5abc")), 5);
    EXPECT_EQ(ParseDecimal(QStringLiteral("  \t30")), 30);
    EXPECT_EQ(ParseDecimal(QStringLiteral("-1")), -1);
    EXPECT_EQ(ParseDecimal(QStringLiteral("+7")), 7);
    EXPECT_EQ(ParseDecimal(QString()), 0);
    EXPECT_EQ(ParseDecimal(QStringLiteral("abc")), 0);
    EXPECT_EQ(ParseDecimal(QStringLiteral("- 5")), 0);
    // Huge inputs clamp instead of wrapping into the accepted range.
    EXPECT_EQ(ParseDecimal(QStringLiteral("4294967297")), INT_MAX);
    EXPECT_EQ(ParseDecimal(QStringLiteral("-99999999999")), INT_MIN);
}

TEST(BoardInput, WriteAddressesInKilobytesGiveWholeMegabytes)
{
    EXPECT_EQ(WriteStartMb(QStringLiteral("0x400")), 1);
    EXPECT_EQ(WriteStartMb(QStringLiteral("0x3FF")), 0);
    EXPECT_EQ(WriteStartMb(QStringLiteral("0X800")), 2);
    EXPECT_EQ(WriteStartMb(QStringLiteral("0xabc00")), 0xabc00 / 1024);
    EXPECT_EQ(WriteStartMb(QStringLiteral("0x")), 0);
}

TEST(BoardInput, WriteAddressesThatAreRefused)
{
    EXPECT_FALSE(WriteStartMb(QStringLiteral("400")));
    EXPECT_FALSE(WriteStartMb(QString()));
    EXPECT_FALSE(WriteStartMb(QStringLiteral("x400")));
    EXPECT_FALSE(WriteStartMb(QStringLiteral("0x40g")));
    EXPECT_FALSE(WriteStartMb(QStringLiteral("0x 400")));
    EXPECT_FALSE(WriteStartMb(QStringLiteral("0x４００"))) << "full-width digits are no hexadecimal digits";
}

TEST(BoardInput, LargeAddressesStayPositive)
{
    EXPECT_EQ(WriteStartMb(QStringLiteral("0x80000000")), 0x80000000LL / 1024);
    EXPECT_EQ(WriteStartMb(QStringLiteral("0xFFFFFFFFFF")), 0xFFFFFFFFFFLL / 1024);
    EXPECT_FALSE(WriteStartMb(QStringLiteral("0x20000000000"))) << "a start beyond the int range";
}

}  // namespace
