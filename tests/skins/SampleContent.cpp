#include "SampleContent.h"

#include "SkinLoader.h"
#include "app/core/HelpTexts.h"
#include "settings/Ini.h"
#include "ui/Markup.h"
#include "ui/PanelPicture.h"

#include <QBoxLayout>
#include <QDir>
#include <QFont>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardItemModel>
#include <QStringList>

namespace kz::skintest {
namespace {

// Font n of the skin: the root's dynamic QFont property "font<n>".
QFont SkinFont(const QWidget& root, int number) {
    const QVariant value = root.property(qPrintable(QStringLiteral("font%1").arg(number)));
    return value.canConvert<QFont>() ? value.value<QFont>() : root.font();
}

// The help panel as the main window fills it: the program's own texts,
// drawn by the window layer's mark-up with the skin's fonts.
void FillHelpPanel(QWidget& root, bool chinese) {
    const HelpTextSet help = HelpTextsFor(chinese ? QStringLiteral("Chinese simplified") : QStringLiteral("English"));
    const ui::FontTable fonts = ui::FontTable::FromSkin(&root);
    const ui::MarkupContext context{SkinDirectory(), fonts};
    for (int i = 0; i < int(help.lines.size()); ++i) {
        auto* label = root.findChild<QLabel*>(QStringLiteral("text_info%1").arg(i + 1));
        if (!label) continue;
        ui::ApplySkinFont(label, fonts, help.font);
        if (!help.lines[i].isNull()) ui::SetMarkupText(label, help.lines[i], context);
    }
    if (auto* panel = root.findChild<QFrame*>(QStringLiteral("container_info"))) {
        ui::ShowPanelPicture(panel, QDir(SkinDirectory()).filePath(help.image));
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

// Button captions come from the language files and are often longer than
// the skin's own texts; the layout must hold them.
void FillCaptions(QWidget& root, bool chinese) {
    CIni ini;
    ini.SetFileName(QStringLiteral(KZ_SOURCE_DIR "/skin/Language_EN.ini"));
    const QString section = chinese ? QStringLiteral("Chinese simplified") : QStringLiteral("English");
    for (QPushButton* button : root.findChildren<QPushButton*>()) {
        if (button->text().isEmpty()) continue;
        const QString text = ini.ReadString(section, button->text());
        if (!text.isEmpty()) button->setText(text);
    }
    for (QLabel* label : root.findChildren<QLabel*>(QRegularExpression(QStringLiteral("^text_")))) {
        const QString text = label->text().isEmpty() ? QString() : ini.ReadString(section, label->text());
        if (!text.isEmpty()) label->setText(text);
    }
}

}  // namespace

void FillSampleContent(QWidget& root, bool chinese) {
    FillCaptions(root, chinese);
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
