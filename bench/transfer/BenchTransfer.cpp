// bench_transfer: moving a file between this PC and the box through the
// program's path against plain adb, side by side on korvald-box.
//   1. unthrottled box: the program's push and pull (the adapter, the part
//      file, the watched client with its progress ticks) against "adb push"
//      and "adb pull" of the same file; the throughput ratio, plain adb's
//      time over ours, must be at least 0.9;
//   2. at the box's own pace: the whole transfer with its md5 proof against
//      the transfer alone; at most 1.3 times its time.
// Usage: bench_transfer [MiB] [rounds]

#include "BoxFixture.h"
#include "support/Argv.h"
#include "support/DataFile.h"
#include "support/QuietRun.h"
#include "support/Ratio.h"

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

#include "device/AdbRunner.h"
#include "platform/ProgramDir.h"
#include "transfer/TransferRun.h"
#include "transfer/WatchedClient.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;
namespace kt = kz::transfer;

double Seconds(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

bool WriteSource(const fs::path& path, size_t mib)
{
    return bench::WriteDataFile(path, mib, 4242);
}

// Plain adb, its report thrown away; the seconds it took, negative on failure.
double PlainAdb(const std::vector<std::string>& args)
{
    const bench::QuietRun run = bench::RunQuietly(args);
    return run.ok ? run.seconds : -1;
}

class NoSink : public kt::ITransferSink {
public:
    void Progress(quint64, quint64, qint64) override {}
    void Verifying() override {}
};

kt::TransferJob Job(kt::Direction direction, const fs::path& pc, const QString& pcName)
{
    kt::TransferJob job;
    job.plan = {direction, QString::fromStdString(pc.string()), pcName, kt::BoxStorage::Sdcard,
                QStringLiteral("bench.bin")};
    job.run = [](const QString& command) { return kz::RunAdbClient(command); };
    return job;
}

// The program's move alone (no checks, no proof); negative on failure.
double MoveAlone(const kt::TransferJob& job)
{
    const std::atomic<bool> never{false};
    const auto start = Clock::now();
    const kt::WatchedAnswer moved = kt::RunWatchedClient(kt::MoveCommand(job.plan), [](pid_t) {}, never,
                                                         std::chrono::milliseconds(250));
    const double seconds = Seconds(start);
    return moved.answer.output.contains(QLatin1String("1 file p")) ? seconds : -1;
}

double WholeTransfer(const kt::TransferJob& job)
{
    NoSink sink;
    const auto start = Clock::now();
    const kt::TransferReport report = kt::RunTransfer(job, sink);
    return report.Success() ? Seconds(start) : -1;
}

struct Sides {
    std::vector<double> pushRatio, pullRatio;
};

bool Fail(const char* what)
{
    std::fprintf(stderr, "bench_transfer: %s failed\n", what);
    return false;
}

// Round of part 1: throughput of plain adb's time over ours, both ways.
bool ThroughputRound(const fs::path& pc, const fs::path& sdcard, Sides& sides)
{
    const std::string source = (pc / "source.bin").string();
    // Who goes first alternates, so that neither side always meets warm caches.
    const bool oursFirst = sides.pushRatio.size() % 2 == 1;
    double plainPush = 0, ourPush = 0, plainPull = 0, ourPull = 0;
    for (int turn = 0; turn < 2; ++turn) {
        if ((turn == 0) == oursFirst)
            ourPush = MoveAlone(Job(kt::Direction::Push, pc, QStringLiteral("source.bin")));
        else
            plainPush = PlainAdb({"adb", "push", source, "/mnt/sdcard/plain.bin"});
    }
    fs::rename(sdcard / ".bench.bin.kz-part", sdcard / "bench.bin");
    for (int turn = 0; turn < 2; ++turn) {
        if ((turn == 0) == oursFirst)
            ourPull = MoveAlone(Job(kt::Direction::Pull, pc, QStringLiteral("pulled.bin")));
        else
            plainPull = PlainAdb({"adb", "pull", "/mnt/sdcard/plain.bin", (pc / "plain.bin").string()});
    }
    if (plainPush < 0 || ourPush < 0 || plainPull < 0 || ourPull < 0)
        return Fail("an unthrottled transfer");
    std::printf("unthrottled: push adb %.3f s, ours %.3f s; pull adb %.3f s, ours %.3f s\n", plainPush, ourPush,
                plainPull, ourPull);
    sides.pushRatio.push_back(plainPush / ourPush);
    sides.pullRatio.push_back(plainPull / ourPull);
    return true;
}

// Round of part 2: the whole transfer with its proof over the move alone.
bool ProofRound(const fs::path& pc, Sides& sides)
{
    const kt::TransferJob push = Job(kt::Direction::Push, pc, QStringLiteral("source.bin"));
    const kt::TransferJob pull = Job(kt::Direction::Pull, pc, QStringLiteral("pulled.bin"));
    const double pushAlone = MoveAlone(push);
    const double pushWhole = WholeTransfer(push);
    const double pullAlone = MoveAlone(pull);
    const double pullWhole = WholeTransfer(pull);
    if (pushAlone < 0 || pushWhole < 0 || pullAlone < 0 || pullWhole < 0)
        return Fail("a transfer at the box's pace");
    std::printf("box's pace: push alone %.3f s, proved %.3f s; pull alone %.3f s, proved %.3f s\n", pushAlone,
                pushWhole, pullAlone, pullWhole);
    sides.pushRatio.push_back(pushWhole / pushAlone);
    sides.pullRatio.push_back(pullWhole / pullAlone);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    const size_t mib = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 256;
    const int rounds = std::max(argc > 2 ? std::atoi(argv[2]) : 5, 1);
    kz::SetProgramDirectoryForTests(QStringLiteral(KZ_BIN_DIR));
    e2e::BoxFixture box;
    std::string error;
    if (!box.Start(error, R"({"speed": 0, "sdcardCapacityBytes": 8589934592})")) {
        std::fprintf(stderr, "bench_transfer: %s\n", error.c_str());
        return 1;
    }
    const fs::path pc = box.StateDir().parent_path() / "pc";
    fs::create_directories(pc);
    if (!WriteSource(pc / "source.bin", mib))
        return Fail("writing the source") ? 0 : 1;
    std::printf("%zu MiB between the PC and the SD card, %d rounds each\n", mib, rounds);
    Sides throughput, proof;
    for (int i = 0; i < rounds; ++i)
        if (!ThroughputRound(pc, box.StateDir() / "sdcard", throughput))
            return 1;
    bench::ReportRatio("push throughput", "adb push, unthrottled", throughput.pushRatio, ">= 0.9");
    bench::ReportRatio("pull throughput", "adb pull, unthrottled", throughput.pullRatio, ">= 0.9");
    box.Ctl("speed 67108864");
    for (int i = 0; i < rounds; ++i)
        if (!ProofRound(pc, proof))
            return 1;
    bench::ReportRatio("push with md5 proof (time)", "push alone at the box's pace", proof.pushRatio, "<= 1.3");
    bench::ReportRatio("pull with md5 proof (time)", "pull alone at the box's pace", proof.pullRatio, "<= 1.3");
    return 0;
}
