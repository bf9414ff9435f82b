#include "board/BoardWorker.h"

#include <system_error>
#include <thread>

#include "board/core/BoardCommands.h"
#include "device/AdbRunner.h"
#include "platform/MessageBox.h"
#include "ui/GuiThread.h"

namespace kz::board {

namespace {

void ReportOutcome(const QPointer<QObject>& dialog, const QPointer<QObject>& owner, const WorkerJob& job, bool ok)
{
    const QString message = ok ? job.okText : job.failText;
    if (job.beforeBox)
        kz::ui::RunOnGuiBlocking(dialog, [&] { job.beforeBox(ok, message); });
    kz::ShowMessageBox(kz::MessageRequest{owner, message, job.caption});
    if (job.afterBox)
        kz::ui::RunOnGui(dialog, [after = job.afterBox, ok, message] { after(ok, message); });
}

// A job run as one command records its outcome here; a body records its own.
void RecordOutcome(const WorkerJob& job, bool ok, const QString& boxWords)
{
    if (!job.operation.isEmpty())
        job.log.RecordOnly(kz::VerdictNotes(ok, ok ? job.okText : job.failText, ok ? job.okKey : job.failKey,
                                            job.operation, boxWords));
}

void RunIfIdle(const std::shared_ptr<BoardShared>& shared)
{
    if (shared->running != 0 || !shared->whenIdle)
        return;
    const std::function<void()> fn = std::move(shared->whenIdle);
    shared->whenIdle = nullptr;
    fn();
}

// The last worker's end hands the waiting step to the GUI thread, behind the
// worker's own last GUI steps.
void EndWorker(const std::shared_ptr<BoardShared>& shared)
{
    if (--shared->running == 0)
        kz::ui::RunOnGui(nullptr, [shared] { RunIfIdle(shared); });
}

}  // namespace

void CallWhenIdle(std::shared_ptr<BoardShared> shared, std::function<void()> fn)
{
    shared->whenIdle = std::move(fn);
    RunIfIdle(shared);
}

void RunBoardJob(const QPointer<QObject>& dialog, const QPointer<QObject>& owner, const WorkerJob& job)
{
    if (job.body) {
        ReportOutcome(dialog, owner, job, job.body());
        return;
    }
    // A client that did not start transferred nothing.
    const ClientAnswer answer = RunAdbClient(job.command());
    const bool ok = answer.started && IsTransferSuccess(answer.output);
    RecordOutcome(job, ok, answer.started ? answer.output : answer.failure);
    ReportOutcome(dialog, owner, job, ok);
}

void StartBoardWorker(std::shared_ptr<BoardShared> shared, QPointer<QObject> dialog, QPointer<QObject> owner,
                      WorkerJob job, const kz::ui::ThreadStarter& start)
{
    ++shared->running;
    try {
        kz::ui::StartThread(start, [shared, dialog, owner, job] {
            RunBoardJob(dialog, owner, job);
            EndWorker(shared);
        }).detach();
    } catch (const std::system_error& error) {
        RecordOutcome(job, false, QString::fromLocal8Bit(error.what()));
        ReportOutcome(dialog, owner, job, false);
        EndWorker(shared);
    }
}

}  // namespace kz::board
