#include "transport/LinkConfig.h"

#include <gtest/gtest.h>

using namespace box;

namespace {

TEST(LinkConfigTest, ReadsTheLinkAndLeavesTheDeviceKeysAlone)
{
    std::string error;
    auto config = ParseLinkConfig(R"({"speed": 0, "chip": {"inserted": false},
                                      "link": {"state": "unauthorized", "plugged": false}})", error);
    ASSERT_TRUE(config) << error;
    EXPECT_EQ(config->mode, LinkMode::Unauthorized);
    EXPECT_FALSE(config->plugged);

    auto defaults = ParseLinkConfig(R"({"rebootDelayMs": 100})", error);
    ASSERT_TRUE(defaults) << error;
    EXPECT_EQ(defaults->mode, LinkMode::Online);
    EXPECT_TRUE(defaults->plugged);
}

TEST(LinkConfigTest, RejectsWhatItCannotUseWithAReason)
{
    for (const char* text : {R"({"link": {"state": "asleep"}})", R"({"link": {"state": 1}})",
                             R"({"link": {"plugged": "yes"}})", R"({"link": "online"})", "[1, 2]", "{"}) {
        std::string error;
        EXPECT_FALSE(ParseLinkConfig(text, error)) << text;
        EXPECT_NE(error.find("config"), std::string::npos) << text;
    }
    std::string error;
    EXPECT_FALSE(LoadLinkConfig(std::filesystem::path("/nonexistent/box.json"), error));
    EXPECT_NE(error.find("/nonexistent/box.json"), std::string::npos);
    EXPECT_TRUE(LoadLinkConfig(std::nullopt, error));
}

}  // namespace
