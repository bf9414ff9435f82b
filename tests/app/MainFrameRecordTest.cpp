// The operator's record: the log's entries as JSON lines in the data folder,
// a folder that cannot be written, and the menu item that opens it.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>
#include <QUrl>
#include <thread>
#include <unistd.h>

#include "support/MainFrameFixture.h"
#include "link/DeviceActions.h"
#include "link/RecordLine.h"
#include "link/Texts.h"
#include "link/UsbBroadcast.h"
#include "support/FakeOpener.h"

using namespace kz::test;

namespace {

class MainFrameRecord : public MainFrameFixture {
protected:
    QString Folder() const { return RecordFolder(); }
    QString TodaysFile() const { return TodaysRecordFile(); }
};

int RowsContaining(const QStringList& rows, const QString& text)
{
    return int(std::count_if(rows.begin(), rows.end(), [&](const QString& row) { return row.contains(text); }));
}

}  // namespace

TEST_F(MainFrameRecord, EveryEntryIsAJsonLineWithItsKeyShownTextOperationAndBox)
{
    qputenv("LC_ALL", "zh_CN.UTF-8");  // so that the key and the shown text differ
    StartConnected();
    bin.Answer("shell reboot", "error: device not found\r\n");
    boxes.SetWitness([this] { return QString::number(RecordLines().size()); });
    ClickButton(frame->GetHWND(), "btn_reboot");
    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_EQ(boxes.Requests()[0].witnessed, "3") << "the reboot's failure and tip were recorded after the box";
    std::thread([&] { frame->WriteLog(kz::LOG_SUCCESS, "a \"quoted\"\nline", {"Worker key", "copy"}); }).join();
    ASSERT_TRUE(WaitFor([&] { return LogLines().size() == 4; }));

    struct Expected {
        const char* kind;
        QString key;
        QString text;
        const char* operation;
    };
    const Expected expected[] = {
        {"success", kz::text::MountOk, Text(kz::text::MountOk), "mount"},
        {"failure", kz::text::RebootFailed, Text(kz::text::RebootFailed), "reboot"},
        {"tip", "", "error: device not found\r\n", "reboot"},
        {"success", "Worker key", "a \"quoted\"\nline", "copy"},
    };
    ASSERT_NE(Text(kz::text::MountOk), QString::fromUtf8(kz::text::MountOk));
    const QList<QJsonObject> lines = RecordLines();
    ASSERT_EQ(lines.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        const QJsonObject& line = lines[qsizetype(i)];
        EXPECT_EQ(line["kind"].toString(), expected[i].kind) << i;
        EXPECT_EQ(line["key"].toString(), expected[i].key) << i;
        EXPECT_EQ(line["text"].toString(), expected[i].text) << i;
        EXPECT_EQ(line["operation"].toString(), expected[i].operation) << i;
        EXPECT_EQ(line["serial"].toString(), "emulator-5554") << i;
        const QDateTime time = QDateTime::fromString(line["time"].toString(), Qt::ISODateWithMs);
        EXPECT_TRUE(time.isValid()) << i;
        EXPECT_LT(qAbs(time.secsTo(QDateTime::currentDateTime())), 60) << i;
    }
}

TEST_F(MainFrameRecord, AFolderThatCannotBeWrittenIsSaidOnceAndTheLogGoesOn)
{
    // A file where the folder should be stops anyone, the superuser too.
    QDir().mkpath(dataHome.path() + "/korvald-emmc");
    QFile blocker(Folder());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    StartConnected();  // the mount's entry meets the file first
    bin.Answer("shell reboot", "");
    ClickButton(frame->GetHWND(), "btn_reboot");
    const QStringList rows = LogLines();
    ASSERT_EQ(rows.size(), 4);
    EXPECT_TRUE(rows[0].contains(Text(kz::text::MountOk)));
    EXPECT_TRUE(rows[1].startsWith("<i log_failed.png>") && rows[1].contains(Text(kz::text::RecordUnwritable)));
    EXPECT_TRUE(rows[2].contains(TodaysFile())) << qPrintable(rows[2]);
    EXPECT_TRUE(rows[3].contains(Text(kz::text::RebootOk)));
    EXPECT_EQ(RowsContaining(rows, Text(kz::text::RecordUnwritable)), 1);
}

