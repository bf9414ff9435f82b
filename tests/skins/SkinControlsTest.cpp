// Every window finds its controls in its skin by object name; a missing name
// or a control of the wrong kind only shows when the window is used.  These
// tables list, per skin, the names the windows look up and the widget class
// the window layer needs behind each name.
#include "SkinLoader.h"

#include <QComboBox>
#include <QTreeView>
#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace kz::skintest {
namespace {

using Control = std::pair<const char*, const char*>;  // object name, class

struct SkinControls {
    const char* file;
    std::vector<Control> controls;
};

std::vector<Control> Buttons(std::initializer_list<const char*> names) {
    std::vector<Control> out;
    for (const char* name : names) out.emplace_back(name, "QPushButton");
    return out;
}

std::vector<Control> Join(std::vector<Control> a, const std::vector<Control>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::vector<Control> HelpLabels() {
    static const char* names[] = {"text_info1", "text_info2", "text_info3",  "text_info4",
                                  "text_info5", "text_info6", "text_info7",  "text_info8",
                                  "text_info9", "text_info10", "text_info11", "text_info12"};
    std::vector<Control> out;
    for (const char* name : names) out.emplace_back(name, "QLabel");
    return out;
}

const std::vector<SkinControls>& AllSkins() {
    static const std::vector<SkinControls> skins = {
        {"skin_main.xml",
         Join(Join({{"container_info", "QFrame"}, {"list_log", "QListView"},
                    {"text_devicestate", "QLabel"}, {"text_state", "QLabel"}, {"text_version", "QLabel"}},
                   Buttons({"btn_readInfo", "btn_readuser", "btn_motherBoard", "btn_mtx", "btn_copytoUdisk",
                            "btn_copytoSDcard", "btn_connectFTP", "btn_reboot", "btn_exit", "closebtn",
                            "minbtn", "menubtn"})),
              HelpLabels())},
        {"mainmenu.xml",
         Join(Buttons({"menu_setting", "menu_about", "menu_update"}),
              {{"text_setting", "QLabel"}, {"text_about", "QLabel"}, {"text_update", "QLabel"}})},
        {"loading.xml", Join({{"text_show", "QLabel"}}, Buttons({"closebtn", "minbtn"}))},
        {"emmc_info.xml",
         Join({{"text_title", "QLabel"}, {"edit_emmcinfo", "QPlainTextEdit"}}, Buttons({"closebtn", "minbtn"}))},
        {"readuser.xml",
         Join({{"text_title", "QLabel"}, {"list_output", "QListView"}}, Buttons({"btn_ok", "closebtn", "minbtn"}))},
        {"mtx.xml",
         Join({{"text_title", "QLabel"}, {"text_output", "QLabel"}}, Buttons({"btn_ok", "closebtn", "minbtn"}))},
        {"motherboard.xml",
         Join({{"tab_motherboard", "QStackedWidget"}, {"tab_chipwrite", "QStackedWidget"},
               {"tab_userpartition", "QStackedWidget"}, {"option_info", "QRadioButton"},
               {"option_write", "QRadioButton"}, {"comb_chippartitioin", "QComboBox"},
               {"comb_userpartition", "QComboBox"}, {"patition", "QTreeView"}, {"userpartition", "QScrollArea"},
               {"comb_partitionselected", "QComboBox"}, {"comb_ack", "QComboBox"}, {"comb_bootmode", "QComboBox"},
               {"comb_buswidth", "QComboBox"}, {"comb_unit", "QComboBox"}, {"editManufacturer", "QLineEdit"},
               {"editProduceName", "QLineEdit"}, {"edit_filenum", "QLineEdit"}, {"text_filenum", "QLabel"},
               {"edit_userread_filename", "QLineEdit"}, {"edit_userread_filesize", "QLineEdit"},
               {"edit_readboot1filename", "QLineEdit"}, {"edit_readboot2filename", "QLineEdit"},
               {"edit_writeboot1filename", "QLineEdit"}, {"edit_writeboot2filename", "QLineEdit"},
               {"option_boot1_udisk", "QRadioButton"}, {"option_boot1_sdcard", "QRadioButton"},
               {"option_boot2_udisk", "QRadioButton"}, {"option_boot2_sdcard", "QRadioButton"},
               {"text_title", "QLabel"}, {"text_manufacturer", "QLabel"}, {"text_producename", "QLabel"},
               {"text_selectpartition", "QLabel"}, {"text_selectwriteboot1file", "QLabel"},
               {"text_selectwriteboot2file", "QLabel"}, {"text_boot1_udisk", "QLabel"},
               {"text_boot1_sdcard", "QLabel"}, {"text_boot2_udisk", "QLabel"}, {"text_boot2_sdcard", "QLabel"},
               {"text_userread_filename", "QLabel"}, {"text_userread_fileaddr", "QLabel"}},
              Buttons({"btn_ok", "btn_userread", "btn_readboot1", "btn_readboot2", "btn_writeboot1",
                       "btn_writeboot2", "btn_browseboot1", "btn_browseboot2", "btn_partitionselected",
                       "btn_ack", "btn_bootmode", "btn_buswidth", "closebtn"}))},
        {"userpartition.xml",
         Join({{"text_addr", "QLabel"}, {"edit_userwriteaddr", "QLineEdit"}, {"text_userfilename", "QLabel"},
               {"edit_userfilename", "QLineEdit"}, {"text_user_udisk", "QLabel"}, {"text_user_sdcard", "QLabel"},
               {"option_user_udisk", "QRadioButton"}, {"option_user_sdcard", "QRadioButton"}},
              Buttons({"btn_browseuserpartition", "btn_writeuserpartition"}))},
        {"explorer.xml",
         Join({{"text_title", "QLabel"}, {"text_tip", "QLabel"}, {"text_name", "QLabel"}, {"edit_name", "QLineEdit"},
               {"comb_name", "QComboBox"}, {"progress_copy", "QProgressBar"}, {"file", "QTreeView"}},
              Buttons({"btn_copy", "btn_ok", "closebtn"}))},
        {"shortcutmenu.xml",
         Join(Buttons({"menu_rename", "menu_delete"}), {{"text_rename", "QLabel"}, {"text_delete", "QLabel"}})},
        {"inputfilename.xml",
         Join({{"edit_filename", "QLineEdit"}, {"text_title", "QLabel"}}, Buttons({"btn_ok", "closebtn"}))},
        {"update.xml",
         Join({{"edit_password", "QLineEdit"}, {"text_caption", "QLabel"}, {"text_password", "QLabel"},
               {"progress_update", "QProgressBar"}},
              Buttons({"btn_update", "closebtn"}))},
        {"config.xml",
         Join({{"text_title", "QLabel"}, {"text_language", "QLabel"}, {"comb_language", "QComboBox"}},
              Buttons({"btn_language", "closebtn"}))},
        {"about.xml", Buttons({"closebtn", "btn_ok", "btn_connectme"})},
    };
    return skins;
}

class SkinControlsTest : public ::testing::TestWithParam<SkinControls> {};

TEST_P(SkinControlsTest, EveryLookedUpNameExistsWithItsWidgetClass) {
    const SkinControls& skin = GetParam();
    QString error;
    auto root = LoadSkin(QString::fromLatin1(skin.file), &error);
    ASSERT_TRUE(root) << skin.file << ": " << error.toStdString();
    EXPECT_STREQ(root->metaObject()->className(), "QWidget") << "the window layer frames a plain QWidget";
    for (const auto& [name, cls] : skin.controls) {
        const QList<QWidget*> found = root->findChildren<QWidget*>(QString::fromLatin1(name));
        ASSERT_EQ(found.size(), 1) << skin.file << ": " << name << " must exist exactly once";
        EXPECT_TRUE(found.front()->inherits(cls))
            << skin.file << ": " << name << " is a " << found.front()->metaObject()->className() << ", not a "
            << cls;
    }
}

INSTANTIATE_TEST_SUITE_P(AllWindows, SkinControlsTest, ::testing::ValuesIn(AllSkins()),
                         [](const auto& info) {
                             std::string name = info.param.file;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

// Combo items and list headers are not widgets: the skin names them in
// properties, in the order the windows index them.
TEST(SkinItems, LanguageComboNamesItsItemsWithTheStoredLanguageNames) {
    auto root = LoadSkin(QStringLiteral("config.xml"));
    ASSERT_TRUE(root);
    auto* combo = root->findChild<QComboBox*>(QStringLiteral("comb_language"));
    ASSERT_TRUE(combo);
    EXPECT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->property("kzItemNames").toString(), QStringLiteral("cmb_item1,cmb_item2,cmb_item3"));
    EXPECT_EQ(combo->property("kzItemData").toString().split(';'),
              QStringList({"Chinese simplified", "Chinese traditional", "English"}));
}

TEST(SkinItems, FileListNamesItsHeadersInColumnOrder) {
    auto root = LoadSkin(QStringLiteral("explorer.xml"));
    ASSERT_TRUE(root);
    auto* list = root->findChild<QTreeView*>(QStringLiteral("file"));
    ASSERT_TRUE(list);
    // The window's text callback answers name, date, size for columns 0, 1, 2.
    EXPECT_EQ(list->property("kzColumnNames").toString().split(','),
              QStringList({"listhead_name", "listhead_date", "listhead_size"}));
    EXPECT_EQ(list->property("kzColumnWidths").toString().split(',').size(), 3);
    EXPECT_EQ(list->contextMenuPolicy(), Qt::CustomContextMenu) << "a right-click must reach the window";
}

TEST(SkinItems, BootSettingCombosListTheirValuesInIndexOrder) {
    auto root = LoadSkin(QStringLiteral("motherboard.xml"));
    ASSERT_TRUE(root);
    const std::pair<const char*, QStringList> combos[] = {
        {"comb_partitionselected", {"None", "Boot partition 1", "Boot partition 2"}},
        {"comb_ack", {"On", "Off"}},
        {"comb_bootmode", {"Single, backward compatible", "Single, high speed"}},
        {"comb_buswidth", {"x1 (SDR)", "x4 (SDR)", "x8 (SDR)"}},
    };
    for (const auto& [name, items] : combos) {
        auto* combo = root->findChild<QComboBox*>(QString::fromLatin1(name));
        ASSERT_TRUE(combo) << name;
        QStringList texts;
        for (int i = 0; i < combo->count(); ++i) texts << combo->itemText(i);
        EXPECT_EQ(texts, items) << name;
    }
    auto* unit = root->findChild<QComboBox*>(QStringLiteral("comb_unit"));
    ASSERT_TRUE(unit);
    EXPECT_EQ(unit->currentText(), QStringLiteral("MB")) << "the read command needs a selected unit";
    for (const char* name : {"comb_chippartitioin", "comb_userpartition"})
        EXPECT_EQ(root->findChild<QComboBox*>(QString::fromLatin1(name))->count(), 2) << name;
}

}  // namespace
}  // namespace kz::skintest
