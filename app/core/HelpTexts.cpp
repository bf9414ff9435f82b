#include "app/core/HelpTexts.h"

namespace kz {

namespace {

// Built into the program: the help panel is not looked up in the language files.
HelpTextSet EnglishSet()
{
    HelpTextSet set;
    set.font = 1;
    set.image = QStringLiteral("eMMC_info_en.png");
    set.lines = {
        QStringLiteral("<f 1><c #FF0000>Note :</c>READ USER & READ CHIP : How can I know to use which button</f>"),
        QStringLiteral("<f 1>Before read master chip,please use the “<c #FF0000>KORVALD eMMC Professional</c>”application“Read Chip Info”to read the</f>"),
        QStringLiteral("<f 1>master device info,if Boot Partition Enable:0,then you can use <c #FF0000>READ USER</c>,otherwise please use <c #FF0000>READ CHIP</c></f>"),
        QString(),
        QStringLiteral("1.READ USER      : Read eMMC Master device all user partition data "),
        QStringLiteral("2.READ CHIP       : Read eMMC Master device all chip data ,including USER /BOOT and EXT_CSD all data "),
        QStringLiteral("3.COPY USER      : Duplicate Master device all user partition data "),
        QStringLiteral("4.COPY CHIP       : Duplicate Master device all chip data ,including BOOT/USER /EXT_CSD "),
        QStringLiteral("5.VERIFY USER   : Verify Master and Target device user partition data"),
        QStringLiteral("6.VERIFY CHIP    : Verify Master and Target device all data ,including BOOT/USER/EXT_CSD"),
        QStringLiteral("7.ERASE               : Erase BOOT1/BOOT2/USER partition data"),
        QStringLiteral("8.ONE KEY USB  : NOT READY YET \n"),
    };
    return set;
}

HelpTextSet ChineseSet()
{
    HelpTextSet set;
    set.font = 0;
    set.image = QStringLiteral("eMMC_info_cn.png");
    set.lines = {
        QStringLiteral("<f 0><c #FF0000>注：</c>READ USER 和 READ CHIP如何区分什么时候使用哪个按键？</f>"),
        QStringLiteral("<f 0>在读母片之前，先点击本程序“<c #FF0000>读取芯片信息</c>”按钮，查看芯片信息，其中，Boot Partition </f>"),
        QStringLiteral("<f 0>Enable :0 表示该芯片只要读取用户分区（<c #FF0000>READ USER</c>） ,否则就要使用 (<c #FF0000>READ CHIP</c>)</f>"),
        QStringLiteral("<f 0><c #FF0000>2.2</c>版本之后，单机板读出来的<c #FF0000>READ CHIP</c>资料支持不同厂家以及不同的型号进行互写</f>"),
        QStringLiteral("1.READ USER     : 读取eMMC用户分区所有内容"),
        QStringLiteral("2.READ CHIP     : 读取eMMC芯片所有内容，包含（BOOT1,BOOT2 以及芯片配置）"),
        QStringLiteral("3.COPY USER     : 将步骤1的母片内容完全拷贝"),
        QStringLiteral("4.COPY CHIP     : 将步骤2的母片完全拷贝，包含所有的BOOT/USER 和配置信息"),
        QStringLiteral("5.VERIFY USER   : 验证eMMC用户区内容是否与步骤1中的一致"),
        QStringLiteral("6.VERIFY CHIP   : 验证eMMC芯片内容是否与步骤2中的一致"),
        QStringLiteral("7.ERASE         : 擦除eMMC BOOT /USER 分区内容"),
        QStringLiteral("8.ONE KEY USB   : 功能暂未使用"),
    };
    return set;
}

}  // namespace

HelpTextSet HelpTextsFor(const QString& language)
{
    return language.contains(QStringLiteral("English")) ? EnglishSet() : ChineseSet();
}

QString HelpImagePath(const QString& programDirectory, const QString& language)
{
    return programDirectory + QStringLiteral("/skin/") + HelpTextsFor(language).image;
}

}  // namespace kz
