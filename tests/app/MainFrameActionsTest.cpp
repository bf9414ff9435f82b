// The buttons of the main window, the log and the menu, against a scripted
// adb client.
#include <QAbstractItemModel>
#include <QElapsedTimer>
#include <QFile>
#include <QApplication>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <thread>

#include "support/MainFrameFixture.h"
#include "link/DeviceActions.h"
#include "link/Texts.h"
#include "ui/Controls.h"
#include "ui/RichTextDelegate.h"

using namespace kz::test;

namespace {
const char* const kDeviceButtons[] = {"btn_readInfo", "btn_readuser",     "btn_motherBoard", "btn_mtx",
                                      "btn_copytoUdisk", "btn_copytoSDcard", "btn_reboot"};
const QByteArray kServerStart = "* daemon not running. starting it now on port 5037 *\r\n"
                                "* daemon started successfully *\r\n";

// Closes every chip-information, board or file-manager dialog that opens
// while it lives, and counts them: a dialog that should not open fails the
// test instead of hanging it.
class DialogCatcher {
public:
    DialogCatcher()
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                QWidget* edit = nullptr;
                for (const char* name : {"edit_emmcinfo", "editManufacturer", "text_tip"})
                    edit = edit ? edit : w->findChild<QWidget*>(name);
                if (w->isVisible() && edit && edit->window() == w) {
                    m_shown << kz::ui::GetControlText(edit);
                    ClickButton(w, "closebtn");
                }
            }
        });
        m_timer.start(20);
    }
    QStringList Shown() const { return m_shown; }

private:
    QTimer m_timer;
    QStringList m_shown;
};
}  // namespace

class MainFrameActions : public MainFrameFixture {};

TEST_F(MainFrameActions, EveryDeviceButtonWithoutDeviceSaysNoDevice)
{
    Start(kNoDevice);
    const int callsBefore = bin.Calls().size();
    for (const char* name : kDeviceButtons)
        ClickButton(frame->GetHWND(), name);
    frame->PostMessage(WM_MENU_UPDATE);
    ASSERT_TRUE(boxes.WaitForCount(8));
    EXPECT_EQ(boxes.Texts(), QStringList(8, Text(kz::text::NoDeviceFound)));
    EXPECT_EQ(bin.Calls().size(), callsBefore);  // nothing reached the box
    EXPECT_TRUE(LogLines().isEmpty());
}

TEST_F(MainFrameActions, FtpButtonWorksWithoutDeviceAndReportsAMissingClient)
{
    Start(kNoDevice);
    ClickButton(frame->GetHWND(), "btn_connectFTP");
    ASSERT_EQ(boxes.Count(), 1);
    const MessageRecord box = boxes.Requests()[0];
    EXPECT_EQ(box.text, "Open FTP Serve Failed!");
    EXPECT_EQ(box.caption, "提示");
    EXPECT_EQ(box.icon, kz::MsgIcon::Warning);
    EXPECT_TRUE(box.ownerName.isEmpty());
}

TEST_F(MainFrameActions, FtpClientIsStartedBesideTheProgram)
{
    const QString marker = bin.Dir() + "/ftp-started";
    QFile script(bin.Dir() + "/FTPClient");
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(("#!/bin/sh\ntouch '" + marker + "'\n").toUtf8());
    script.close();
    script.setPermissions(script.permissions() | QFile::ExeOwner);
    Start(kNoDevice);
    ClickButton(frame->GetHWND(), "btn_connectFTP");
    EXPECT_TRUE(WaitFor([&] { return QFile::exists(marker); }));
    EXPECT_EQ(boxes.Count(), 0);
}

TEST_F(MainFrameActions, RebootWithEmptyOrServerStartAnswerSucceeds)
{
    StartConnected();
    bin.Answer("shell reboot", kServerStart);
    ClickButton(frame->GetHWND(), "btn_reboot");
    EXPECT_EQ(boxes.Count(), 0);
    ASSERT_EQ(LogLines().size(), 2);
    EXPECT_TRUE(LogLines()[1].contains(Text(kz::text::RebootOk)));
    EXPECT_TRUE(LogLines()[1].startsWith("<i log_successful.png>"));
}

