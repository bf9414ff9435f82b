// The file manager against the simulated box, through Debian's adb and our
// client adapter: copies, renames and deletes, with names that need quoting
// and a stick that goes away.
#include <QComboBox>
#include <QLineEdit>
#include <QTimer>
#include <fstream>
#include <gtest/gtest.h>

#include "FileManagerBoxFixture.h"
#include "app/MainFrame.h"
#include "link/Texts.h"
#include "files/FileManager.h"
#include "files/core/FileTexts.h"

using namespace kz::test;
namespace ft = kz::files::text;

namespace {
const char kName[] = "my  file.bin";
}  // namespace

TEST_F(FileManagerBox, CopiesANameWithBlanksToTheStickAndDeletesTheOriginal)
{
    QByteArray content(300000, 'x');
    for (int i = 0; i < content.size(); ++i)
        content[i] = char(i * 7);
    {
        QFile source(QString::fromStdString((box.StateDir() / "sdcard" / kName).string()));
        ASSERT_TRUE(source.open(QIODevice::WriteOnly));
        source.write(content);
    }
    boxes.QueueAnswer(kz::MsgAnswer::Ok);   // copy result
    boxes.QueueAnswer(kz::MsgAnswer::Yes);  // delete question
    bool listedAfterDelete = true;
    WhenModal([&](QWidget* m) { return RowOf(m, QString::fromUtf8(kName)) >= 0; }, [&](QWidget* modal) {
        SelectRow(modal, RowOf(modal, QString::fromUtf8(kName)));
        modal->findChild<QLineEdit*>(QStringLiteral("edit_name"))->setText(QStringLiteral("copy  1.bin"));
        ClickButton(modal, "btn_copy");
        ASSERT_TRUE(boxes.WaitForCount(1, 20000));
        SelectRow(modal, RowOf(modal, QString::fromUtf8(kName)));
        QWidget* menu = RightClick(modal);
        ASSERT_NE(menu, nullptr);
        ClickButton(menu, "menu_delete");
        ASSERT_TRUE(boxes.WaitForCount(3, 20000));
        listedAfterDelete = RowOf(modal, QString::fromUtf8(kName)) >= 0;
        ClickButton(modal, "closebtn");
    });
    OpenFileManager(frame.get(), COPY_SDCARD_TO_UDISK);
    EXPECT_EQ(boxes.Texts(), (QStringList{T(ft::CopyOk), T(ft::DeleteQuestion), T(ft::DeleteOk)}))
        << box.BoxLog();
    EXPECT_EQ(ReadAll(box.StateDir() / "udisk" / "copy  1.bin"), content);
    EXPECT_FALSE(std::filesystem::exists(box.StateDir() / "sdcard" / kName));
    EXPECT_FALSE(listedAfterDelete);
}

// The stick is pulled after the listing: cp cannot find the file and both
// probes say so, which must not read as two equal sizes.
TEST_F(FileManagerBox, CopyFromAPulledStickFails)
{
    boxes.QueueAnswer(kz::MsgAnswer::Ok);
    WhenModal([&](QWidget* m) { return RowOf(m, QStringLiteral("boot.img")) >= 0; }, [&](QWidget* modal) {
        SelectRow(modal, RowOf(modal, QStringLiteral("boot.img")));
        modal->findChild<QComboBox*>(QStringLiteral("comb_name"))->setCurrentText(QStringLiteral("uImage"));
        ASSERT_EQ(box.Ctl("remove-udisk"), "ok");
        ClickButton(modal, "btn_copy");
        ASSERT_TRUE(boxes.WaitForCount(1, 20000));
        ClickButton(modal, "closebtn");
    });
    OpenFileManager(frame.get(), COPY_UDISK_TO_SDCARD);
    EXPECT_EQ(boxes.Texts(), QStringList{T(ft::CopyFailed)}) << box.BoxLog();
    EXPECT_FALSE(std::filesystem::exists(box.StateDir() / "sdcard" / "uImage"));
    EXPECT_TRUE(WaitFor([&] { return !LogLines().filter(QStringLiteral("No such file or directory")).isEmpty(); }));
    EXPECT_TRUE(LogLines().filter(T(ft::CopyOk)).isEmpty());
    EXPECT_FALSE(ReadAll(box.StateDir() / "shell-commands.log").contains("busybox cp"));
}

