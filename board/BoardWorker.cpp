#include "board/BoardWorker.h"

#include <thread>

#include "board/core/BoardCommands.h"
#include "device/AdbRunner.h"
#include "platform/MessageBox.h"
#include "ui/GuiThread.h"

namespace kz::board {

void RunBoardJob(const QPointer<QObject>& dialog, const QPointer<QObject>& owner, const WorkerJob& job)
{
    QString output;
    RunAdbCommand(job.command(), output);
    const bool ok = IsTransferSuccess(output);
    const QString message = ok ? job.okText : job.failText;
    if (job.beforeBox)
        kz::ui::RunOnGuiBlocking(dialog, [&] { job.beforeBox(ok, message); });
    kz::ShowMessageBox(kz::MessageRequest{owner, message, job.caption});
    if (job.afterBox)
        kz::ui::RunOnGui(dialog, [after = job.afterBox, ok, message] { after(ok, message); });
}

void StartBoardWorker(std::shared_ptr<BoardShared> shared, QPointer<QObject> dialog, QPointer<QObject> owner,
                      WorkerJob job)
{
    ++shared->running;
    std::thread([shared, dialog, owner, job = std::move(job)] {
        RunBoardJob(dialog, owner, job);
        --shared->running;
    }).detach();
}

}  // namespace kz::board
