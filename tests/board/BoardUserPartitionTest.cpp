// User-partition rows (count, sources, addresses, concurrent writes) and the
// user-area read.
#include <QAbstractButton>
#include <QRadioButton>
#include <QScrollArea>

#include "board/BoardFixture.h"
#include "files/core/FileManagerMode.h"

namespace kz::test {
namespace {

const QString kTool = QStringLiteral("shell \"cd /mnt/sdcard && ./eMMC /READ_WRITE_DATA ");

class UserPartition : public BoardFixture {
protected:
    QList<QWidget*> Rows() const
    {
        QWidget* rows = Ctl<QScrollArea>("userpartition")->widget();
        return rows->findChildren<QWidget*>(QStringLiteral("listelement"), Qt::FindDirectChildrenOnly);
    }
    QWidget* Row(int index) const
    {
        for (QWidget* row : Rows()) {
            if (ui::GetTag(row) == index)
                return row;
        }
        return nullptr;
    }
    void BuildRows(const QString& count)
    {
        SetText("edit_filenum", count);
        Click("btn_ok");
    }
    void FillRow(int index, const QString& address, const QString& name)
    {
        ui::SetControlText(Row(index)->findChild<QWidget*>(QStringLiteral("edit_userwriteaddr")), address);
        ui::SetControlText(Row(index)->findChild<QWidget*>(QStringLiteral("edit_userfilename")), name);
    }
    QAbstractButton* RowButton(int index, const char* name) const
    {
        return Row(index)->findChild<QAbstractButton*>(QString::fromUtf8(name));
    }
};

TEST_F(UserPartition, RowCountsOutsideOneToThirtyKeepTheRows)
{
    OpenBoard();
    BuildRows(QStringLiteral("5abc"));
    ASSERT_EQ(Rows().size(), 5);
    EXPECT_EQ(ui::GetControlText(Row(4)->findChild<QWidget*>(QStringLiteral("text_addr"))),
              QStringLiteral("write addr:(HEX)"));
    for (const char* bad : {"0", "", "31", "-1", "x"})
        BuildRows(QString::fromUtf8(bad));
    EXPECT_EQ(boxes.Count(), 5);
    EXPECT_EQ(boxes.Texts().value(0), QStringLiteral("File num is out of range,please enter again！"));
    EXPECT_EQ(Rows().size(), 5);
    BuildRows(QStringLiteral("30"));
    EXPECT_EQ(Rows().size(), 30);
}

TEST_F(UserPartition, RebuiltRowsKeepAndShowTheirSource)
{
    OpenBoard();
    BuildRows(QStringLiteral("3"));
    RowButton(1, "option_user_sdcard")->click();
    EXPECT_EQ(board->UserRowSource(1), SOURCE_USER_SDCARD);
    EXPECT_EQ(board->UserRowSource(0), SOURCE_USER_UDISK) << "rows do not share their options";
    BuildRows(QStringLiteral("5"));
    EXPECT_EQ(board->UserRowSource(1), SOURCE_USER_SDCARD);
    EXPECT_TRUE(RowButton(1, "option_user_sdcard")->isChecked());
    EXPECT_TRUE(RowButton(0, "option_user_udisk")->isChecked());
}

TEST_F(UserPartition, AddressIsJudgedBeforeTheName)
{
    OpenBoard();
    BuildRows(QStringLiteral("1"));
    for (const auto& [address, name] : {std::pair{"400", "a.bin"}, {"", ""}, {"0x12G", "a.bin"}, {"0x800", ""}}) {
        FillRow(0, QString::fromUtf8(address), QString::fromUtf8(name));
        RowButton(0, "btn_writeuserpartition")->click();
    }
    const QString format = QStringLiteral("Write address format is incorrect,please enter the hexadecimal!");
    EXPECT_EQ(boxes.Texts(),
              QStringList({format, format, format, "File name can not be empty, please enter again!"}));
    EXPECT_TRUE(BoardCalls().isEmpty());
}

TEST_F(UserPartition, ConcurrentRowWritesEachReportAndUnlockRebuildingLast)
{
    OpenBoard();
    BuildRows(QStringLiteral("2"));
    RowButton(1, "option_user_sdcard")->click();
    FillRow(0, QStringLiteral("0x400"), QStringLiteral(" A.bin "));
    FillRow(1, QStringLiteral("0X800"), QStringLiteral("b.bin"));
    const QString first = AsCalled(kTool + "/WRITE_USER_AREA:/mnt/udisk/'A.bin' /WRITE_USER_AREA_S:1MB\"");
    const QString second = AsCalled(kTool + "/WRITE_USER_AREA:/mnt/sdcard/'b.bin' /WRITE_USER_AREA_S:2MB\"");
    bin.Answer(first, kComplete);
    bin.Delay(second, 0.6);
    RowButton(0, "btn_writeuserpartition")->click();
    RowButton(1, "btn_writeuserpartition")->click();
    EXPECT_FALSE(Ctl("btn_ok")->isEnabled());
    EXPECT_EQ(RowButton(1, "btn_writeuserpartition")->text(), QStringLiteral("Writing"));
    ASSERT_TRUE(WaitFor([&] { return RowButton(0, "btn_writeuserpartition")->isEnabled(); }));
    EXPECT_FALSE(Ctl("btn_ok")->isEnabled()) << "row 1 still writes: no rebuild under it";
    EXPECT_FALSE(RowButton(1, "btn_writeuserpartition")->isEnabled());
    ASSERT_TRUE(WaitForWorkers());
    EXPECT_TRUE(Ctl("btn_ok")->isEnabled());
    EXPECT_EQ(RowButton(1, "btn_writeuserpartition")->text(), QStringLiteral("Write"));
    EXPECT_EQ(boxes.Texts(), QStringList({"Write successfully!", "Write failed!"}));
    QStringList calls = BoardCalls();
    calls.sort();
    EXPECT_EQ(calls, QStringList({second, first})) << "both rows ran at once";
}

TEST_F(UserPartition, RowBrowseUsesTheRowSource)
{
    OpenBoard();
    BuildRows(QStringLiteral("2"));
    RowButton(1, "option_user_sdcard")->click();
    nextPick = QStringLiteral("user.bin");
    RowButton(1, "btn_browseuserpartition")->click();
    RowButton(0, "btn_browseuserpartition")->click();
    EXPECT_EQ(pickModes, QList<int>({SOURCE_USER_SDCARD, SOURCE_USER_UDISK}));
    EXPECT_EQ(ui::GetControlText(Row(1)->findChild<QWidget*>(QStringLiteral("edit_userfilename"))),
              QStringLiteral("user.bin"));
}

TEST_F(UserPartition, UserAreaReadChecksNameThenSize)
{
    OpenBoard();
    SetText("edit_userread_filesize", QStringLiteral("10001"));
    Click("btn_userread");
    SetText("edit_userread_filename", QStringLiteral("user.img "));
    Click("btn_userread");
    SetText("edit_userread_filesize", QStringLiteral("0"));
    Click("btn_userread");
    EXPECT_EQ(boxes.Texts(), QStringList({"File name can not be empty, please enter again!",
                                          "File size is out of range,please enter again！",
                                          "File size is out of range,please enter again！"}));
    boxes.Clear();
    const QString command = AsCalled(kTool + "/READ_USER_AREA:'user.img' /READ_USER_AREA_SIZE:10000GB\" ");
    bin.Answer(command, kComplete);
    SetText("edit_userread_filesize", QStringLiteral("10000"));
    Select("comb_unit", 1);
    Click("btn_userread");
    EXPECT_EQ(TextOf("btn_userread"), QStringLiteral("saving"));
    // A size typed after the click is not the checked one the read uses.
    SetText("edit_userread_filesize", QStringLiteral("99999"));
    ASSERT_TRUE(WaitForWorkers());
    EXPECT_EQ(BoardCalls(), QStringList({command}));
    EXPECT_EQ(boxes.Texts(), QStringList({"Read User successfully!"}));
    EXPECT_TRUE(Ctl("btn_userread")->isEnabled());
    EXPECT_EQ(TextOf("btn_userread"), QStringLiteral("Read"));
}

}  // namespace
}  // namespace kz::test