TEST_F(MainFrameActions, RebootAfterServerStartWithLostDeviceFails)
{
    StartConnected();
    bin.Answer("shell reboot", kServerStart + "error: device not found\r\n");
    ClickButton(frame->GetHWND(), "btn_reboot");
    EXPECT_EQ(boxes.Texts(), QStringList{Text(kz::text::NoDeviceFound)});
    ASSERT_EQ(LogLines().size(), 3);
    EXPECT_TRUE(LogLines()[1].startsWith("<i log_failed.png><f 2><c #FF0000> " + Text(kz::text::RebootFailed)));
    EXPECT_EQ(LogLines()[2], "<i log_tips.png><f 2><c #0000FF> error: device not found\r\n</c></f>");
    EXPECT_TRUE(frame->m_bDeviceConnected);  // the broadcasts decide that
}

TEST_F(MainFrameActions, MountWithoutStickLogsFailureAndCopyFromStickStops)
{
    Start(kOneBox, kBoxModel, "mount: No such file or directory\r\r\n");
    EXPECT_FALSE(frame->m_bUdiskMounted);
    EXPECT_TRUE(frame->m_bDeviceConnected);
    ASSERT_EQ(LogLines().size(), 2);
    EXPECT_EQ(LogLines()[1], "<i log_tips.png><f 2><c #0000FF> mount: No such file or directory</c></f>");
    ClickButton(frame->GetHWND(), "btn_copytoSDcard");
    EXPECT_EQ(boxes.Count(), 0);  // no file manager after a failed mount
    EXPECT_EQ(LogLines().size(), 4);
    TEST_MODAL({ ClickButton(modal, "closebtn"); });
    ClickButton(frame->GetHWND(), "btn_copytoUdisk");
    EXPECT_EQ(bin.CountCalls(QStringLiteral("shell ls -l /mnt/sdcard")), 1);  // this direction opens it anyway
}

TEST_F(MainFrameActions, MountFromAWorkerCompletesAndLogs)
{
    StartConnected();
    std::atomic<int> result{-1};
    std::thread worker([&] { result = frame->MountUdisk() ? 1 : 0; });
    ASSERT_TRUE(WaitFor([&] { return result != -1; }));
    worker.join();
    EXPECT_EQ(result, 1);
    ASSERT_EQ(LogLines().size(), 2);
    EXPECT_TRUE(LogLines()[1].contains(Text(kz::text::MountOk)));
}

TEST_F(MainFrameActions, ChipInfoErrorIsReported)
{
    StartConnected();
    bin.Answer(QString::fromUtf8(kz::kChipInfoCommand), "No eMMC inside\r\nerror: device not found\r\n");
    ClickButton(frame->GetHWND(), "btn_readInfo");
    EXPECT_EQ(boxes.Texts(), QStringList{Text(kz::text::ChipNotDetected)});
}

TEST_F(MainFrameActions, ChipInfoIsShownAsPrintedOneLinePerLine)
{
    StartConnected();
    // The box ends its lines with CR CR LF; a plain CR LF report shows the same.
    for (const QByteArray& eol : {QByteArray("\r\n"), QByteArray("\r\r\n")}) {
        const QByteArray report = "Manufacturer ID 0x15" + eol + "Partition #1 (boot1) : 4 MiB" + eol;
        bin.Answer(QString::fromUtf8(kz::kChipInfoCommand), report);
        QString shown;
        WhenWindowShows("edit_emmcinfo", [&](QWidget* w) {
            auto* edit = w->findChild<QPlainTextEdit*>("edit_emmcinfo");
            shown = edit ? edit->toPlainText() : QString("<not a plain text edit>");
            ClickButton(w, "closebtn");
        });
        ClickButton(frame->GetHWND(), "btn_readInfo");
        EXPECT_EQ(shown, "Manufacturer ID 0x15\nPartition #1 (boot1) : 4 MiB\n") << eol.size();
        EXPECT_EQ(frame->ChipInfoOutput(), QString::fromUtf8(report));
    }
    EXPECT_EQ(boxes.Count(), 0);
}

