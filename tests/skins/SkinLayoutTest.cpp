// How the skins behave once loaded: page structure the board dialog switches,
// option groups that must not interfere, the start state the windows rely on,
// and a main window whose controls all fit at its creation size.
#include "SampleContent.h"
#include "SkinLoader.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace kz::skintest {
namespace {

template <class T = QWidget>
T* Find(const QWidget& root, const char* name) {
    return root.findChild<T*>(QString::fromLatin1(name));
}

bool IsInside(const QWidget* widget, const QWidget* ancestor) {
    return ancestor && ancestor->isAncestorOf(widget);
}

TEST(BoardSkin, PagesNestAsTheDialogSwitchesThem) {
    auto root = LoadSkin(QStringLiteral("motherboard.xml"));
    ASSERT_TRUE(root);
    auto* board = Find<QStackedWidget>(*root, "tab_motherboard");
    auto* chip = Find<QStackedWidget>(*root, "tab_chipwrite");
    auto* user = Find<QStackedWidget>(*root, "tab_userpartition");
    ASSERT_TRUE(board && chip && user);
    ASSERT_EQ(board->count(), 2);
    ASSERT_EQ(chip->count(), 2);
    ASSERT_EQ(user->count(), 2);
    EXPECT_EQ(board->currentIndex(), 0);
    EXPECT_EQ(chip->currentIndex(), 0);
    EXPECT_EQ(user->currentIndex(), 0);

    EXPECT_TRUE(IsInside(Find(*root, "patition"), board->widget(0)));
    EXPECT_TRUE(IsInside(Find(*root, "comb_buswidth"), board->widget(0)));
    EXPECT_TRUE(IsInside(chip, board->widget(1)));
    EXPECT_TRUE(IsInside(Find(*root, "btn_writeboot2"), chip->widget(0)));
    EXPECT_TRUE(IsInside(user, chip->widget(1)));
    EXPECT_TRUE(IsInside(Find(*root, "userpartition"), user->widget(0)));
    EXPECT_TRUE(IsInside(Find(*root, "btn_userread"), user->widget(1)));
    // The page choosers stay on screen whichever page is shown.
    for (const char* name : {"comb_chippartitioin", "comb_userpartition", "edit_filenum", "btn_ok"})
        EXPECT_FALSE(IsInside(Find(*root, name), chip)) << name;
}

TEST(BoardSkin, RowControlsStartHiddenBecauseTheBootPageComesFirst) {
    auto root = LoadSkin(QStringLiteral("motherboard.xml"));
    ASSERT_TRUE(root);
    root->show();
    const QWidget* writePage = Find<QStackedWidget>(*root, "tab_motherboard")->widget(1);
    // The dialog shows them only on an actual change to the user page.
    for (const char* name : {"text_filenum", "edit_filenum", "btn_ok", "comb_userpartition"})
        EXPECT_FALSE(Find(*root, name)->isVisibleTo(writePage)) << name;
    EXPECT_TRUE(Find(*root, "comb_chippartitioin")->isVisibleTo(writePage));
}

TEST(BoardSkin, OptionGroupsDoNotInterfere) {
    auto root = LoadSkin(QStringLiteral("motherboard.xml"));
    ASSERT_TRUE(root);
    auto* boot1Udisk = Find<QRadioButton>(*root, "option_boot1_udisk");
    auto* boot1Sdcard = Find<QRadioButton>(*root, "option_boot1_sdcard");
    auto* boot2Udisk = Find<QRadioButton>(*root, "option_boot2_udisk");
    auto* info = Find<QRadioButton>(*root, "option_info");
    auto* write = Find<QRadioButton>(*root, "option_write");
    ASSERT_TRUE(boot1Udisk && boot1Sdcard && boot2Udisk && info && write);
    EXPECT_TRUE(boot1Udisk->isChecked());
    EXPECT_TRUE(boot2Udisk->isChecked());
    EXPECT_TRUE(info->isChecked());

    boot1Sdcard->click();
    EXPECT_FALSE(boot1Udisk->isChecked()) << "a source excludes the other source of its partition";
    EXPECT_TRUE(boot2Udisk->isChecked()) << "Boot1's choice must not change Boot2's";
    EXPECT_TRUE(info->isChecked()) << "page options are a group of their own";
    write->click();
    EXPECT_FALSE(info->isChecked());
    EXPECT_TRUE(boot1Sdcard->isChecked());
}

// The window layer makes one exclusive group per "group" name, whatever the
// widgets' parents; the pairs must name their own group.
TEST(BoardSkin, OptionsDeclareTheirGroups) {
    auto root = LoadSkin(QStringLiteral("motherboard.xml"));
    ASSERT_TRUE(root);
    const std::pair<const char*, const char*> options[] = {
        {"option_info", "option_page"},         {"option_write", "option_page"},
        {"option_boot1_udisk", "option_boot1"}, {"option_boot1_sdcard", "option_boot1"},
        {"option_boot2_udisk", "option_boot2"}, {"option_boot2_sdcard", "option_boot2"},
    };
    for (const auto& [name, group] : options)
        EXPECT_EQ(Find(*root, name)->property("group").toString(), QString::fromLatin1(group)) << name;
}

TEST(UserPartitionRowSkin, ButtonsSitOneContainerDeepAndRowsStayIndependent) {
    QWidget list;
    auto* layout = new QVBoxLayout(&list);
    auto first = LoadSkin(QStringLiteral("userpartition.xml"));
    auto second = LoadSkin(QStringLiteral("userpartition.xml"));
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->objectName(), QStringLiteral("listelement"));
    // A row click finds its row as the button's parent's parent.
    for (const char* name : {"btn_browseuserpartition", "btn_writeuserpartition"}) {
        auto* button = Find(*first, name);
        ASSERT_TRUE(button && button->parentWidget());
        EXPECT_EQ(button->parentWidget()->parentWidget(), first.get()) << name;
    }
    QWidget* row0 = first.release();
    QWidget* row1 = second.release();
    layout->addWidget(row0);
    layout->addWidget(row1);
    Find<QRadioButton>(*row0, "option_user_sdcard")->click();
    EXPECT_TRUE(Find<QRadioButton>(*row1, "option_user_udisk")->isChecked());
    EXPECT_FALSE(Find<QRadioButton>(*row0, "option_user_udisk")->isChecked());
}

