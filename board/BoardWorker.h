#pragma once
// The scheme every board transfer follows: the click validates and disables
// its button, a detached worker runs one command line (or a job body of
// several) and judges the answer, shows the result in a message box and
// waits for it, and only then gives the button back.  Control changes go
// to the GUI thread and are dropped once the dialog is gone.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <array>
#include <atomic>
#include <functional>
#include <memory>

#include "app/OutcomeLog.h"
#include "link/ChipInfo.h"
#include "ui/ThreadStarter.h"

namespace kz::board {

// What workers read while they run.  Owned jointly by the dialog and its
// workers, so a worker that outlives the dialog still reads valid memory.
struct BoardShared {
    std::atomic<int> boot1Source{0};
    std::atomic<int> boot2Source{0};
    std::array<std::atomic<int>, kMaxPartitionRows> userRowSource{};
    std::atomic<int> running{0};
    // Set and run on the GUI thread only: what is to happen once the last
    // worker has ended (the closed dialog's release).
    std::function<void()> whenIdle;
};

// Runs fn on the GUI thread once no worker runs: now when none does, else
// right after the last one's end.  Called on the GUI thread.
void CallWhenIdle(std::shared_ptr<BoardShared> shared, std::function<void()> fn);

struct WorkerJob {
    // Built on the worker when it starts, so it sees the sources of that moment.
    std::function<QString()> command;
    // When set, runs in place of `command` and decides the outcome itself
    // (true: success): a job of several client runs, such as a boot write
    // and the read-back that proves it.
    std::function<bool()> body;
    // The outcome's record line, written before the box (a body writes its
    // own; this one then only for a body that could not start at all).
    kz::OutcomeLog log;
    QString operation;
    const char* okKey = "";  // the English texts of okText and failText
    const char* failKey = "";
    QString caption;  // localised "Prompt"
    QString okText;   // localised message texts
    QString failText;
    // Run on the GUI thread with the outcome and its message text: the first
    // before the message box shows (waited for), the second once the
    // operator has dismissed it.  Neither runs when the dialog is gone.
    std::function<void(bool ok, const QString& message)> beforeBox;
    std::function<void(bool ok, const QString& message)> afterBox;
};

// Starts the job on a detached thread.  dialog: the context whose going
// away drops the GUI-thread steps; owner: the window owning the message box.
// Called on the GUI thread.  When no thread can be started the job ends at
// once as a failure: its message box shows the failure text and its
// afterBox gives the button back, as after a failed run.
void StartBoardWorker(std::shared_ptr<BoardShared> shared, QPointer<QObject> dialog, QPointer<QObject> owner,
                      WorkerJob job, const kz::ui::ThreadStarter& start = {});

// Runs a job on the calling thread (the worker's body).
void RunBoardJob(const QPointer<QObject>& dialog, const QPointer<QObject>& owner, const WorkerJob& job);

}  // namespace kz::board