// Renames that would leave the folder or replace another file: refused, or
// asked first and left alone on No.  Then a name with an apostrophe.
TEST_F(FileManagerBox, RenameStaysInItsFolderAndReplacesNothingUnasked)
{
    const auto udisk = box.StateDir() / "udisk";
    const auto systemSize = std::filesystem::file_size(udisk / "system.img");
    boxes.QueueAnswer(kz::MsgAnswer::Ok);
    boxes.QueueAnswer(kz::MsgAnswer::No);
    WhenModal([&](QWidget* m) { return RowOf(m, QStringLiteral("readme.txt")) >= 0; }, [&](QWidget* modal) {
        SelectRow(modal, RowOf(modal, QStringLiteral("readme.txt")));
        WhenModal([&](QWidget* d) { return ControlText(d, "text_title") == T(ft::EnterFileName); },
                  [&, modal](QWidget* dialog) {
                      auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("edit_filename"));
                      for (const char* name : {"../sdcard/moved.img", "system.img", "John's notes.txt"}) {
                          edit->setText(QString::fromUtf8(name));
                          ClickButton(dialog, "btn_ok");
                      }
                      QTimer::singleShot(0, modal, [modal] { ClickButton(modal, "closebtn"); });
                  });
        ClickButton(RightClick(modal), "menu_rename");
    });
    OpenFileManager(frame.get(), COPY_UDISK_TO_SDCARD);
    EXPECT_EQ(boxes.Texts(), (QStringList{T(ft::NameNotInFolder), T(ft::ReplaceQuestion), T(ft::RenameOk)}))
        << box.BoxLog();
    EXPECT_FALSE(std::filesystem::exists(box.StateDir() / "sdcard" / "moved.img"));
    EXPECT_EQ(std::filesystem::file_size(udisk / "system.img"), systemSize);
    EXPECT_FALSE(std::filesystem::exists(udisk / "readme.txt"));
    EXPECT_EQ(ReadAll(udisk / "John's notes.txt"), "Files for the simulated KORVALD box.\n");
}

// "-rf" is removed, not taken for rm's options (the box prints rm's usage
// for that), and so is a name with an apostrophe.
TEST_F(FileManagerBox, DeletesNamesThatLookLikeOptionsOrHoldApostrophes)
{
    const auto sdcard = box.StateDir() / "sdcard";
    for (const char* name : {"-rf", "John's.bin"})
        std::ofstream(sdcard / name) << name;
    for (const kz::MsgAnswer answer : {kz::MsgAnswer::Yes, kz::MsgAnswer::Ok, kz::MsgAnswer::Yes})
        boxes.QueueAnswer(answer);
    WhenModal([&](QWidget* m) { return RowOf(m, QStringLiteral("-rf")) >= 0; }, [&](QWidget* modal) {
        for (const char* name : {"-rf", "John's.bin"}) {
            const int before = boxes.Count();
            SelectRow(modal, RowOf(modal, QString::fromUtf8(name)));
            ClickButton(RightClick(modal), "menu_delete");
            ASSERT_TRUE(boxes.WaitForCount(before + 2, 20000));
        }
        ClickButton(modal, "closebtn");
    });
    OpenFileManager(frame.get(), COPY_SDCARD_TO_UDISK);
    EXPECT_EQ(boxes.Texts(), (QStringList{T(ft::DeleteQuestion), T(ft::DeleteOk), T(ft::DeleteQuestion),
                                          T(ft::DeleteOk)}))
        << box.BoxLog();
    EXPECT_FALSE(std::filesystem::exists(sdcard / "-rf"));
    EXPECT_FALSE(std::filesystem::exists(sdcard / "John's.bin"));
}

// A box whose df prints "951.2M available" has room for 5 MiB.
class FileManagerBoxHumanDf : public FileManagerBox {
protected:
    std::string ConfigJson() const override { return R"({"dfUnits": "human"})"; }
};

TEST_F(FileManagerBoxHumanDf, DfInLargeUnitsLeavesRoomForTheCopy)
{
    const QByteArray content(5 << 20, 'k');
    {
        QFile source(QString::fromStdString((box.StateDir() / "sdcard" / "five.bin").string()));
        ASSERT_TRUE(source.open(QIODevice::WriteOnly));
        source.write(content);
    }
    boxes.QueueAnswer(kz::MsgAnswer::Ok);
    WhenModal([&](QWidget* m) { return RowOf(m, QStringLiteral("five.bin")) >= 0; }, [&](QWidget* modal) {
        SelectRow(modal, RowOf(modal, QStringLiteral("five.bin")));
        modal->findChild<QLineEdit*>(QStringLiteral("edit_name"))->setText(QStringLiteral("five copy.bin"));
        ClickButton(modal, "btn_copy");
        ASSERT_TRUE(boxes.WaitForCount(1, 20000));
        ClickButton(modal, "closebtn");
    });
    OpenFileManager(frame.get(), COPY_SDCARD_TO_UDISK);
    EXPECT_EQ(boxes.Texts(), QStringList{T(ft::CopyOk)}) << box.BoxLog();
    EXPECT_EQ(ReadAll(box.StateDir() / "udisk" / "five copy.bin"), content);
}