TEST(DialogSkins, StartStatesTheWindowsRelyOn) {
    auto update = LoadSkin(QStringLiteral("update.xml"));
    ASSERT_TRUE(update);
    update->show();
    EXPECT_FALSE(Find(*update, "progress_update")->isVisibleTo(update.get()))
        << "the bar appears once the password is accepted";
    EXPECT_EQ(Find<QLineEdit>(*update, "edit_password")->echoMode(), QLineEdit::Password);

    // Copy modes leave these three as the layout has them.
    auto files = LoadSkin(QStringLiteral("explorer.xml"));
    ASSERT_TRUE(files);
    files->show();
    EXPECT_TRUE(Find(*files, "btn_copy")->isVisibleTo(files.get()));
    EXPECT_TRUE(Find(*files, "progress_copy")->isVisibleTo(files.get()));
    EXPECT_FALSE(Find(*files, "btn_ok")->isVisibleTo(files.get()));
    EXPECT_GT(Find<QComboBox>(*files, "comb_name")->count(), 0) << "mode 0 picks its target name here";

    auto info = LoadSkin(QStringLiteral("emmc_info.xml"));
    ASSERT_TRUE(info);
    EXPECT_TRUE(Find<QPlainTextEdit>(*info, "edit_emmcinfo")->isReadOnly());
}

// The main window opens at 840 x 600: everything must be on screen and no
// caption cut short.
TEST(MainSkin, EveryControlFitsAtTheCreationSize) {
    auto root = LoadSkin(QStringLiteral("skin_main.xml"));
    ASSERT_TRUE(root);
    EXPECT_EQ(root->size(), QSize(840, 600));
    root->show();
    QCoreApplication::processEvents();
    const QRect area = root->rect();
    for (QAbstractButton* button : root->findChildren<QAbstractButton*>()) {
        const QRect box(button->mapTo(root.get(), QPoint(0, 0)), button->size());
        EXPECT_TRUE(area.contains(box)) << button->objectName().toStdString();
        EXPECT_GE(button->width(), button->sizeHint().width()) << button->objectName().toStdString();
        EXPECT_GE(button->height(), button->sizeHint().height()) << button->objectName().toStdString();
    }
    for (const char* name : {"container_info", "list_log", "text_state", "text_version"}) {
        QWidget* widget = Find(*root, name);
        EXPECT_TRUE(widget->isVisible()) << name;
        EXPECT_FALSE(widget->size().isEmpty()) << name;
    }
}

// The panel's height is fixed so that its picture is never stretched
// vertically; both help texts must fit in it.
TEST(MainSkin, HelpTextsFitThePanelInBothLanguages) {
    for (bool chinese : {false, true}) {
        auto root = LoadSkin(QStringLiteral("skin_main.xml"));
        ASSERT_TRUE(root);
        FillSampleContent(*root, chinese);
        root->show();
        QCoreApplication::processEvents();
        QWidget* panel = Find(*root, "container_info");
        EXPECT_LE(panel->minimumSizeHint().height(), panel->height()) << (chinese ? "Chinese" : "English");
        for (int i = 1; i <= 12; ++i) {
            auto* line = root->findChild<QLabel*>(QStringLiteral("text_info%1").arg(i));
            // A text that ends in a line break is two lines by its own wish.
            if (line->text().contains('\n') || line->text().contains(QStringLiteral("<br"))) continue;
            EXPECT_LE(line->heightForWidth(line->width()), line->fontMetrics().lineSpacing() * 3 / 2)
                << "line " << i << " wraps at the creation size";
        }
    }
}

TEST(MainSkin, FontTableHoldsTheFourMarkupFonts) {
    auto root = LoadSkin(QStringLiteral("skin_main.xml"));
    ASSERT_TRUE(root);
    for (int n = 0; n < 4; ++n) {
        const QVariant font = root->property(qPrintable(QStringLiteral("font%1").arg(n)));
        ASSERT_EQ(font.metaType().id(), QMetaType::QFont) << "font" << n;
        EXPECT_GT(font.value<QFont>().pointSize(), 0) << "font" << n;
    }
    EXPECT_TRUE(root->property("font3").value<QFont>().bold()) << "font 3 is the bold caption";
}

}  // namespace
}  // namespace kz::skintest
