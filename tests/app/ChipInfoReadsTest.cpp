// Each chip-information read is judged by the answer it produced.
#include "link/ChipInfoReads.h"

#include <gtest/gtest.h>

using namespace kz;

namespace {
ClientAnswer Printed(const char* text)
{
    return {true, QString::fromUtf8(text), {}};
}
}  // namespace

TEST(ChipInfoReads, AReadSeesOnlyItsOwnAnswer)
{
    ChipInfoReads reads;
    const auto first = reads.Begin();
    EXPECT_FALSE(reads.AnswerOf(first)) << "no answer yet";
    EXPECT_TRUE(reads.Store(first, Printed("Manufacturer ID: 0x15")));
    ASSERT_TRUE(reads.AnswerOf(first));
    EXPECT_EQ(reads.AnswerOf(first)->output, "Manufacturer ID: 0x15");

    // A read closed before its answer came sees nothing, not the earlier text.
    const auto abandoned = reads.Begin();
    EXPECT_FALSE(reads.AnswerOf(abandoned));

    // Its late answer never replaces that of a newer read.
    const auto newer = reads.Begin();
    EXPECT_TRUE(reads.Store(newer, Printed("Manufacturer ID: 0x99")));
    EXPECT_FALSE(reads.Store(abandoned, Printed("Manufacturer ID: 0x45")));
    EXPECT_EQ(reads.AnswerOf(newer)->output, "Manufacturer ID: 0x99");
    EXPECT_EQ(reads.LastOutput(), "Manufacturer ID: 0x99");
    EXPECT_FALSE(reads.AnswerOf(0));
}

TEST(ChipInfoReads, Verdicts)
{
    const struct {
        std::optional<ClientAnswer> answer;
        ChipReadVerdict::Kind kind;
        QString text;
    } table[] = {
        {std::nullopt, ChipReadVerdict::Nothing, {}},
        {ClientAnswer{false, {}, "CreateProcess Failed!"}, ChipReadVerdict::Nothing, {}},
        {Printed("Manufacturer ID: 0x15\r\r\n"), ChipReadVerdict::Report, "Manufacturer ID: 0x15\r\r\n"},
        {Printed(""), ChipReadVerdict::Report, ""},
        {Printed("No eMMC inside\r\r\n"), ChipReadVerdict::Error,
         "The chip is not detected, please placed chip and try again!"},
        {Printed("error: device offline\r\n"), ChipReadVerdict::Error, "Device is turned off,please reconnect again!"},
    };
    for (const auto& row : table) {
        const ChipReadVerdict verdict = JudgeChipRead(row.answer);
        EXPECT_EQ(verdict.kind, row.kind) << row.text.toStdString();
        EXPECT_EQ(verdict.text, row.text);
    }
}
