// The copy worker and its progress poller against a scripted box.
#include <gtest/gtest.h>

#include <QJsonObject>
#include <QStringList>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

#include "files/core/Commands.h"
#include "files/core/CopyRun.h"
#include "support/ListingLine.h"

using namespace kz::files;

namespace {

const QString kSource = QStringLiteral("/mnt/udisk/'a b'");
const QString kTarget = QStringLiteral("/mnt/sdcard/'c'");

const QString kSum = QStringLiteral("0123456789abcdef0123456789abcdef");

// md5sum's answer as it crosses adb.
QString SumLine(const QString& sum, const char* path)
{
    return sum + QStringLiteral("  ") + QLatin1String(path) + QStringLiteral("\r\r\n");
}

// Records what a copy made visible, in order, from any thread.
class RecordingSink : public ICopySink {
public:
    void CopyStarted() override { Add(QStringLiteral("started")); }
    void Progress(int percent) override { Add(QStringLiteral("progress %1").arg(percent)); }
    void Verifying() override { Add(QStringLiteral("verifying")); }
    void CopyEnded() override { Add(QStringLiteral("ended")); }
    void Report(const CopyReport& report) override
    {
        Add(QStringLiteral("report %1 %2").arg(report.success ? "ok" : "failed", report.told.trimmed()));
        std::lock_guard lock(m_mutex);
        m_facts = report.facts;
    }
    void ProgressCleared() override { Add(QStringLiteral("cleared")); }

    QStringList Events()
    {
        std::lock_guard lock(m_mutex);
        return m_events;
    }
    CopyFacts Facts()
    {
        std::lock_guard lock(m_mutex);
        return m_facts;
    }

private:
    void Add(const QString& e)
    {
        std::lock_guard lock(m_mutex);
        m_events << e;
    }
    std::mutex m_mutex;
    QStringList m_events;
    CopyFacts m_facts;
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
    kz::ClientAnswer sourceSum{true, SumLine(kSum, "/mnt/udisk/a b"), {}};
    kz::ClientAnswer targetSum{true, SumLine(kSum, "/mnt/sdcard/c"), {}};

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
        if (command == ChecksumCommand(kSource))
            return sourceSum;
        if (command == ChecksumCommand(kTarget))
            return targetSum;
        if (command.contains(kSource))
            return Started(kz::test::LsListed(sourceSize, QStringLiteral("/mnt/udisk/a b")));
        if (command.contains(kTarget)) {
            const qint64 t = m_target.load();
            return Started(t < 0 ? QStringLiteral("/mnt/sdcard/c: No such file or directory\r\r\n")
                                 : kz::test::LsListed(t, QStringLiteral("/mnt/sdcard/c")));
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
    // The bar is full before it says the sums are being compared.
    const qsizetype full = events.indexOf(QStringLiteral("progress 100"));
    EXPECT_GE(full, 1) << qPrintable(events.join(u'|'));
    EXPECT_EQ(events.indexOf(QStringLiteral("verifying")), events.size() - 4) << qPrintable(events.join(u'|'));
    EXPECT_LT(full, events.size() - 4);
    EXPECT_EQ(events[events.size() - 2], "report ok ");
    const QStringList calls = box.Calls();
    EXPECT_EQ(calls.count(CopyCommand(kSource, kTarget)), 1);
    EXPECT_EQ(calls.mid(calls.size() - 4), (QStringList{VerifyProbeCommand(kSource), VerifyProbeCommand(kTarget),
                                                        ChecksumCommand(kSource), ChecksumCommand(kTarget)}));
    const QJsonObject record = CopyFactsJson(sink->Facts());
    EXPECT_EQ(record.value(u"source").toString(), "a b");
    EXPECT_EQ(record.value(u"target").toString(), "c");
    EXPECT_EQ(record.value(u"listedBytes").toInteger(), 400);
    EXPECT_EQ(record.value(u"sourceMd5").toString(), kSum);
    EXPECT_EQ(record.value(u"targetMd5").toString(), kSum);
    EXPECT_GE(record.value(u"copyMs").toInteger(-1), box.copySteps * box.stepMs);
    EXPECT_GE(record.value(u"verifyMs").toInteger(-1), 0);
}

// Equal sizes are not enough: only two sums that agree make a success, and a
// failure's tip is what the box said to both md5sum commands.
TEST(CopyRun, ChecksumsDecideACopyWhoseSizesAgree)
{
    const QString other = QStringLiteral("fedcba9876543210fedcba9876543210");
    const QString missing = QStringLiteral("md5sum: can't open '/mnt/sdcard/c': No such file or directory\r\r\n");
    struct Case {
        const char* name;
        kz::ClientAnswer target;
        bool success;
        QString targetMd5;
        const char* verify = "md5";
    };
    const Case cases[] = {
        {"equal", {true, SumLine(kSum, "/mnt/sdcard/c"), {}}, true, kSum},
        {"different", {true, SumLine(other, "/mnt/sdcard/c"), {}}, false, other},
        {"missing", {true, missing, {}}, false, {}},
        {"nothing printed", {true, QStringLiteral("\r\r\n"), {}}, false, {}},
        {"garbage", {true, QStringLiteral("Segmentation fault\r\r\n"), {}}, false, {}},
        {"two lines", {true, SumLine(kSum, "/mnt/sdcard/c") + SumLine(kSum, "/mnt/sdcard/c"), {}}, false, {}},
        {"client not started", {false, {}, QStringLiteral("CreateProcess Failed!")}, false, {}},
        // A box that cannot sum: the sizes, which agreed, decide.
        {"no md5sum applet", {true, QStringLiteral("md5sum: applet not found\r\r\n"), {}}, true, {}, "size"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedBox box;
        box.targetSum = c.target;
        auto sink = std::make_shared<RecordingSink>();
        RunCopy(Job(box, sink));
        const QStringList events = sink->Events();
        EXPECT_TRUE(events.contains(QStringLiteral("verifying"))) << qPrintable(events.join(u'|'));
        const QString told = c.success ? QString() : (box.sourceSum.output + (c.target.started ? c.target.output : c.target.failure)).trimmed();
        EXPECT_EQ(events.value(events.size() - 2),
                  QStringLiteral("report %1 %2").arg(c.success ? "ok" : "failed", told));
        EXPECT_EQ(sink->Facts().sourceMd5, c.verify[0] == 's' ? QString() : kSum);
        EXPECT_EQ(sink->Facts().targetMd5, c.targetMd5);
        EXPECT_EQ(CopyFactsJson(sink->Facts()).value(u"verify").toString(), QLatin1String(c.verify));
    }
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
              QStringLiteral("report failed ") + (kz::test::LsListed(400, QStringLiteral("/mnt/udisk/a b"))
                                                       + kz::test::LsListed(300, QStringLiteral("/mnt/sdcard/c"))).trimmed());
    EXPECT_FALSE(events.contains(QStringLiteral("progress 100")));
    // Not summed: no md5sum ran, no sums in the record.
    EXPECT_FALSE(events.contains(QStringLiteral("verifying")));
    EXPECT_EQ(box.Calls().filter(QStringLiteral("md5sum")), QStringList());
    const QJsonObject record = CopyFactsJson(sink->Facts());
    EXPECT_EQ(record.value(u"listedBytes").toInteger(), 400);
    EXPECT_TRUE(record.contains(u"copyMs"));
    EXPECT_FALSE(record.contains(u"sourceMd5") || record.contains(u"verifyMs"));
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
