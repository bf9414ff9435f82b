#include "app/core/HelpTexts.h"
#include "app/core/MenuPlacement.h"

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

TEST(MenuPlacement, FitsUnchanged)
{
    EXPECT_EQ(PlaceMenu({100, 100}, {120, 90}, QRect(0, 0, 1920, 1040)), QPoint(100, 100));
}

TEST(MenuPlacement, NearBottomRightMovesUpAndLeft)
{
    const QRect area(0, 0, 1920, 1040);
    EXPECT_EQ(PlaceMenu({1900, 1000}, {120, 90}, area), QPoint(1800, 950));
    EXPECT_EQ(PlaceMenu({1800, 950}, {120, 90}, area), QPoint(1800, 950));  // exactly touching
}

TEST(MenuPlacement, LargerThanAreaGoesToItsEdge)
{
    const QRect area(100, 50, 300, 200);
    EXPECT_EQ(PlaceMenu({350, 200}, {400, 250}, area), QPoint(100, 50));
}

TEST(MenuPlacement, SecondScreenAndLeftOfArea)
{
    const QRect area(1920, 0, 1280, 1024);
    EXPECT_EQ(PlaceMenu({3190, 10}, {100, 50}, area), QPoint(3100, 10));
    EXPECT_EQ(PlaceMenu({1800, 10}, {100, 50}, area), QPoint(1920, 10));
}
