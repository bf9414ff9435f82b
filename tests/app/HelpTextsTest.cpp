#include "app/core/HelpTexts.h"

#include <gtest/gtest.h>

using namespace kz;

TEST(HelpTexts, EnglishForAnyNameContainingEnglish)
{
    for (const QString name : {"English", "English (UK)"}) {
        const auto set = HelpTextsFor(name);
        EXPECT_EQ(set.font, 1);
        EXPECT_EQ(set.image, "eMMC_info_en.png");
        EXPECT_EQ(set.lines[0], "<f 1><c #FF0000>Note :</c>READ USER & READ CHIP : How can I know to use which "
                                "button</f>");
        EXPECT_TRUE(set.lines[3].isNull());  // keeps the skin's text
        EXPECT_EQ(set.lines[11], "8.ONE KEY USB  : NOT READY YET \n");
    }
}

TEST(HelpTexts, ChineseForEverythingElse)
{
    for (const QString name : {"Chinese simplified", "Chinese traditional", "", "english"}) {
        const auto set = HelpTextsFor(name);
        EXPECT_EQ(set.font, 0);
        EXPECT_EQ(set.image, "eMMC_info_cn.png");
        EXPECT_EQ(set.lines[3], "<f 0><c #FF0000>2.2</c>版本之后，单机板读出来的<c #FF0000>READ CHIP</c>"
                                "资料支持不同厂家以及不同的型号进行互写</f>");
        EXPECT_EQ(set.lines[11], "8.ONE KEY USB   : 功能暂未使用");
        for (const QString& line : set.lines)
            EXPECT_FALSE(line.isEmpty());
    }
}

TEST(HelpTexts, ImagePathFollowsLanguage)
{
    const QString longDir = "/opt/" + QString(400, u'd');
    EXPECT_EQ(HelpImagePath(longDir, "English"), longDir + "/skin/eMMC_info_en.png");
    EXPECT_EQ(HelpImagePath("/opt/k z", "Chinese simplified"), "/opt/k z/skin/eMMC_info_cn.png");
}
