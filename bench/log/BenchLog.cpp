// bench_log: the operation log with the main window shown (offscreen
// platform), measured side by side in one run.
//  1. append: writing `large` rows through CMainFrame::WriteLog against
//     writing `small` rows, the event loop run after every row as when rows
//     arrive one by one (layout, scrolling and painting included).  Two
//     windows grow in the same loop, one row of the small log per
//     large/small rows of the large one, so that load from elsewhere hits
//     both alike.  Target for 100k against 10k: ratio <= 11.
//  2. stall: the longest time the GUI thread spends on one event while a
//     worker writes 100 rows per second to a log already holding `large`
//     rows.  Target: under 16 ms (printed as a ratio to 16 ms, target < 1).
//     Printed as wall time and as the GUI thread's own CPU time: on a busy
//     machine the wall time also holds the time other processes had the core.
// Rows cycle through the kinds a working day writes: success, failure and a
// tip carrying a box's multi-line output.
// Usage: bench_log [small] [large] [rounds]

#include "app/FakeBin.h"
#include "app/MainFrame.h"
#include "link/DeviceActions.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <time.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

double ThreadCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

struct Stall {
    double wall = 0;
    double cpu = 0;
};

// Times every event the GUI thread handles at the outermost level.
class TimedApplication : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override
    {
        if (m_depth++ > 0 || !m_recording) {
            const bool result = QApplication::notify(receiver, event);
            --m_depth;
            return result;
        }
        const auto start = Clock::now();
        const double cpuStart = ThreadCpuSeconds();
        const bool result = QApplication::notify(receiver, event);
        m_longest.cpu = std::max(m_longest.cpu, ThreadCpuSeconds() - cpuStart);
        m_longest.wall = std::max(m_longest.wall, Seconds(Clock::now() - start));
        --m_depth;
        return result;
    }

    void StartRecording()
    {
        m_longest = {};
        m_recording = true;
    }
    Stall StopRecording()
    {
        m_recording = false;
        return m_longest;
    }

private:
    int m_depth = 0;
    bool m_recording = false;
    Stall m_longest;
};

void WriteRow(CMainFrame& frame, int i)
{
    switch (i % 3) {
    case 0:
        frame.WriteLog(kz::LOG_SUCCESS, QStringLiteral("MountUdisk Successfully! %1").arg(i));
        break;
    case 1:
        frame.WriteLog(kz::LOG_FAILURE, QStringLiteral("Copy failed! %1").arg(i));
        break;
    default:
        frame.WriteLog(kz::LOG_TIP, QStringLiteral("cp: can't stat '/mnt/udisk/a %1.img': No such file\n"
                                                   "mount: /mnt/udisk: <DIR> busy & read-only\n"
                                                   "exit status 1").arg(i));
        break;
    }
}

