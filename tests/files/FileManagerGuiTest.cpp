// Listing, picking, deleting and renaming in the file manager, and the
// file-name dialog, against the scripted client.
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include "support/FilesGuiFixture.h"
#include "link/Texts.h"
#include "files/FilePicker.h"
#include "files/core/FileTexts.h"
#include "files/core/ShellName.h"

using namespace kz::test;
namespace ft = kz::files::text;

namespace {
// The scripted client sees the arguments, joined by blanks.
const QString kLsUdisk = QStringLiteral("shell ls -l /mnt/udisk");
const QString kLsSdcard = QStringLiteral("shell ls -l /mnt/sdcard");
const char* const kDirLine = "drwxrwxr-x root     root              2024-05-03 11:00 backups";

QByteArray ThreeFiles()
{
    return ListingOf({LsLine(1234, QStringLiteral("boot.img")), QString::fromUtf8(kDirLine),
                      LsLine(1073741824, QStringLiteral("my file.bin")),
                      LsLine(10, QStringLiteral("it's.bin"))});
}
}  // namespace

class FileManagerGui : public FilesGui {};

TEST_F(FileManagerGui, PickModeListsTheRootAndHandsOverTheSelectedName)
{
    bin.Answer(kLsSdcard, ThreeFiles());
    const int kills = bin.CountCalls(QStringLiteral("kill-server"));
    TestPickOwner owner(frame.get());
    int rows = -1;
    QString title, size, date;
    WHEN_LISTED(3, {
        rows = RowCount(modal);
        title = ControlText(modal, "text_title");
        date = Cell(modal, 1, 1);
        size = Cell(modal, 1, 2);
        SelectRow(modal, 1);
        ClickButton(modal, "btn_ok");
    });
    EXPECT_TRUE(PickDeviceFile(owner, SOURCE_BOOT_SDCARD));
    EXPECT_EQ(rows, 3);
    EXPECT_EQ(title, T(ft::Sdcard));
    EXPECT_EQ(date, "2024-05-01 09:30");
    EXPECT_EQ(size.trimmed(), "1.00 GB");
    EXPECT_EQ(owner.m_strPickedName, "my file.bin");
    EXPECT_EQ(bin.CountCalls(kLsSdcard), 1);
    EXPECT_EQ(bin.CountCalls(QStringLiteral("kill-server")), kills + 1);  // closing stops the server
    EXPECT_EQ(boxes.Count(), 0);
}

TEST_F(FileManagerGui, CancelAndOkWithoutSelectionLeaveTheNameAlone)
{
    bin.Answer(kLsUdisk, ThreeFiles());
    TestPickOwner owner(frame.get());
    owner.m_strPickedName = QStringLiteral("earlier");
    WHEN_LISTED(3, {
        ClickButton(modal, "btn_ok");  // nothing selected: refused, stays open
        EXPECT_TRUE(modal->isVisible());
        EXPECT_EQ(ControlText(modal, "btn_copy"), T(ft::Cancel));
        ClickButton(modal, "btn_copy");
    });
    EXPECT_FALSE(PickDeviceFile(owner, SOURCE_USER_UDISK));
    EXPECT_EQ(owner.m_strPickedName, "earlier");
    EXPECT_EQ(boxes.Texts(), QStringList{T(ft::FileNotSelected)});
}

TEST_F(FileManagerGui, NameThatCannotBeQuotedIsNotHandedOver)
{
    bin.Answer(kLsUdisk, ListingOf({LsLine(10, QStringLiteral("it's.bin")),
                                    LsLine(10, QStringLiteral("say \"hi\".bin"))}));
    TestPickOwner owner(frame.get());
    WHEN_LISTED(2, {
        SelectRow(modal, 1);
        ClickButton(modal, "btn_ok");
        EXPECT_TRUE(modal->isVisible());
        SelectRow(modal, 0);  // an apostrophe can be quoted
        ClickButton(modal, "btn_ok");
    });
    EXPECT_TRUE(PickDeviceFile(owner, SOURCE_USER_UDISK));
    EXPECT_EQ(owner.m_strPickedName, "it's.bin");
    EXPECT_EQ(boxes.Texts(), QStringList{T(kz::files::UnsafeFileName)});
}

