// Cost of RunAdbCommand, measured side by side in one run:
//  - overhead: a trivial client through the runner against a bare
//    posix_spawn + waitpid of the same client (target: ratio <= 1.05);
//  - throughput: 64 MiB of output through the runner against reading the
//    same bytes from a plain pipe.
// The runs of both sides alternate so that machine load hits both alike.

#include "device/AdbRunner.h"
#include "platform/Process.h"
#include "platform/ProgramDir.h"
#include "support/Ratio.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <numeric>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using Seconds = std::chrono::duration<double>;

constexpr int kTrivialRuns = 200;
constexpr qint64 kBulkBytes = 64LL * 1024 * 1024;
constexpr int kBulkRuns = 7;

double Time(const std::function<void()>& work)
{
    const auto start = Clock::now();
    work();
    return Seconds(Clock::now() - start).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Spawns `path arg` with standard output on `outFd` (or /dev/null) and
// returns the child's pid.
pid_t Spawn(const std::string& path, const std::string& arg, int outFd)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (outFd >= 0)
        posix_spawn_file_actions_adddup2(&actions, outFd, STDOUT_FILENO);
    else
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv{const_cast<char*>(path.c_str()), const_cast<char*>(arg.c_str()), nullptr};
    pid_t pid = -1;
    if (posix_spawn(&pid, path.c_str(), &actions, nullptr, argv.data(), environ) != 0)
        std::perror("posix_spawn");
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

void Reap(pid_t pid)
{
    int status = 0;
    waitpid(pid, &status, 0);
}

void DirectSpawn(const std::string& client)
{
    Reap(Spawn(client, "ok", -1));
}

qint64 PlainPipeRead(const std::string& client, const std::string& file)
{
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0)
        return -1;
    const pid_t pid = Spawn(client, file, ends[1]);
    close(ends[1]);
    std::vector<char> buffer(65536);
    qint64 total = 0;
    for (ssize_t n; (n = read(ends[0], buffer.data(), buffer.size())) > 0;)
        total += n;
    close(ends[0]);
    Reap(pid);
    return total;
}

// The same bytes kept in memory, as the runner must keep its text.
qint64 PlainPipeKeep(const std::string& client, const std::string& file)
{
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0)
        return -1;
    const pid_t pid = Spawn(client, file, ends[1]);
    close(ends[1]);
    QByteArray kept;
    std::vector<char> buffer(65536);
    for (ssize_t n; (n = read(ends[0], buffer.data(), buffer.size())) > 0;)
        kept.append(buffer.data(), n);
    close(ends[0]);
    Reap(pid);
    return kept.size();
}

// The runner's pipe handling alone, its bytes thrown away undecoded.
qint64 PumpDiscard(const QString& client, const QString& file)
{
    kz::PipedChild child;
    if (child.Start(client, {file}) != kz::StartResult::Started)
        return -1;
    child.CloseInput();
    qint64 total = 0;
    child.Pump([&total](const char*, std::size_t n) { total += qint64(n); });
    return total;
}

qint64 RunnerRead(const QString& command)
{
    QString output;
    RunAdbCommand(command, output);
    return output.size();
}

bool InstallClient(const QString& programDir, const QString& target)
{
    const QString link = programDir + QStringLiteral("/adb/kz_daemon");
    QFile::remove(link);
    return QFile::link(target, link);
}

bool WriteBulkFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray line = QByteArray(63, 'a') + '\n';
    const QByteArray block = line.repeated(1024);
    for (qint64 written = 0; written < kBulkBytes; written += block.size())
        file.write(block);
    return true;
}

