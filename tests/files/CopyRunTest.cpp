// The copy worker and its progress poller against a scripted box.
#include <gtest/gtest.h>

#include <QStringList>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

#include "files/core/Commands.h"
#include "files/core/CopyRun.h"

using namespace kz::files;

namespace {

const QString kSource = QStringLiteral("/mnt/udisk/'a b'");
const QString kTarget = QStringLiteral("/mnt/sdcard/'c'");

// The box lists a file by the path it was given.
QString Ls(qint64 size, const char* path)
{
    return QStringLiteral("-rw-rw-r-- root     root     %1 2024-05-01 09:30 %2\r\r\n").arg(size, 8).arg(QLatin1String(path));
}

// Records what a copy made visible, in order, from any thread.
class RecordingSink : public ICopySink {
public:
    void CopyStarted() override { Add(QStringLiteral("started")); }
    void Progress(int percent) override { Add(QStringLiteral("progress %1").arg(percent)); }
    void CopyEnded() override { Add(QStringLiteral("ended")); }
    void Report(bool success, const QString& output) override
    {
        Add(QStringLiteral("report %1 %2").arg(success ? "ok" : "failed", output.trimmed()));
    }
    void ProgressCleared() override { Add(QStringLiteral("cleared")); }

    QStringList Events()
    {
        std::lock_guard lock(m_mutex);
        return m_events;
    }

private:
    void Add(const QString& e)
    {
        std::lock_guard lock(m_mutex);
        m_events << e;
    }
    std::mutex m_mutex;
    QStringList m_events;
};

// A box whose copy grows the target in steps while it runs.
class ScriptedBox {
public:
    qint64 sourceSize = 400;
    qint64 finalTargetSize = 400;  // what the target holds after the copy
    QString copyOutput;
    bool copyClientStarts = true;
    int copySteps = 4;
    int stepMs = 15;

    kz::ClientAnswer Run(const QString& command)
    {
        {
            std::lock_guard lock(m_mutex);
            m_calls << command;
        }
        if (command == CopyCommand(kSource, kTarget)) {
            if (!copyClientStarts)
                return {false, {}, QStringLiteral("CreateProcess Failed!")};
            return Started(Copy());
        }
        if (command.contains(kSource))
            return Started(Ls(sourceSize, "/mnt/udisk/a b"));
        if (command.contains(kTarget)) {
            const qint64 t = m_target.load();
            return Started(t < 0 ? QStringLiteral("/mnt/sdcard/c: No such file or directory\r\r\n")
                                 : Ls(t, "/mnt/sdcard/c"));
        }
        return Started(QStringLiteral("unexpected\r\r\n"));
    }
    QStringList Calls()
    {
        std::lock_guard lock(m_mutex);
        return m_calls;
    }
    CommandRunner Runner()
    {
        return [this](const QString& c) { return Run(c); };
    }

private:
    static kz::ClientAnswer Started(const QString& output) { return {true, output, {}}; }
    QString Copy()
    {
        for (int i = 1; i <= copySteps; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(stepMs));
            m_target = finalTargetSize * i / copySteps;
        }
        return copyOutput;
    }
    std::mutex m_mutex;
    QStringList m_calls;
    std::atomic<qint64> m_target{-1};
};

CopyJob Job(ScriptedBox& box, std::shared_ptr<RecordingSink> sink)
{
    CopyJob job;
    job.sourcePath = kSource;
    job.targetPath = kTarget;
    job.sourceName = QStringLiteral("a b");
    job.targetName = QStringLiteral("c");
    job.run = box.Runner();
    job.sink = std::move(sink);
    job.timing = CopyTiming{5, 5, 200};
    return job;
}

// Nothing about progress arrives once the copy button is back.
void ExpectProgressOnlyWhileRunning(const QStringList& events)
{
    const qsizetype ended = events.indexOf(QStringLiteral("ended"));
    ASSERT_GE(ended, 1);
    EXPECT_EQ(events.first(), "started");
    for (qsizetype i = ended; i < events.size(); ++i)
        EXPECT_FALSE(events[i].startsWith(QStringLiteral("progress"))) << qPrintable(events.join(u'|'));
    EXPECT_EQ(events.last(), "cleared");
}

}  // namespace