TEST_F(FileManagerGui, ClientErrorGivesItsMessageAndAnEmptyList)
{
    bin.Answer(kLsUdisk, "error: device offline\r\n");
    TestPickOwner owner(frame.get());
    int rows = -1;
    WhenModal([&](QWidget*) { return boxes.Count() >= 1; }, [&](QWidget* modal) {
        rows = RowCount(modal);
        EXPECT_EQ(RightClick(modal), nullptr);
        ClickButton(modal, "btn_copy");
    });
    PickDeviceFile(owner, SOURCE_USER_UDISK);
    EXPECT_EQ(rows, 0);
    EXPECT_EQ(boxes.Texts(), QStringList{T(kz::text::DeviceTurnedOff)});
}

// A storage the box could not read is said, not shown as an empty folder.
TEST_F(FileManagerGui, UnreadableStorageShowsTheBoxsWords)
{
    bin.Answer(kLsUdisk, "/mnt/udisk: I/O error\r\r\n");
    TestPickOwner owner(frame.get());
    WhenModal([&](QWidget*) { return boxes.Count() >= 1; }, [&](QWidget* modal) { ClickButton(modal, "btn_copy"); });
    PickDeviceFile(owner, SOURCE_USER_UDISK);
    EXPECT_EQ(boxes.Texts(), QStringList{T(ft::FolderUnreadable) + "\n/mnt/udisk: I/O error"});
}

TEST_F(FileManagerGui, FileNamedNotFoundIsListed)
{
    bin.Answer(kLsUdisk, ListingOf({LsLine(5, QStringLiteral("page not found.html"))}));
    TestPickOwner owner(frame.get());
    QString name;
    WHEN_LISTED(1, {
        name = Cell(modal, 0, 0);
        ClickButton(modal, "btn_copy");
    });
    PickDeviceFile(owner, SOURCE_USER_UDISK);
    EXPECT_EQ(name, "page not found.html");
    EXPECT_EQ(boxes.Count(), 0);
}

TEST_F(FileManagerGui, RightClickWithoutSelectionOpensNoMenu)
{
    bin.Answer(kLsUdisk, ThreeFiles());
    TestPickOwner owner(frame.get());
    QWidget* withoutSelection = reinterpret_cast<QWidget*>(1);
    bool menuWithSelection = false;
    WHEN_LISTED(3, {
        withoutSelection = RightClick(modal);
        SelectRow(modal, 0);
        QWidget* menu = RightClick(modal);
        menuWithSelection = menu != nullptr;
        if (menu)
            menu->close();
        ClickButton(modal, "btn_copy");
    });
    PickDeviceFile(owner, SOURCE_USER_UDISK);
    EXPECT_EQ(withoutSelection, nullptr);
    EXPECT_TRUE(menuWithSelection);
}

TEST_F(FileManagerGui, DeleteAsksThenRemovesTheQuotedNameAndRefreshes)
{
    bin.Answer(kLsUdisk, ThreeFiles());
    boxes.QueueAnswer(kz::MsgAnswer::Yes);
    TestPickOwner owner(frame.get());
    WHEN_LISTED(3, {
        SelectRow(modal, 1);
        QWidget* menu = RightClick(modal);
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(ControlText(menu, "text_delete"), T(ft::Delete));
        ClickButton(menu, "menu_delete");
        EXPECT_TRUE(WaitFor([&] { return boxes.Count() >= 2; }));
        ClickButton(modal, "btn_copy");
    });
    PickDeviceFile(owner, SOURCE_USER_UDISK);
    EXPECT_EQ(bin.CountCalls(QStringLiteral("shell cd /mnt/udisk && rm ./'my file.bin'")), 1);
    EXPECT_EQ(bin.CountCalls(kLsUdisk), 2);
    EXPECT_EQ(boxes.Texts(), (QStringList{T(ft::DeleteQuestion), T(ft::DeleteOk)}));
    EXPECT_EQ(boxes.Requests().first().caption, T(ft::DeleteCaption));
    EXPECT_EQ(boxes.Requests().first().buttons, kz::MsgButtons::YesNo);
}

TEST_F(FileManagerGui, DeleteNotConfirmedRunsNothingAndFailureDoesNotRefresh)
{
    bin.Answer(kLsUdisk, ThreeFiles());
    const QString rm = QStringLiteral("shell cd /mnt/udisk && rm ./'boot.img'");
    bin.Answer(rm, "rm: can't remove 'boot.img': Read-only file system\r\r\n");
    boxes.QueueAnswer(kz::MsgAnswer::No);
    boxes.QueueAnswer(kz::MsgAnswer::Yes);
    TestPickOwner owner(frame.get());
    WHEN_LISTED(3, {
        SelectRow(modal, 0);
        ClickButton(RightClick(modal), "menu_delete");
        EXPECT_TRUE(WaitFor([&] { return boxes.Count() >= 1; }));
        EXPECT_EQ(bin.CountCalls(rm), 0);
        ClickButton(RightClick(modal), "menu_delete");
        EXPECT_TRUE(WaitFor([&] { return boxes.Count() >= 3; }));
        ClickButton(modal, "btn_copy");
    });
    PickDeviceFile(owner, SOURCE_USER_UDISK);
    EXPECT_EQ(bin.CountCalls(rm), 1);
    EXPECT_EQ(bin.CountCalls(kLsUdisk), 1);
    EXPECT_EQ(boxes.Texts().last(), T(ft::DeleteFailed));
}

