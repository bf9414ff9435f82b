// The transfer window on the scripted client: the box's listing fills its
// side, Upload runs a transfer with the bar showing bytes, speed and time
// left, Cancel reaches the run, the outcome is recorded before it is told,
// and an existing target is only replaced when the operator says so.

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QProgressBar>
#include <QTemporaryDir>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

#include "app/FakeBin.h"
#include "settings/Ini.h"
#include "support/GuiTest.h"
#include "support/ScriptedMessageService.h"
#include "transfer/TransferWnd.h"

namespace {

using namespace std::chrono_literals;
namespace kt = kz::transfer;

constexpr quint64 kMiB = 1024 * 1024;

// Reports half of 100 MiB after two seconds, then waits for the cancel.
kt::TransferReport HalfThenWaitForCancel(const kt::TransferJob& job, kt::ITransferSink& sink, std::atomic<int>& calls)
{
    ++calls;
    sink.Progress(50 * kMiB, 100 * kMiB, 2000);
    for (int i = 0; i < 500 && !(job.cancel && job.cancel->load()); ++i)
        std::this_thread::sleep_for(10ms);
    kt::TransferReport report;
    report.facts.direction = job.plan.direction;
    report.facts.pcPath = job.plan.PcPath();
    report.facts.boxPath = job.plan.BoxPath();
    report.facts.verdict = job.cancel && job.cancel->load() ? kt::Verdict::Cancelled : kt::Verdict::ClientFailed;
    return report;
}

TEST(TransferWnd, UploadShowsRateCancelsAndAsksBeforeReplacing)
{
    kz::test::FakeBin bin;
    bin.Answer(QStringLiteral("shell ls -l /mnt/sdcard"),
               "-rw-rw-r-- root     root            5 2024-05-01 09:30 old.bin\r\r\n");
    bin.Answer(QStringLiteral("devices"), kz::test::kOneBox);
    QTemporaryDir pc, state;
    for (const char* name : {"new.bin", "old.bin"}) {
        QFile file(pc.filePath(QLatin1String(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    kz::test::ScriptedMessageService boxes;
    CIni ini;
    ini.SetFileName(bin.Dir() + QStringLiteral("/Language_EN.ini"));
    std::atomic<int> calls{0};
    CTransferWnd::Seams seams;
    seams.transfer = [&calls](const kt::TransferJob& job, kt::ITransferSink& sink) {
        return HalfThenWaitForCancel(job, sink, calls);
    };
    seams.settingsFile = state.filePath(QStringLiteral("transfer.ini"));
    seams.recordFolder = state.filePath(QStringLiteral("log"));
    CTransferWnd window(ini, QStringLiteral("English"), seams);
    window.Create(nullptr, QStringLiteral("FTPClient"));
    window.SetPcFolder(pc.path());
    window.ShowWindow();
    auto* boxList = window.FindControl<QListWidget>(QStringLiteral("list_box"));
    auto* pcList = window.FindControl<QListWidget>(QStringLiteral("list_pc"));
    auto* bar = window.FindControl<QProgressBar>(QStringLiteral("progress_transfer"));
    ASSERT_TRUE(kz::test::WaitFor([&] { return boxList->count() == 1; }));
    ASSERT_EQ(pcList->count(), 2);

    pcList->setCurrentRow(0);  // new.bin
    kz::test::ClickButton(window.GetHWND(), QStringLiteral("btn_upload"));
    ASSERT_TRUE(kz::test::WaitFor([&] { return bar->format().contains(QLatin1String("MB/s")); }));
    EXPECT_EQ(bar->format(), QStringLiteral("50%  25.0 MB/s  Time left 0:02  (50.0 / 100.0 MB)"));
    EXPECT_FALSE(window.FindControl(QStringLiteral("btn_download"))->isEnabled());
    kz::test::ClickButton(window.GetHWND(), QStringLiteral("btn_cancel"));
    ASSERT_TRUE(boxes.WaitForCount(1));
    EXPECT_EQ(boxes.Texts(), QStringList{QStringLiteral("Transfer cancelled!")});
    const QStringList days = QDir(seams.recordFolder).entryList(QDir::Files);
    ASSERT_EQ(days.size(), 1);
    QFile record(seams.recordFolder + u'/' + days.first());
    ASSERT_TRUE(record.open(QIODevice::ReadOnly));
    const QByteArray line = record.readAll();
    EXPECT_TRUE(line.contains("\"operation\":\"push\"") && line.contains("\"verdict\":\"cancelled\"") &&
                line.contains("\"serial\":\"emulator-5554\""))
        << line.data();
    ASSERT_TRUE(kz::test::WaitFor([&] { return window.FindControl(QStringLiteral("btn_upload"))->isEnabled(); }));

    // old.bin is on the box: the operator is asked, says No, nothing runs.
    pcList->setCurrentRow(1);
    kz::test::ClickButton(window.GetHWND(), QStringLiteral("btn_upload"));
    EXPECT_EQ(boxes.Texts().last(), QStringLiteral("The target file exists. Replace it?"));
    EXPECT_EQ(calls.load(), 1);
    window.Close();
}

}  // namespace
