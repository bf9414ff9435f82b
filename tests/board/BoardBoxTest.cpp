// The board dialog against the simulated box, through Debian's adb and our
// client adapter: a boot image written from the stick comes back unchanged
// and its sums are recorded, a write the chip spoils is caught, and a
// changed boot setting shows in the next chip report.
#include <QComboBox>
#include <QCryptographicHash>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "BoxFixture.h"
#include "app/BoxWindow.h"
#include "app/MainFrame.h"
#include "link/DeviceActions.h"
#include "link/RecordLine.h"
#include "link/Texts.h"
#include "board/MotherBoard.h"
#include "device/AdbRunner.h"
#include "platform/ProgramDir.h"
#include "support/GuiTest.h"
#include "support/ScriptedMessageService.h"
#include <QAbstractButton>
#include <QAbstractItemView>

using namespace kz::test;

namespace {

QString ChipReport()
{
    QString output;
    RunAdbCommand(QString::fromUtf8(kz::kChipInfoCommand), output);
    return output;
}

QString HostMd5(const QByteArray& bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex());
}

class BoardBox : public ::testing::Test {
protected:
    void SetUp() override
    {
        qputenv("LC_ALL", "en_US.UTF-8");
        qputenv("XDG_DATA_HOME", dataHome.path().toUtf8());
        kz::SetProgramDirectoryForTests(QStringLiteral(KZ_BIN_DIR));
        std::string error;
        ASSERT_TRUE(box.Start(error)) << error;
        ASSERT_NO_FATAL_FAILURE(OpenWindowOnBox(frame, box, true));
        board = std::make_unique<CMotherBoard>(frame.get());
        board->SetPickers({}, [this](CMotherBoard& b) { b.m_strPickedName = typedName; });
        ASSERT_TRUE(board->Create(frame->GetHWND(), QStringLiteral("母片制作")));
        board->InitControls();
        FillFromChipInfo(*board, ChipReport());
        board->ShowWindow();
        ProcessEventsFor(50);
    }
    void TearDown() override
    {
        WaitFor([&] { return !board || board->RunningWorkers() == 0; }, 10000);
        board.reset();
        CloseWindowAndBox(frame, box);
        kz::SetProgramDirectoryForTests(QString());
        qunsetenv("LC_ALL");
        qunsetenv("XDG_DATA_HOME");
    }
    // Clicks and waits until the transfer's message box was answered.
    void RunTransfer(const char* button)
    {
        const int before = boxes.Count();
        ClickButton(board->GetHWND(), QString::fromUtf8(button));
        ASSERT_TRUE(boxes.WaitForCount(before + 1, 20000)) << box.BoxLog();
        ASSERT_TRUE(WaitFor([&] { return board->RunningWorkers() == 0; }));
        ProcessEventsFor(20);  // the worker's log entries, posted to this thread
    }

