#include "tools/kz_daemon/HostQuery.h"

#include <gtest/gtest.h>

using kz::adapter::DevicesListing;
using kz::adapter::OkayPayload;

TEST(HostQuery, OnlyAWholeOkayAnswerGivesAPayload)
{
    struct Case {
        std::string_view answer;
        std::optional<std::string> payload;
    };
    const Case cases[] = {
        {"OKAY0015emulator-5554\tdevice\n", "emulator-5554\tdevice\n"},
        {"OKAY0000", ""},
        {"OKAY0030emulator-5554\toffline\n0123\t", std::nullopt},  // cut short
        {"OKAY0004abcdef", std::nullopt},                          // more than announced
        {"FAIL0010device not found", std::nullopt},
        {"OKAY00g1x", std::nullopt},
        {"OKA", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(OkayPayload(c.answer), c.payload) << c.answer;
}

TEST(HostQuery, ListingReadsAsAdbPrintsIt)
{
    EXPECT_EQ(DevicesListing(""), "List of devices attached\n\n");
    EXPECT_EQ(DevicesListing("a\tdevice\nb\toffline\n"), "List of devices attached\na\tdevice\nb\toffline\n\n");
}