TEST_F(MainFrameActions, AReadClosedEarlyOpensNothingAndItsLateAnswerNeverReplacesANewerOne)
{
    StartConnected();
    const QString chipInfo = QString::fromUtf8(kz::kChipInfoCommand);
    DialogCatcher dialogs;
    bin.Answer(chipInfo, "Manufacturer ID 0x15\r\n");
    ClickButton(frame->GetHWND(), "btn_readInfo");  // an earlier chip, read whole
    ASSERT_EQ(dialogs.Shown().size(), 1);

    bin.Answer(chipInfo, "Manufacturer ID 0x45\r\n");
    bin.Delay(chipInfo, 1.0);
    for (const char* button : {"btn_readInfo", "btn_motherBoard"}) {
        WhenWindowShows("text_show", [](QWidget* w) { ClickButton(w, "closebtn"); });
        ClickButton(frame->GetHWND(), button);
    }
    EXPECT_EQ(dialogs.Shown().size(), 1) << "no dialog from the earlier chip's text";
    EXPECT_EQ(boxes.Count(), 0);

    bin.Answer(chipInfo, "Manufacturer ID 0x99\r\n");
    bin.Delay(chipInfo, 0);
    ClickButton(frame->GetHWND(), "btn_readInfo");
    ASSERT_EQ(dialogs.Shown().size(), 2);
    EXPECT_EQ(dialogs.Shown()[1], "Manufacturer ID 0x99\n");
    ProcessEventsFor(1300);  // the abandoned reads answer now
    EXPECT_EQ(bin.CountCalls(chipInfo), 4);
    EXPECT_EQ(frame->ChipInfoOutput(), "Manufacturer ID 0x99\r\n");
}

TEST_F(MainFrameActions, AClientThatDoesNotStartIsAFailureEverywhere)
{
    StartConnected();
    const QString client = bin.Dir() + "/adb/kz_daemon";
    QFile::setPermissions(client, QFile::ReadOwner | QFile::WriteOwner);
    DialogCatcher dialogs;
    const QString noStart = QStringLiteral("CreateProcess Failed!");
    const QString tip = "<i log_tips.png><f 2><c #0000FF> " + noStart + "</c></f>";
    const struct {
        const char* button;
        const char* headline;  // of the failure entry; null: the flow logs nothing
    } cases[] = {
        {"btn_reboot", kz::text::RebootFailed},
        {"btn_copytoSDcard", kz::text::MountFailed},
        {"btn_mtx", kz::text::MountFailed},
        {"btn_readInfo", nullptr},
        {"btn_motherBoard", nullptr},
    };
    for (const auto& c : cases) {
        boxes.Clear();
        const int logBefore = LogLines().size();
        ClickButton(frame->GetHWND(), c.button);
        ASSERT_TRUE(boxes.WaitForCount(1)) << c.button;
        for (const QString& text : boxes.Texts())
            EXPECT_EQ(text, noStart) << c.button;  // no success, no question, no file manager
        const QStringList added = LogLines().mid(logBefore);
        for (const QString& line : added)
            EXPECT_FALSE(line.startsWith("<i log_successful.png>")) << c.button;
        if (c.headline) {
            ASSERT_GE(added.size(), 2) << c.button;
            EXPECT_TRUE(added[added.size() - 2].startsWith("<i log_failed.png><f 2><c #FF0000> " + Text(c.headline)));
            EXPECT_EQ(added.last(), tip) << c.button;
        }
    }
    EXPECT_TRUE(dialogs.Shown().isEmpty());
    EXPECT_FALSE(frame->m_bUdiskMounted);
}

TEST_F(MainFrameActions, ClosingStopsTheServerOnce)
{
    StartConnected();
    frame->Close();
    ASSERT_TRUE(WaitFor([&] { return quits == 1; }));
    frame.reset();
    EXPECT_EQ(bin.CountCalls("kill-server"), 1);
}

TEST_F(MainFrameActions, MtxFlowLogsHintAndAsks)
{
    StartConnected();
    bin.Answer(QString::fromUtf8(kz::kMountCommand), "mount: Device or resource busy\r\r\n");
    boxes.QueueAnswer(kz::MsgAnswer::No);
    ClickButton(frame->GetHWND(), "btn_mtx");
    EXPECT_EQ(boxes.Texts(), QStringList{Text(kz::text::ConfirmMaster)});
    EXPECT_EQ(boxes.Requests()[0].buttons, kz::MsgButtons::YesNo);
    ASSERT_EQ(LogLines().size(), 2);
    EXPECT_TRUE(LogLines()[1].contains(Text(kz::text::MtxHint)));
    boxes.QueueAnswer(kz::MsgAnswer::Yes);
    QString dialogCaption;
    WhenWindowShows("text_output", [&](QWidget* w) {
        dialogCaption = w->windowTitle();
        QTest::keyClick(w, Qt::Key_Escape);  // closes at once, even during the run
    });
    ClickButton(frame->GetHWND(), "btn_mtx");
    EXPECT_EQ(boxes.Count(), 2);
    EXPECT_EQ(dialogCaption, "MTX解压");
}