    // The last line of today's record of `operation` (and `kind`, if given).
    QJsonObject LastRecordOf(const QString& operation, const QString& kind = {}) const
    {
        QFile file(dataHome.path() + QStringLiteral("/korvald-emmc/log/") + kz::RecordFileName(QDate::currentDate()));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << qPrintable(file.fileName());
        QJsonObject last;
        for (const QByteArray& line : file.readAll().split('\n')) {
            const QJsonObject entry = QJsonDocument::fromJson(line).object();
            if (entry[u"operation"].toString() == operation && (kind.isEmpty() || entry[u"kind"].toString() == kind))
                last = entry;
        }
        return last;
    }
    void SetStickFile(const char* name, const QByteArray& bytes)
    {
        QFile file(QString::fromStdString((box.StateDir() / "udisk" / name).string()));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    // Read-backs left on the SD card.
    QStringList ReadBacksLeft() const
    {
        return QDir(QString::fromStdString((box.StateDir() / "sdcard").string()))
            .entryList({QStringLiteral(".kz-readback*")}, QDir::Files | QDir::Hidden);
    }

    QTemporaryDir dataHome;  // the operator's record goes here
    e2e::BoxFixture box;
    ScriptedMessageService boxes;
    std::unique_ptr<CMainFrame> frame;
    std::unique_ptr<CMotherBoard> board;
    QString typedName;
};

TEST_F(BoardBox, Boot1WrittenFromTheStickReadsBackUnchangedAndBothAreRecordedWithTheirSums)
{
    QByteArray image(64 * 1024, '\0');
    for (int i = 0; i < image.size(); ++i)
        image[i] = char((i * 7 + 3) & 0xff);
    ASSERT_NO_FATAL_FAILURE(SetStickFile("boot1 new.img", image));

    EXPECT_FALSE(board->FindControl<QLineEdit>("editManufacturer")->text().isEmpty());
    board->FindControl<QLineEdit>("edit_writeboot1filename")->setText(QStringLiteral("Boot1 New.IMG"));
    RunTransfer("btn_writeboot1");
    typedName = QStringLiteral("read back.img");
    RunTransfer("btn_readboot1");
    EXPECT_EQ(boxes.Texts(), QStringList({"Write Boot1 successfully!", "Save Boot1 successfully!"}));
    EXPECT_EQ(ReadBacksLeft(), QStringList());

    QFile readBack(QString::fromStdString((box.StateDir() / "sdcard" / "read back.img").string()));
    ASSERT_TRUE(readBack.open(QIODevice::ReadOnly));
    const QByteArray saved = readBack.readAll();
    EXPECT_EQ(saved.left(image.size()), image);

    const QJsonObject write = LastRecordOf(QStringLiteral("write-boot1"));
    EXPECT_EQ(write[u"verdict"].toString(), QStringLiteral("verified"));
    EXPECT_EQ(write[u"sourceMd5"].toString(), HostMd5(image));
    EXPECT_EQ(write[u"readBackMd5"].toString(), HostMd5(image)) << "summed over the image's length only";
    EXPECT_EQ(write[u"bytes"].toInteger(), image.size());
    const QJsonObject read = LastRecordOf(QStringLiteral("read-boot1"));
    EXPECT_EQ(read[u"kind"].toString(), QStringLiteral("success"));
    EXPECT_EQ(read[u"md5"].toString(), HostMd5(saved));
    EXPECT_EQ(read[u"bytes"].toInteger(), saved.size());
}

TEST_F(BoardBox, AWriteTheChipSpoilsIsCaughtByItsReadBack)
{
    ASSERT_NO_FATAL_FAILURE(SetStickFile("boot.img", QByteArray(100000, 'k')));
    ASSERT_EQ(box.Ctl("corrupt write"), "ok");
    board->FindControl<QLineEdit>("edit_writeboot1filename")->setText(QStringLiteral("boot.img"));
    RunTransfer("btn_writeboot1");
    EXPECT_EQ(boxes.Texts(), QStringList({"Write Boot1 failed!"}));
    EXPECT_TRUE(LastRecordOf(QStringLiteral("write-boot1"), QStringLiteral("success")).isEmpty());
    const QJsonObject tip = LastRecordOf(QStringLiteral("write-boot1"), QStringLiteral("tip"));
    EXPECT_EQ(tip[u"text"].toString().count(u'\n'), 1) << "the tip holds both sums";
    const QJsonObject failure = LastRecordOf(QStringLiteral("write-boot1"), QStringLiteral("failure"));
    EXPECT_EQ(failure[u"key"].toString(), QStringLiteral("Write Boot1 failed!"));
    EXPECT_EQ(failure[u"verdict"].toString(), QStringLiteral("sum-differs"));
    EXPECT_NE(failure[u"sourceMd5"].toString(), failure[u"readBackMd5"].toString());
    EXPECT_EQ(ReadBacksLeft(), QStringList());
}

TEST_F(BoardBox, MissingImageIsReportedAsAFailedWrite)
{
    board->FindControl<QLineEdit>("edit_writeboot2filename")->setText(QStringLiteral("absent.img"));
    RunTransfer("btn_writeboot2");
    EXPECT_EQ(boxes.Texts(), QStringList({"Write Boot2 failed!"}));
}

TEST_F(BoardBox, ChangedAckShowsInTheNextChipReport)
{
    auto* ack = board->FindControl<QComboBox>("comb_ack");
    const int other = ack->currentIndex() == 0 ? 1 : 0;
    ack->setCurrentIndex(other);
    ClickButton(board->GetHWND(), QStringLiteral("btn_ack"));
    EXPECT_EQ(boxes.Texts(), QStringList({"Set successfully!"}));
    EXPECT_EQ(kz::ParseChipInfo(ChipReport()).ack, other);
}

}  // namespace