// A fresh window, once its start-up has run; the box answers that nothing
// is attached.
std::unique_ptr<CMainFrame> OpenWindow(kz::test::FakeBin& bin)
{
    bin.Answer(QString::fromUtf8(kz::kDevicesCommand), kz::test::kNoDevice);
    const int detections = bin.CountCalls(QString::fromUtf8(kz::kDevicesCommand));
    auto frame = std::make_unique<CMainFrame>();
    frame->SetQuitHandler([] {});
    if (!frame->Create(nullptr, QStringLiteral("KORVALD EMMC Professional")))
        std::abort();
    frame->ShowWindow();
    QElapsedTimer timer;
    timer.start();
    while (bin.CountCalls(QString::fromUtf8(kz::kDevicesCommand)) <= detections && timer.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QCoreApplication::processEvents();
    return frame;
}

void CloseWindow(std::unique_ptr<CMainFrame> frame)
{
    frame->Close();
    QCoreApplication::processEvents();
    frame.reset();
    QCoreApplication::processEvents();
}

struct Cost {
    double wall = 0;
    double cpu = 0;
};

void AddRow(CMainFrame& frame, int i, Cost& cost)
{
    const auto start = Clock::now();
    const double cpuStart = ThreadCpuSeconds();
    WriteRow(frame, i);
    QCoreApplication::processEvents();
    cost.cpu += ThreadCpuSeconds() - cpuStart;
    cost.wall += Seconds(Clock::now() - start);
}

// The cost of `small` and of `large` rows, grown side by side.
std::pair<Cost, Cost> AppendSideBySide(kz::test::FakeBin& bin, int small, int large)
{
    auto smallFrame = OpenWindow(bin);
    auto largeFrame = OpenWindow(bin);
    Cost smallCost, largeCost;
    const int every = std::max(1, large / std::max(1, small));
    int smallRows = 0;
    for (int i = 0; i < large; ++i) {
        AddRow(*largeFrame, i, largeCost);
        if (i % every == 0 && smallRows < small)
            AddRow(*smallFrame, smallRows++, smallCost);
    }
    while (smallRows < small)
        AddRow(*smallFrame, smallRows++, smallCost);
    CloseWindow(std::move(largeFrame));
    CloseWindow(std::move(smallFrame));
    return {smallCost, largeCost};
}

// Longest event on the GUI thread while a worker writes `rate` rows per
// second for `seconds` to a log prefilled with `prefill` rows.
Stall LongestStall(TimedApplication& app, kz::test::FakeBin& bin, int prefill, int rate, double seconds)
{
    auto frame = OpenWindow(bin);
    for (int i = 0; i < prefill; ++i)
        WriteRow(*frame, i);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    app.StartRecording();
    std::atomic<bool> done{false};
    std::thread worker([&] {
        const auto period = std::chrono::microseconds(1000000 / rate);
        auto next = Clock::now();
        for (int i = 0; i < int(rate * seconds); ++i) {
            next += period;
            std::this_thread::sleep_until(next);
            WriteRow(*frame, prefill + i);
        }
        done = true;
    });
    while (!done)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    worker.join();
    QElapsedTimer tail;
    tail.start();
    while (tail.elapsed() < 50)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    const Stall longest = app.StopRecording();
    CloseWindow(std::move(frame));
    return longest;
}

struct Spread {
    double min, median, max;
};

Spread SpreadOf(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return {values.front(), values[values.size() / 2], values.back()};
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("LC_ALL", "en_US.UTF-8");
    // Every row is also appended to the operator's record (part of the cost
    // measured), into a folder of the run's own.
    QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", dataHome.path().toUtf8());
    const int small = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int large = argc > 2 ? std::atoi(argv[2]) : 100000;
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 3;
    int qtArgc = 1;
    TimedApplication app(qtArgc, argv);
    kz::test::FakeBin bin;

    std::vector<double> appendRatios, cpuRatios, wallStalls, cpuStalls;
    for (int round = 0; round < rounds; ++round) {
        const auto [smallCost, largeCost] = AppendSideBySide(bin, small, large);
        const Stall stall = LongestStall(app, bin, large, 100, 3.0);
        appendRatios.push_back(largeCost.wall / smallCost.wall);
        cpuRatios.push_back(largeCost.cpu / smallCost.cpu);
        wallStalls.push_back(stall.wall * 1000);
        cpuStalls.push_back(stall.cpu * 1000);
        std::printf("round %d: append %d rows %.2f s (CPU %.2f s), %d rows %.2f s (CPU %.2f s), ratio %.2f "
                    "(CPU %.2f); longest stall at %d rows %.2f ms wall, %.2f ms GUI-thread CPU\n",
                    round + 1, small, smallCost.wall, smallCost.cpu, large, largeCost.wall, largeCost.cpu,
                    appendRatios.back(), cpuRatios.back(), large, stall.wall * 1000, stall.cpu * 1000);
        std::fflush(stdout);
    }
    const Spread ratio = SpreadOf(appendRatios);
    const Spread cpuRatio = SpreadOf(cpuRatios);
    const Spread wall = SpreadOf(wallStalls);
    const Spread cpu = SpreadOf(cpuStalls);
    std::printf("append %d / %d rows, view shown (target <= %.1f): wall ratio min %.2f median %.2f max %.2f; "
                "GUI-thread CPU ratio min %.2f median %.2f max %.2f\n",
                large, small, 1.1 * large / small, ratio.min, ratio.median, ratio.max, cpuRatio.min,
                cpuRatio.median, cpuRatio.max);
    std::printf("longest GUI stall, 100 rows/s onto %d rows, as a ratio to 16 ms (target < 1): "
                "wall min %.2f median %.2f max %.2f (%.2f / %.2f / %.2f ms); "
                "GUI-thread CPU min %.2f median %.2f max %.2f (%.2f / %.2f / %.2f ms)\n",
                large, wall.min / 16, wall.median / 16, wall.max / 16, wall.min, wall.median, wall.max,
                cpu.min / 16, cpu.median / 16, cpu.max / 16, cpu.min, cpu.median, cpu.max);
    return 0;
}
