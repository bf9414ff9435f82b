// The board dialog's set-up, chip fields, pages and boot configuration, and
// its opening from the main window.
#include <QRadioButton>
#include <QStackedWidget>
#include <QTimer>
#include <QTreeView>

#include "link/DeviceActions.h"
#include "board/BoardFixture.h"
#include "files/core/FileManagerMode.h"

namespace kz::test {
namespace {

const char kReport[] =
    "eMMC information\r\r\n"
    "Partition #1 (BOOT1): 4.00 MiB (4194304 Bytes)\r\r\n"
    "Partition #2 (USER): 7.28 GiB (7818182656 Bytes)\r\r\n"
    "Manufacturer ID: 0x45\r\r\nCard/BGA: BGA\r\r\nProduct name: SEM08G\r\r\nProduct revision: 0x01\r\r\n"
    "Boot Partition Enable: EXT_CSD[179] = 0x10 ==> Boot partition 2\r\r\n"
    "ACK: EXT_CSD[179] = 0x10 ==> Off\r\r\n"
    "Boot mode: EXT_CSD[177] = 0x02 ==> single,high speed\r\r\n"
    "Bus width: EXT_CSD[177] = 0x02 ==> x8 (sdr)\r\r\n";

const char kConfigureOk[] = "Complete successfully !!\r\r\n";

using BoardDialog = BoardFixture;

TEST_F(BoardDialog, WindowInitResetsEverySourceToTheUdisk)
{
    OpenBoard();
    EXPECT_EQ(TextOf("btn_writeboot1"), QStringLiteral("Write"));
    EXPECT_EQ(TextOf("text_userread_fileaddr"), QStringLiteral("file size:"));
    Ctl<QRadioButton>("option_boot1_sdcard")->click();
    Ctl<QRadioButton>("option_boot2_sdcard")->click();
    EXPECT_EQ(board->Boot1Source(), SOURCE_BOOT_SDCARD);
    EXPECT_EQ(board->Boot2Source(), SOURCE_BOOT_SDCARD);
    board->InitControls();
    EXPECT_EQ(board->Boot1Source(), SOURCE_BOOT_UDISK);
    EXPECT_EQ(board->Boot2Source(), SOURCE_BOOT_UDISK);
    EXPECT_TRUE(Ctl<QRadioButton>("option_boot1_udisk")->isChecked()) << "the option shows the source in use";
    EXPECT_EQ(board->UserRowSource(29), SOURCE_USER_UDISK);
    EXPECT_EQ(bin.CountCalls(QStringLiteral("start-server")), 1) << "building the dialog starts the server";
}

TEST_F(BoardDialog, ChipReportFillsFieldsListAndCombosAcrossASecondInit)
{
    OpenBoard(QString::fromUtf8(kReport));
    EXPECT_EQ(TextOf("editManufacturer"), QStringLiteral("SanDisk"));
    EXPECT_EQ(TextOf("editProduceName"), QStringLiteral(" SEM08G"));
    EXPECT_EQ(Ctl<QComboBox>("comb_partitionselected")->currentIndex(), 2);
    EXPECT_EQ(Ctl<QComboBox>("comb_ack")->currentIndex(), 1);
    EXPECT_EQ(Ctl<QComboBox>("comb_bootmode")->currentIndex(), 1);
    EXPECT_EQ(Ctl<QComboBox>("comb_buswidth")->currentIndex(), 2);
    // "windowinit" ran InitControls a second time: the list kept its rows.
    auto* list = Ctl<QTreeView>("patition");
    ASSERT_EQ(list->model()->rowCount(), 2);
    EXPECT_EQ(list->model()->index(1, 1).data().toString(), QStringLiteral("USER"));
    EXPECT_EQ(board->GetItemText(0, 2), QStringLiteral("4.00 MiB (4194304 Bytes)"));
    EXPECT_EQ(board->GetItemText(0, 3), QString());
    EXPECT_EQ(board->GetItemText(5, 0), QString());
}

// A value no item stands for is shown as none (so Modify sends nothing) and
// told in the log in the chip's words.
TEST_F(BoardDialog, ReportedValuesTheCombosDoNotListSelectNothing)
{
    QString report = QString::fromUtf8(kReport);
    report.replace("==> single,high speed", "==> dual data rate");
    report.replace("==> Boot partition 2", "==> User area enabled for boot");
    OpenBoard(report);
    EXPECT_EQ(Ctl<QComboBox>("comb_bootmode")->currentIndex(), -1);
    EXPECT_EQ(Ctl<QComboBox>("comb_partitionselected")->currentIndex(), -1);
    EXPECT_EQ(Ctl<QComboBox>("comb_ack")->currentIndex(), 1);
    const QStringList log = LogLines();
    ASSERT_EQ(log.size(), 3) << qPrintable(log.join(u'\n'));
    EXPECT_TRUE(log[1].contains("Boot Partition Enable \"User area enabled for boot\"")) << qPrintable(log[1]);
    EXPECT_TRUE(log[2].contains("Boot mode \"dual data rate\"")) << qPrintable(log[2]);
    Click("btn_bootmode");
    EXPECT_TRUE(BoardCalls().isEmpty()) << qPrintable(BoardCalls().join(u'\n'));
    EXPECT_EQ(boxes.Texts(), QStringList({"Set failed!"}));
}

TEST_F(BoardDialog, PagesChangeOnlyWithTheirSelection)
{
    OpenBoard();
    auto* pages = Ctl<QStackedWidget>("tab_motherboard");
    Ctl<QRadioButton>("option_write")->click();
    EXPECT_EQ(pages->currentIndex(), 1);
    EXPECT_FALSE(Ctl("edit_filenum")->isVisible());
    Select("comb_chippartitioin", 1);
    EXPECT_EQ(Ctl<QStackedWidget>("tab_chipwrite")->currentIndex(), 1);
    EXPECT_TRUE(Ctl("edit_filenum")->isVisible());
    EXPECT_TRUE(Ctl("comb_userpartition")->isVisible());
    Select("comb_userpartition", 1);
    EXPECT_EQ(Ctl<QStackedWidget>("tab_userpartition")->currentIndex(), 1);
    EXPECT_FALSE(Ctl("btn_ok")->isVisible());
    EXPECT_TRUE(Ctl("comb_userpartition")->isVisible());
    Select("comb_userpartition", 0);
    EXPECT_TRUE(Ctl("btn_ok")->isVisible());
    Select("comb_chippartitioin", 0);
    EXPECT_FALSE(Ctl("comb_userpartition")->isVisible());
    Ctl<QRadioButton>("option_info")->click();
    EXPECT_EQ(pages->currentIndex(), 0);
}

TEST_F(BoardDialog, BootSettingsSendTheSelectedIndexAndNeedTheFullMarker)
{
    OpenBoard(QString::fromUtf8(kReport));
    const QString tool = QStringLiteral("shell /mnt/sdcard/eMMC /configure_boot ");
    bin.Answer(tool + "/boot_ack:Off", kConfigureOk);
    bin.Answer(tool + "/bus_width:2", "Complete successfully\r\r\n");
    Click("btn_ack");
    Click("btn_buswidth");
    Ctl<QComboBox>("comb_bootmode")->setCurrentIndex(-1);
    Click("btn_bootmode");
    // With no mode selected nothing goes to the tool, and the operator is told.
    EXPECT_EQ(BoardCalls(), QStringList({tool + "/boot_ack:Off", tool + "/bus_width:2"}));
    EXPECT_EQ(boxes.Texts(), QStringList({"Set successfully!", "Set failed!", "Set failed!"}));
    EXPECT_EQ(boxes.Requests().value(0).ownerName, QStringLiteral("MotherBoard"));
    EXPECT_EQ(TextOf("btn_ack"), QStringLiteral("Modify"));
    EXPECT_TRUE(Ctl("btn_ack")->isEnabled());
    EXPECT_EQ(Ctl<QComboBox>("comb_bootmode")->currentIndex(), -1) << "the applied value stays as chosen";
}

TEST_F(BoardDialog, TheBusyCaptionShowsWhileTheBoxAnswers)
{
    OpenBoard();
    const QString command = QStringLiteral("shell /mnt/sdcard/eMMC /configure_boot /boot_partition_enable:0");
    bin.Answer(command, kConfigureOk);
    bin.Delay(command, 0.4);
    QString captionMeanwhile;
    bool enabledMeanwhile = true;
    QTimer::singleShot(200, [&] {
        captionMeanwhile = TextOf("btn_partitionselected");
        enabledMeanwhile = Ctl("btn_partitionselected")->isEnabled();
    });
    Click("btn_partitionselected");
    EXPECT_EQ(captionMeanwhile, QStringLiteral("Modifying"));
    EXPECT_FALSE(enabledMeanwhile);
    EXPECT_EQ(boxes.Texts(), QStringList({"Set successfully!"}));
    EXPECT_EQ(TextOf("btn_partitionselected"), QStringLiteral("Modify"));
}

TEST_F(BoardDialog, MainWindowOpensItFilledFromTheChipReport)
{
    StartConnected();
    bin.Answer(QString::fromUtf8(kChipInfoCommand), kReport);
    QString manufacturer;
    QString caption;
    WhenWindowShows("editManufacturer", [&](QWidget* window) {
        manufacturer = window->findChild<QLineEdit*>(QStringLiteral("editManufacturer"))->text();
        caption = window->windowTitle();
        ClickButton(window, QStringLiteral("closebtn"));
    });
    ClickButton(frame->GetHWND(), QStringLiteral("btn_motherBoard"));
    EXPECT_TRUE(WaitFor([&] { return !caption.isEmpty(); }));
    EXPECT_EQ(manufacturer, QStringLiteral("SanDisk"));
    EXPECT_EQ(caption, QStringLiteral("母片制作"));
    EXPECT_EQ(bin.CountCalls(QString::fromUtf8(kKillServerCommand)), 0) << "closing leaves the server running";
}

TEST_F(BoardDialog, MainWindowKeepsItClosedWithoutAChip)
{
    StartConnected();
    bin.Answer(QString::fromUtf8(kChipInfoCommand), "No eMMC inside\r\r\n");
    // A board dialog would run modally here and nobody would close it.
    ClickButton(frame->GetHWND(), QStringLiteral("btn_motherBoard"));
    EXPECT_EQ(boxes.Texts(), QStringList({"The chip is not detected, please placed chip and try again!"}));
}

}  // namespace
}  // namespace kz::test