TEST_F(FileManagerGui, RenameRunsMvWithBothNamesQuotedAndClosesAfterwards)
{
    bin.Answer(kLsSdcard, ThreeFiles());
    const QString mv = QStringLiteral("shell mv /mnt/sdcard/'my file.bin' /mnt/sdcard/'new name.bin'");
    TestPickOwner owner(frame.get());
    QString title;
    WHEN_LISTED(3, {
        SelectRow(modal, 1);
        QWidget* manager = modal;
        WhenModal(NameDialogReady(), [&, manager](QWidget* dialog) {
            title = ControlText(dialog, "text_title");
            dialog->findChild<QLineEdit*>(QStringLiteral("edit_filename"))->setText(QStringLiteral("new name.bin"));
            ClickButton(dialog, "btn_ok");
            QTimer::singleShot(0, manager, [manager] { ClickButton(manager, "btn_copy"); });
        });
        ClickButton(RightClick(modal), "menu_rename");
    });
    PickDeviceFile(owner, SOURCE_USER_SDCARD);
    EXPECT_EQ(title, T(ft::EnterFileName));
    EXPECT_EQ(bin.CountCalls(mv), 1);
    EXPECT_EQ(boxes.Texts(), QStringList{T(ft::RenameOk)});
    EXPECT_EQ(bin.CountCalls(kLsSdcard), 2);
}

TEST_F(FileManagerGui, RenameRefusesEmptyAndUnquotableNamesAndReportsFailure)
{
    bin.Answer(kLsUdisk, ThreeFiles());
    const QString mv = QStringLiteral("shell mv /mnt/udisk/'boot.img' /mnt/udisk/'x'");
    bin.Answer(mv, "mv: can't rename 'boot.img': No space left on device\r\r\n");
    TestPickOwner owner(frame.get());
    bool stayedOpen = false;
    WHEN_LISTED(3, {
        SelectRow(modal, 0);
        QWidget* manager = modal;
        WhenModal(NameDialogReady(), [&, manager](QWidget* dialog) {
            auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("edit_filename"));
            ClickButton(dialog, "btn_ok");
            edit->setText(QStringLiteral("a\"b"));
            ClickButton(dialog, "btn_ok");
            stayedOpen = dialog->isVisible();
            edit->setText(QStringLiteral("x"));
            ClickButton(dialog, "btn_ok");
            QTimer::singleShot(0, manager, [manager] { ClickButton(manager, "btn_copy"); });
        });
        ClickButton(RightClick(modal), "menu_rename");
    });
    PickDeviceFile(owner, SOURCE_USER_UDISK);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(boxes.Texts(), (QStringList{T(ft::NameEmptyEnterAgain), T(kz::files::UnsafeFileName),
                                          T(ft::RenameFailed)}));
    EXPECT_EQ(bin.CountCalls(mv), 1);
    EXPECT_EQ(bin.CountCalls(kLsUdisk), 1);
}