TEST_F(MainFrameRecord, AReadOnlyFolderIsSaidOnce)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "the superuser writes into read-only folders";
    ASSERT_TRUE(QDir().mkpath(Folder()));
    QFile::setPermissions(Folder(), QFile::ReadOwner | QFile::ExeOwner);
    StartConnected();
    ClickButton(frame->GetHWND(), "btn_reboot");
    ClickButton(frame->GetHWND(), "btn_reboot");
    EXPECT_EQ(RowsContaining(LogLines(), Text(kz::text::RecordUnwritable)), 1);
    EXPECT_EQ(RowsContaining(LogLines(), Text(kz::text::RebootOk)), 2);
    QFile::setPermissions(Folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST_F(MainFrameRecord, MenuItemOpensTheLogFolder)
{
    FakeOpener opener;
    StartConnected();
    ClickButton(frame->GetHWND(), "menubtn");
    QWidget* item = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        item = frame->GetHWND()->findChild<QWidget*>("menu_logfolder");
        return item && item->window()->isVisible();
    }));
    auto* label = item->window()->findChild<QLabel*>("text_logfolder");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), Text(kz::text::LogFolder));
    ClickButton(item->window(), "menu_logfolder");
    ASSERT_TRUE(WaitFor([&] { return !opener.Opened().isEmpty(); }));
    EXPECT_EQ(opener.Opened(), QUrl::fromLocalFile(Folder()).toString() + u'\n');
    EXPECT_TRUE(QFileInfo(Folder()).isDir());
}

TEST_F(MainFrameRecord, AChipReadTagsTheEntriesAfterItUntilTheBoxIsGone)
{
    StartConnected();
    bin.Answer(QString::fromUtf8(kz::kChipInfoCommand), "Manufacturer ID: 0x45\r\r\nCard/BGA: BGA\r\r\n"
                                                        "Product name: SDINBDG4\r\r\nProduct revision: 0x8\r\r\n");
    WhenWindowShows("edit_emmcinfo", [](QWidget* w) { ClickButton(w, "closebtn"); });
    ClickButton(frame->GetHWND(), "btn_readInfo");
    bin.Answer("shell reboot", "");
    ClickButton(frame->GetHWND(), "btn_reboot");
    bin.Answer(QString::fromUtf8(kz::kDevicesCommand), kNoDevice);
    frame->OnDeviceChange(kz::DBT_DEVICEREMOVECOMPLETE,
                          R"(\\?\USB#VID_18D1&PID_0D02#0123456789#{a5dcbf10-6530-11d2-901f-00c04fb951ed})");
    ASSERT_TRUE(WaitFor([&] { return RowsContaining(LogLines(), Text(kz::text::DeviceSetAside)) == 1; }));
    frame->WriteLog(kz::LOG_TIP, "after");

    const QList<QJsonObject> lines = RecordLines();
    ASSERT_EQ(lines.size(), 5);
    const QJsonObject chip = lines[1]["chip"].toObject();
    EXPECT_EQ(lines[1]["kind"].toString(), "chip");
    EXPECT_EQ(chip["manufacturer"].toString(), "SanDisk");
    EXPECT_EQ(chip["product"].toString(), "SDINBDG4");
    // mount, chip, reboot, set aside, after: whose chip and box each names
    const bool chipped[] = {false, true, true, true, false};
    const bool boxed[] = {true, true, true, true, false};
    for (qsizetype i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i]["chip"].toObject(), chipped[i] ? chip : QJsonObject()) << i;
        EXPECT_EQ(lines[i].contains("serial"), boxed[i]) << i;
    }
    EXPECT_EQ(lines[2]["key"].toString(), kz::text::RebootOk);
    EXPECT_EQ(lines[3]["key"].toString(), kz::text::DeviceSetAside);
}