void Overhead(const QString& programDir)
{
    InstallClient(programDir, QStringLiteral("/bin/echo"));
    const std::string client = kz::AdbClientPath().toStdString();
    for (int i = 0; i < 10; ++i) {  // warm the page cache and the allocator
        DirectSpawn(client);
        RunnerRead(QStringLiteral("ok"));
    }
    std::vector<double> direct;
    std::vector<double> runner;
    for (int i = 0; i < kTrivialRuns; ++i) {
        // Which side goes first alternates too.
        if (i % 2 == 0)
            direct.push_back(Time([&] { DirectSpawn(client); }));
        runner.push_back(Time([&] { RunnerRead(QStringLiteral("ok")); }));
        if (i % 2 == 1)
            direct.push_back(Time([&] { DirectSpawn(client); }));
    }
    const double runnerSum = std::accumulate(runner.begin(), runner.end(), 0.0);
    const double directSum = std::accumulate(direct.begin(), direct.end(), 0.0);
    std::printf("overhead: %d runs, runner %.1f ms, direct spawn %.1f ms, ratio %.3f (target <= 1.05); "
                "median run %.3f ms against %.3f ms, ratio %.3f\n",
                kTrivialRuns, runnerSum * 1e3, directSum * 1e3, runnerSum / directSum, Median(runner) * 1e3,
                Median(direct) * 1e3, Median(runner) / Median(direct));
    constexpr int kBlocks = 5;
    constexpr int kPerBlock = kTrivialRuns / kBlocks;
    std::vector<double> ratios;
    for (int b = 0; b < kBlocks; ++b) {
        const auto first = b * kPerBlock;
        ratios.push_back(std::accumulate(runner.begin() + first, runner.begin() + first + kPerBlock, 0.0) /
                         std::accumulate(direct.begin() + first, direct.begin() + first + kPerBlock, 0.0));
    }
    bench::ReportRatio("RunAdbCommand trivial client (time)", "posix_spawn + waitpid", ratios, "<= 1.05");
}

void Throughput(const QString& programDir)
{
    const QString file = programDir + QStringLiteral("/bulk.txt");
    if (!WriteBulkFile(file) || !InstallClient(programDir, QStringLiteral("/bin/cat"))) {
        std::printf("throughput: cannot prepare %s\n", qPrintable(file));
        return;
    }
    const std::string client = kz::AdbClientPath().toStdString();
    double plain = 0, kept = 0, pump = 0, runner = 0;
    std::vector<double> ratios;  // throughput of the runner over the plain pipe's, per round
    std::vector<double> keptRatios;  // ... over a pipe whose bytes are kept in memory
    qint64 sizes[4] = {};
    for (int i = 0; i < kBulkRuns; ++i) {
        const double plainRound = Time([&] { sizes[0] = PlainPipeRead(client, file.toStdString()); });
        const double keptRound = Time([&] { sizes[1] = PlainPipeKeep(client, file.toStdString()); });
        kept += keptRound;
        pump += Time([&] { sizes[2] = PumpDiscard(kz::AdbClientPath(), file); });
        const double runnerRound = Time([&] { sizes[3] = RunnerRead(file); });
        plain += plainRound;
        runner += runnerRound;
        ratios.push_back(plainRound / runnerRound);
        keptRatios.push_back(keptRound / runnerRound);
    }
    const double mib = double(kBulkBytes) * kBulkRuns / (1024.0 * 1024.0);
    std::printf("throughput: 64 MiB x %d; MiB/s: plain pipe %.0f, plain pipe kept in memory %.0f, "
                "runner's pump without decoding %.0f, RunAdbCommand %.0f\n",
                kBulkRuns, mib / plain, mib / kept, mib / pump, mib / runner);
    bench::ReportRatio("RunAdbCommand 64 MiB (throughput)", "plain pipe", ratios, ">= 0.5");
    // Any reader that keeps the text pays for fresh memory: this is the floor.
    bench::ReportRatio("RunAdbCommand 64 MiB (throughput)", "plain pipe keeping its bytes", keptRatios, "none set");
    for (qint64 size : sizes) {
        if (size != kBulkBytes)
            std::printf("warning: a reader got %lld units instead of %lld\n", static_cast<long long>(size),
                        static_cast<long long>(kBulkBytes));
    }
    QFile::remove(file);
}

}  // namespace

int main()
{
    QTemporaryDir root;
    const QString programDir = root.filePath(QStringLiteral("program"));
    if (!root.isValid() || !QDir().mkpath(programDir + QStringLiteral("/adb"))) {
        std::fprintf(stderr, "cannot create a temporary program directory\n");
        return 1;
    }
    kz::SetProgramDirectoryForTests(programDir);
    Overhead(programDir);
    Throughput(programDir);
    return 0;
}