TEST_F(MainFrameActions, MenuItemsPostTheirMessages)
{
    StartConnected();
    ClickButton(frame->GetHWND(), "menubtn");
    QPointer<QWidget> menu;
    ASSERT_TRUE(WaitFor([&] {
        auto* item = frame->GetHWND()->findChild<QWidget*>("menu_about");
        if (item && item->window()->isVisible())
            menu = item->window();
        return menu != nullptr;
    }));
    EXPECT_NE(menu, frame->GetHWND());
    auto* label = menu->findChild<QLabel*>("text_about");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), Text("about"));
    QString openedTitle;
    TEST_MODAL({
        openedTitle = modal->windowTitle();
        ClickButton(modal, QStringLiteral("btn_ok"));
    });
    ClickButton(menu, "menu_about");
    ASSERT_TRUE(WaitFor([&] { return !openedTitle.isEmpty() && QApplication::activeModalWidget() == nullptr; }));
    EXPECT_EQ(openedTitle, QStringLiteral("关于"));
    EXPECT_TRUE(WaitFor([&] { return !menu || !menu->isVisible(); }));
}

TEST_F(MainFrameActions, LogRowsFromWorkersKeepCallOrderAndShowTheNewest)
{
    Start(kNoDevice);
    std::thread worker([&] {
        for (int i = 0; i < 200; ++i)
            frame->WriteLog(kz::LOG_TIP, QString::number(i));
    });
    worker.join();
    frame->WriteLog(kz::LOG_TIP, "last");  // GUI thread, after the worker's rows
    ASSERT_TRUE(WaitFor([&] { return LogLines().size() == 201; }));
    const QStringList lines = LogLines();
    for (int i = 0; i < 200; ++i)
        ASSERT_TRUE(lines[i].contains("> " + QString::number(i) + "</c>")) << i;
    EXPECT_TRUE(lines[200].contains("> last</c>"));
    auto* view = frame->FindControl<QListView>("list_log");
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->model()->rowCount(), 201);
    ProcessEventsFor(50);
    const QRect newest = view->visualRect(view->model()->index(200, 0));
    EXPECT_TRUE(view->viewport()->rect().intersects(newest));
    EXPECT_FALSE(view->viewport()->rect().intersects(view->visualRect(view->model()->index(0, 0))));
}

TEST_F(MainFrameActions, HelpPanelAndCaptionsFollowTheLanguage)
{
    Start(kNoDevice);
    EXPECT_EQ(frame->m_strLanguage, "English");
    auto* info1 = frame->FindControl<QLabel>("text_info1");
    ASSERT_NE(info1, nullptr);
    EXPECT_TRUE(info1->text().contains("How can I know to use which button"));
    EXPECT_TRUE(frame->FindControl("container_info")->property("kzHelpImage").toString().endsWith(
        "/skin/eMMC_info_en.png"));
    // The panel and the log take their sizes from the skin's numbered fonts.
    const QFont english = frame->GetHWND()->property("font1").value<QFont>();
    EXPECT_EQ(frame->FindControl<QLabel>("text_info5")->font().pointSize(), english.pointSize());
    const QFont log = frame->GetHWND()->property("font2").value<QFont>();
    auto* delegate = qobject_cast<kz::ui::RichTextDelegate*>(frame->FindControl<QListView>("list_log")->itemDelegate());
    ASSERT_NE(delegate, nullptr);
    ASSERT_NE(delegate->Context().fonts.Find(2), nullptr);
    EXPECT_EQ(delegate->Context().fonts.Find(2)->pointSize, log.pointSize());
    auto* exit = frame->FindControl<QPushButton>("btn_exit");
    ASSERT_NE(exit, nullptr);
    EXPECT_EQ(exit->text(), Text("Exit"));
}