TEST(CopyRun, SuccessfulCopyShowsProgressAndReportsAfterVerifying)
{
    ScriptedBox box;
    auto sink = std::make_shared<RecordingSink>();
    RunCopy(Job(box, sink));
    const QStringList events = sink->Events();
    ExpectProgressOnlyWhileRunning(events);
    EXPECT_TRUE(events.contains(QStringLiteral("progress 100"))) << qPrintable(events.join(u'|'));
    EXPECT_EQ(events[events.size() - 2], "report ok ");
    const QStringList calls = box.Calls();
    EXPECT_EQ(calls.count(CopyCommand(kSource, kTarget)), 1);
    EXPECT_EQ(calls.mid(calls.size() - 2), (QStringList{VerifyProbeCommand(kSource), VerifyProbeCommand(kTarget)}));
}

TEST(CopyRun, InputOutputErrorFailsWithoutVerifying)
{
    ScriptedBox box;
    box.finalTargetSize = 100;
    box.copyOutput = QStringLiteral("cp: write error: Input/output error\r\r\n");
    auto sink = std::make_shared<RecordingSink>();
    RunCopy(Job(box, sink));
    const QStringList events = sink->Events();
    ExpectProgressOnlyWhileRunning(events);
    EXPECT_EQ(events[events.size() - 2], "report failed cp: write error: Input/output error");
    EXPECT_FALSE(box.Calls().contains(VerifyProbeCommand(kSource)));
}

TEST(CopyRun, SizesThatDifferAfterTheCopyFail)
{
    ScriptedBox box;
    box.finalTargetSize = 300;  // the box stopped early and said nothing
    auto sink = std::make_shared<RecordingSink>();
    RunCopy(Job(box, sink));
    const QStringList events = sink->Events();
    ExpectProgressOnlyWhileRunning(events);
    // cp said nothing: the two listings that differ are the box's words.
    EXPECT_EQ(events[events.size() - 2],
              QStringLiteral("report failed ") + (Ls(400, "/mnt/udisk/a b") + Ls(300, "/mnt/sdcard/c")).trimmed());
    EXPECT_FALSE(events.contains(QStringLiteral("progress 100")));
}

TEST(CopyRun, EmptySourceEndsThePollerAtItsFirstPoll)
{
    ScriptedBox box;
    box.sourceSize = 0;
    box.finalTargetSize = 0;
    box.copySteps = 1;
    box.stepMs = 100;  // the target does not exist yet at the first poll
    auto sink = std::make_shared<RecordingSink>();
    RunCopy(Job(box, sink));
    const QStringList events = sink->Events();
    EXPECT_EQ(events.count(QStringLiteral("progress 0")), 1) << qPrintable(events.join(u'|'));
    EXPECT_EQ(box.Calls().count(ProbeCommand(kTarget)), 1);
    EXPECT_EQ(events[events.size() - 2], "report ok ");
}

TEST(CopyRun, DetachedWorkerOutlivesItsStarter)
{
    auto box = std::make_shared<ScriptedBox>();
    auto sink = std::make_shared<RecordingSink>();
    StartCopyWorker(Job(*box, sink));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!sink->Events().contains(QStringLiteral("cleared")) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_TRUE(sink->Events().contains(QStringLiteral("report ok ")));
    // Let the worker drop its copy of the job before the box goes.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

TEST(CopyRun, ClientThatDidNotStartIsAFailure)
{
    ScriptedBox box;
    box.copyClientStarts = false;
    auto sink = std::make_shared<RecordingSink>();
    RunCopy(Job(box, sink));
    const QStringList events = sink->Events();
    ExpectProgressOnlyWhileRunning(events);
    EXPECT_EQ(events[events.size() - 2], "report failed CreateProcess Failed!");
}

// No thread for the worker: the copy button comes back and the failure is
// reported at once, nothing is run.
TEST(CopyRun, WorkerThatCannotStartGivesTheButtonBackAndFails)
{
    ScriptedBox box;
    auto sink = std::make_shared<RecordingSink>();
    const auto noThread = [](std::function<void()>) -> std::thread {
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    };
    EXPECT_FALSE(StartCopyWorker(Job(box, sink), noThread));
    const QStringList events = sink->Events();
    ASSERT_EQ(events.size(), 3) << qPrintable(events.join(u'|'));
    EXPECT_EQ(events[0], "ended");
    EXPECT_TRUE(events[1].startsWith(QStringLiteral("report failed"))) << qPrintable(events[1]);
    EXPECT_EQ(events[2], "cleared");
    EXPECT_TRUE(box.Calls().isEmpty());
}
