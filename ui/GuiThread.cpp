#include "ui/GuiThread.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QPointer>
#include <QThread>
#include <deque>
#include <exception>
#include <system_error>
#include <thread>

#include "ui/HandOverMark.h"

namespace kz::ui {

namespace {

// GUI-thread state only: calls held back while a blocking command runs.
struct Gate {
    int holdDepth = 0;
    bool flushQueued = false;
    std::deque<std::pair<QPointer<QObject>, std::function<void()>>> held;
};

Gate& GuiGate()
{
    static Gate gate;
    return gate;
}

void Flush();

void QueueFlush()
{
    Gate& gate = GuiGate();
    if (gate.flushQueued || gate.holdDepth > 0)
        return;
    gate.flushQueued = true;
    QMetaObject::invokeMethod(QCoreApplication::instance(), &Flush, Qt::QueuedConnection);
}

// Runs held calls in order until a call starts another blocking command.
void Flush()
{
    Gate& gate = GuiGate();
    gate.flushQueued = false;
    while (!gate.held.empty() && gate.holdDepth == 0) {
        auto [context, fn] = std::move(gate.held.front());
        gate.held.pop_front();
        if (context)
            fn();
    }
}

// Executes a queued call on the GUI thread, or holds it back so that calls
// keep their order behind those already held.
void Deliver(QObject* context, const std::function<void()>& fn)
{
    Gate& gate = GuiGate();
    if (gate.holdDepth == 0 && gate.held.empty()) {
        fn();
        return;
    }
    gate.held.emplace_back(context, fn);
    QueueFlush();
}

}  // namespace

bool IsGuiThread()
{
    QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

void RunOnGui(QObject* context, std::function<void()> fn)
{
    QObject* target = context ? context : QCoreApplication::instance();
    if (!target)
        return;
    QMetaObject::invokeMethod(
        target,
        [target, fn = std::move(fn), mark = HandOverMark{}] {
            mark.Received();
            Deliver(target, fn);
        },
        Qt::QueuedConnection);
}

bool RunOnGuiBlocking(QObject* context, std::function<void()> fn)
{
    QObject* target = context ? context : QCoreApplication::instance();
    if (!target)
        return false;
    if (IsGuiThread()) {
        fn();
        return true;
    }
    // A context destroyed before the call runs drops the call event, which
    // releases the waiting thread; `ran` then stays false.
    bool ran = false;
    QMetaObject::invokeMethod(
        target,
        [&, mark = HandOverMark{}] {
            mark.Received();
            fn();
            ran = true;
            mark.Returned();
        },
        Qt::BlockingQueuedConnection);
    return ran;
}

bool RunBlockingKeepingPaint(const std::function<void()>& fn, const ThreadStarter& start)
{
    if (!IsGuiThread()) {
        fn();
        return true;
    }
    Gate& gate = GuiGate();
    const auto release = [&gate] {
        --gate.holdDepth;
        if (gate.holdDepth == 0 && !gate.held.empty())
            QueueFlush();
    };
    ++gate.holdDepth;
    QEventLoop loop;
    std::exception_ptr failure;
    std::thread helper;
    try {
        helper = StartThread(start, [&] {
            try {
                fn();
            } catch (...) {
                failure = std::current_exception();
            }
            QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
        });
    } catch (const std::system_error&) {
        release();  // a gate left held would hold back every hand-over for good
        return false;
    }
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    helper.join();
    release();
    if (failure)
        std::rethrow_exception(failure);
    return true;
}

}  // namespace kz::ui