// Refused names keep the dialog open; a listed file is replaced only after
// Yes; Return presses OK; apostrophes are quoted the shell's way.
TEST_F(FileManagerGui, RenameKeepsTheFileInItsFolderAndAsksBeforeReplacing)
{
    bin.Answer(kLsUdisk, ThreeFiles());
    TestPickOwner owner(frame.get());
    const QString toMyFile = QStringLiteral("shell mv /mnt/udisk/'boot.img' /mnt/udisk/'MY FILE.BIN'");
    const QString toApostrophe = QStringLiteral(R"(shell mv /mnt/udisk/'boot.img' /mnt/udisk/'it'\''s.bin')");
    boxes.QueueAnswer(kz::MsgAnswer::Ok);
    boxes.QueueAnswer(kz::MsgAnswer::Ok);
    boxes.QueueAnswer(kz::MsgAnswer::Ok);
    boxes.QueueAnswer(kz::MsgAnswer::No);   // replace "my file.bin"?
    boxes.QueueAnswer(kz::MsgAnswer::Yes);  // replace "it's.bin"?
    bool openAfterNo = false;
    WHEN_LISTED(3, {
        SelectRow(modal, 0);
        QWidget* manager = modal;
        WhenModal(NameDialogReady(), [&, manager](QWidget* dialog) {
            auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("edit_filename"));
            for (const char* name : {"../sdcard/moved.img", "..", "Backups", "MY FILE.BIN"}) {
                edit->setText(QString::fromUtf8(name));
                QTest::keyClick(edit, Qt::Key_Return);
            }
            openAfterNo = dialog->isVisible();
            edit->setText(QStringLiteral("it's.bin"));
            ClickButton(dialog, "btn_ok");
            QTimer::singleShot(0, manager, [manager] { ClickButton(manager, "btn_copy"); });
        });
        ClickButton(RightClick(modal), "menu_rename");
    });
    PickDeviceFile(owner, SOURCE_USER_UDISK);
    EXPECT_TRUE(openAfterNo);
    EXPECT_EQ(boxes.Texts(), (QStringList{T(ft::NameNotInFolder), T(ft::NameNotInFolder), T(ft::FolderExists),
                                          T(ft::ReplaceQuestion), T(ft::ReplaceQuestion), T(ft::RenameOk)}));
    EXPECT_EQ(boxes.Requests()[3].buttons, kz::MsgButtons::YesNo);
    EXPECT_EQ(bin.CountCalls(toMyFile), 0);
    EXPECT_EQ(bin.CountCalls(toApostrophe), 1);
}

// A client that cannot be started printed nothing, which is no success: the
// start failure's own box stays and the action reports its failure.
TEST_F(FileManagerGui, ClientThatCannotStartFailsDeleteAndRename)
{
    bin.Answer(kLsSdcard, ThreeFiles());
    TestPickOwner owner(frame.get());
    boxes.QueueAnswer(kz::MsgAnswer::Yes);
    const QString client = bin.Dir() + QStringLiteral("/adb/kz_daemon");
    WHEN_LISTED(3, {
        QFile::setPermissions(client, QFile::ReadOwner | QFile::WriteOwner);
        SelectRow(modal, 0);
        ClickButton(RightClick(modal), "menu_delete");
        EXPECT_TRUE(boxes.WaitForCount(3));
        QWidget* manager = modal;
        WhenModal(NameDialogReady(), [&, manager](QWidget* dialog) {
            dialog->findChild<QLineEdit*>(QStringLiteral("edit_filename"))->setText(QStringLiteral("x"));
            ClickButton(dialog, "btn_ok");
            QFile::setPermissions(client, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QTimer::singleShot(0, manager, [manager] { ClickButton(manager, "btn_copy"); });
        });
        SelectRow(modal, 0);
        ClickButton(RightClick(modal), "menu_rename");
    });
    PickDeviceFile(owner, SOURCE_USER_SDCARD);
    EXPECT_EQ(boxes.Texts(), (QStringList{T(ft::DeleteQuestion), QStringLiteral("CreateProcess Failed!"),
                                          T(ft::DeleteFailed), QStringLiteral("CreateProcess Failed!"),
                                          T(ft::RenameFailed)}));
}

TEST_F(FileManagerGui, NameEntryHandsTheTypedNameToTheOwner)
{
    TestPickOwner owner(frame.get());
    WhenModal(NameDialogReady(), [&](QWidget* modal) {
        auto* edit = modal->findChild<QLineEdit*>(QStringLiteral("edit_filename"));
        ClickButton(modal, "btn_ok");  // empty: refused
        EXPECT_TRUE(modal->isVisible());
        edit->setText(QStringLiteral(" boot1 copy.img"));
        ClickButton(modal, "btn_ok");
    });
    EXPECT_TRUE(AskFileName(owner));
    EXPECT_EQ(owner.m_strPickedName, " boot1 copy.img");
    EXPECT_EQ(boxes.Texts(), QStringList{T(ft::NameEmptyEnterAgain)});

    owner.m_strPickedName.clear();
    WhenModal(NameDialogReady(), [&](QWidget* modal) {
        modal->findChild<QLineEdit*>(QStringLiteral("edit_filename"))->setText(QStringLiteral("typed"));
        ClickButton(modal, "closebtn");
    });
    EXPECT_FALSE(AskFileName(owner));
    EXPECT_TRUE(owner.m_strPickedName.isEmpty());
}
