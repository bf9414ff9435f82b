#include "SampleContent.h"

#include "SkinLoader.h"

#include <QBoxLayout>
#include <QDir>
#include <QFont>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QListView>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QStandardItemModel>
#include <QStringList>

namespace kz::skintest {
namespace {

// A rough stand-in for the program's mark-up conversion; good enough for a picture.
QString ToHtml(QString text) {
    text.replace(QRegularExpression(QStringLiteral("<c (#[0-9A-Fa-f]{6})>")),
                 QStringLiteral("<span style=\"color:\\1\">"));
    text.replace(QRegularExpression(QStringLiteral("<f \\d+>")), QString());
    text.replace(QStringLiteral("</c>"), QStringLiteral("</span>"));
    text.replace(QStringLiteral("</f>"), QString());
    return text;
}

const QStringList kEnglish = {
    "<f 1><c #FF0000>Note :</c>READ USER & READ CHIP : How can I know to use which button</f>",
    "<f 1>Before read master chip,please use the “<c #FF0000>KORVALD eMMC Professional</c>”application“Read Chip Info”to read the</f>",
    "<f 1>master device info,if Boot Partition Enable:0,then you can use <c #FF0000>READ USER</c>,otherwise please use <c #FF0000>READ CHIP</c></f>",
    QString(),
    "1.READ USER      : Read eMMC Master device all user partition data ",
    "2.READ CHIP       : Read eMMC Master device all chip data ,including USER /BOOT and EXT_CSD all data ",
    "3.COPY USER      : Duplicate Master device all user partition data ",
    "4.COPY CHIP       : Duplicate Master device all chip data ,including BOOT/USER /EXT_CSD ",
    "5.VERIFY USER   : Verify Master and Target device user partition data",
    "6.VERIFY CHIP    : Verify Master and Target device all data ,including BOOT/USER/EXT_CSD",
    "7.ERASE               : Erase BOOT1/BOOT2/USER partition data",
    "8.ONE KEY USB  : NOT READY YET \n",
};

const QStringList kChinese = {
    "<f 0><c #FF0000>注：</c>READ USER 和 READ CHIP如何区分什么时候使用哪个按键？</f>",
    "<f 0>在读母片之前，先点击本程序“<c #FF0000>读取芯片信息</c>”按钮，查看芯片信息，其中，Boot Partition </f>",
    "<f 0>Enable :0 表示该芯片只要读取用户分区（<c #FF0000>READ USER</c>） ,否则就要使用 (<c #FF0000>READ CHIP</c>)</f>",
    "<f 0><c #FF0000>2.2</c>版本之后，单机板读出来的<c #FF0000>READ CHIP</c>资料支持不同厂家以及不同的型号进行互写</f>",
    "1.READ USER     : 读取eMMC用户分区所有内容",
    "2.READ CHIP     : 读取eMMC芯片所有内容，包含（BOOT1,BOOT2 以及芯片配置）",
    "3.COPY USER     : 将步骤1的母片内容完全拷贝",
    "4.COPY CHIP     : 将步骤2的母片完全拷贝，包含所有的BOOT/USER 和配置信息",
    "5.VERIFY USER   : 验证eMMC用户区内容是否与步骤1中的一致",
    "6.VERIFY CHIP   : 验证eMMC芯片内容是否与步骤2中的一致",
    "7.ERASE         : 擦除eMMC BOOT /USER 分区内容",
    "8.ONE KEY USB   : 功能暂未使用",
};

// Font n of the skin: the root's dynamic QFont property "font<n>".
QFont SkinFont(const QWidget& root, int number) {
    const QVariant value = root.property(qPrintable(QStringLiteral("font%1").arg(number)));
    return value.canConvert<QFont>() ? value.value<QFont>() : root.font();
}

void FillHelpPanel(QWidget& root, bool chinese) {
    const QStringList& texts = chinese ? kChinese : kEnglish;
    const QFont font = SkinFont(root, chinese ? 0 : 1);
    for (int i = 0; i < texts.size(); ++i) {
        auto* label = root.findChild<QLabel*>(QStringLiteral("text_info%1").arg(i + 1));
        if (!label) continue;
        label->setFont(font);
        if (!texts[i].isEmpty()) label->setText(ToHtml(texts[i]));
    }
    if (auto* panel = root.findChild<QFrame*>(QStringLiteral("container_info"))) {
        const QString image = QDir(SkinDirectory())
                                  .filePath(chinese ? "eMMC_info_cn.png" : "eMMC_info_en.png");
        // A bare declaration would reach every label inside the panel too.
        panel->setStyleSheet(
            QStringLiteral("QFrame#container_info { background-image: url(%1); }").arg(image));
    }
}

void FillLog(QWidget& root) {
    auto* list = root.findChild<QListView*>(QStringLiteral("list_log"));
    if (!list) return;
    auto* model = new QStandardItemModel(list);
    const QDir skin(SkinDirectory());
    const struct { const char* icon; const char* text; const char* colour; } rows[] = {
        {"log_successful.png", " Device Connected! [2024-03-05 09:05:05]", "#00CD00"},
        {"log_successful.png", " MountUdisk Successfully! [2024-03-05 09:05:07]", "#00CD00"},
        {"log_tips.png", " copy MTxxx.img.mtx file to USB disk ,then plug USB disk into KORVALD", "#0000FF"},
        {"log_failed.png", " Reboot Failed! [2024-03-05 09:06:10]", "#FF0000"},
        {"log_tips.png", " error: device not found", "#0000FF"},
    };
    for (const auto& row : rows) {
        auto* item = new QStandardItem(QIcon(skin.filePath(row.icon)), QString::fromUtf8(row.text));
        item->setForeground(QColor(row.colour));
        model->appendRow(item);
    }
    list->setModel(model);
    list->setFont(SkinFont(root, 2));
}

void FillTable(QWidget& root, const char* name, const QStringList& headers,
               const QList<QStringList>& rows) {
    auto* view = root.findChild<QAbstractItemView*>(QString::fromLatin1(name));
    if (!view) return;
    auto* model = new QStandardItemModel(0, headers.size(), view);
    model->setHorizontalHeaderLabels(headers);
    for (const QStringList& row : rows) {
        QList<QStandardItem*> items;
        for (const QString& cell : row) items.append(new QStandardItem(cell));
        model->appendRow(items);
    }
    view->setModel(model);
}

// Rows of the user-partition list are separate skins placed in its scroll area.
void FillUserPartitionRows(QWidget& root) {
    auto* rows = root.findChild<QWidget*>(QStringLiteral("userpartition_rows"));
    auto* layout = rows ? qobject_cast<QBoxLayout*>(rows->layout()) : nullptr;
    if (!layout) return;
    for (int i = 0; i < 3; ++i) {
        if (auto row = LoadSkin(QStringLiteral("userpartition.xml")))
            layout->insertWidget(i, row.release());
    }
}

void FillBoardAndFiles(QWidget& root) {
    FillUserPartitionRows(root);
    FillTable(root, "patition", {"#", "Name", "Size"},
              {{"#1", "boot1", "4096KB)"}, {"#2", "boot2", "4096KB)"}, {"#3", "user", "7456MB)"}});
    FillTable(root, "file", {"Name", "Date Modified", "Size"},
              {{"MT6582.img.mtx", "2024-03-05 09:05", "1.2 GB"}, {"boot1.img", "2024-03-04 18:20", "4 MB"},
               {"readme.txt", "2024-03-01 08:00", "1 KB"}});
    FillTable(root, "list_output", {"Output"},
              {{"eMMC tool 2.2"}, {"Reading user area ..."}, {"  12% 512 MB"}, {"  25% 1024 MB"}});
    if (auto* edit = root.findChild<QPlainTextEdit*>(QStringLiteral("edit_emmcinfo")))
        edit->setPlainText(QStringLiteral("Manufacturer ID : 0x15\nProduct name : 8GND3R\n"
                                          "Partition #1 (boot1) : 4096KB)\nBoot Partition Enable: ==>None\n"));
}

}  // namespace

void FillSampleContent(QWidget& root, bool chinese) {
    for (const char* name : {"text_title", "text_caption"}) {
        auto* title = root.findChild<QLabel*>(QString::fromLatin1(name));
        if (title && title->text().isEmpty()) title->setText(root.objectName());
    }
    FillHelpPanel(root, chinese);
    FillLog(root);
    FillBoardAndFiles(root);
    if (auto* state = root.findChild<QLabel*>(QStringLiteral("text_state")))
        state->setText(chinese ? QStringLiteral("已连接") : QStringLiteral("Connected"));
}

}  // namespace kz::skintest
