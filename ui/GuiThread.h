#pragma once
// Handing work to the GUI thread.
//
// Widgets belong to the GUI thread.  A worker that changes a control or
// appends to a log hands a function over; the context object decides its
// lifetime: when the context is destroyed before the function runs (a dialog
// closed and released while its worker still reports), the call is dropped.

#include <QObject>
#include <QPointer>
#include <functional>

#include "ui/ThreadStarter.h"

namespace kz::ui {

bool IsGuiThread();

// Queued, in call order, on the GUI thread.  context null: the application.
// The raw-pointer form needs the context alive at the time of the call (the
// caller owns it or runs on the GUI thread); a worker that may outlive its
// window passes a QPointer, which is checked on the GUI thread.
// While RunBlockingKeepingPaint() waits, these calls are held back and run
// in order right after it, so window code never re-enters in the middle of a
// blocking command.
void RunOnGui(QObject* context, std::function<void()> fn);

template <class T>
void RunOnGui(const QPointer<T>& context, std::function<void()> fn)
{
    RunOnGui(nullptr, [context, fn = std::move(fn)] {
        if (context)
            fn();
    });
}

// Runs fn on the GUI thread and waits for it; inline when already there.
// Returns false when fn did not run (context gone, no application).  Not
// held back by RunBlockingKeepingPaint(): a message box from a worker shows
// at once.
bool RunOnGuiBlocking(QObject* context, std::function<void()> fn);

template <class T>
bool RunOnGuiBlocking(const QPointer<T>& context, std::function<void()> fn)
{
    bool ran = false;
    RunOnGuiBlocking(nullptr, [&] {
        if (context) {
            fn();
            ran = true;
        }
    });
    return ran;
}

// For a short device command run on behalf of the GUI: runs fn on a helper
// thread while the GUI thread waits in a local event loop that excludes user
// input.  The windows keep painting (no blank or "not responding" window) but
// take no clicks or keys, as if the GUI thread ran fn itself.  Timers and
// blocking calls from workers (message boxes) still run; RunOnGui() calls and
// posted window messages wait until fn has returned.  An exception thrown by
// fn is rethrown here.  Called off the GUI thread, fn simply runs inline.
// Returns false when no helper thread could be started: fn has not run, and
// the hand-overs held meanwhile are released again.
bool RunBlockingKeepingPaint(const std::function<void()>& fn, const ThreadStarter& start = {});

}  // namespace kz::ui
