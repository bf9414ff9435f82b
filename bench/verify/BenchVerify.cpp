// bench_verify: the proof of a copy between the box's storages against the
// copy itself, measured side by side on korvald-box.  Each round runs the
// file manager's own command lines through its own client runner: the cp of a
// file from the stick to the SD card, then the md5sum of the source and of
// the target.  The ratio is the two md5sums' time over the copy's.
//   1. at the box's own pace (the speed a new box has), the target: the
//      proof may not cost more than the copy;
//   2. unthrottled, where the copy costs only the host's memory bandwidth,
//      given for information.
// Usage: bench_verify [MiB] [rounds]

#include "BoxFixture.h"
#include "support/DataFile.h"
#include "support/Ratio.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "link/DeviceActions.h"
#include "device/AdbRunner.h"
#include "files/core/FileManagerMode.h"
#include "files/core/ChecksumJudge.h"
#include "files/core/Commands.h"
#include "platform/ProgramDir.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;
namespace kf = kz::files;

double Seconds(Clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

bool WriteSource(const fs::path& path, size_t mib)
{
    return bench::WriteDataFile(path, mib, 12345);
}

struct Round {
    double copy = 0;
    double verify = 0;
    bool proved = false;
};

double Timed(const QString& command, kz::ClientAnswer& answer)
{
    const auto start = Clock::now();
    answer = kz::RunAdbClient(command);
    return Seconds(Clock::now() - start);
}

Round RunRound()
{
    const QString source = kf::CopySourcePath(COPY_UDISK_TO_SDCARD, QStringLiteral("bench.bin"));
    const QString target = kf::CopyTargetPath(COPY_UDISK_TO_SDCARD, QStringLiteral("bench copy.bin"));
    Round round;
    kz::ClientAnswer copy, sourceSum, targetSum;
    round.copy = Timed(kf::CopyCommand(source, target), copy);
    round.verify = Timed(kf::ChecksumCommand(source), sourceSum) + Timed(kf::ChecksumCommand(target), targetSum);
    round.proved = kf::JudgeSums(sourceSum.output, targetSum.output) == kf::SumVerdict::Equal;
    if (!round.proved)
        std::printf("%s%s%s", qPrintable(copy.output), qPrintable(sourceSum.output), qPrintable(targetSum.output));
    return round;
}

// Rounds at the box's current speed; false when a round was not proved.
bool Measure(const char* label, int rounds, std::vector<double>& ratios)
{
    for (int i = 0; i < rounds; ++i) {
        const Round r = RunRound();
        if (!r.proved) {
            std::printf("%s: round %d: the sums of source and target did not agree\n", label, i + 1);
            return false;
        }
        std::printf("%s: copy %.3f s, two md5sums %.3f s\n", label, r.copy, r.verify);
        ratios.push_back(r.verify / r.copy);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    const size_t mib = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 256;
    const int rounds = std::max(argc > 2 ? std::atoi(argv[2]) : 7, 1);
    kz::SetProgramDirectoryForTests(QStringLiteral(KZ_BIN_DIR));
    e2e::BoxFixture box;
    std::string error;
    if (!box.Start(error)) {
        std::fprintf(stderr, "bench_verify: %s\n", error.c_str());
        return 1;
    }
    if (!WriteSource(box.StateDir() / "udisk" / "bench.bin", mib)) {
        std::fprintf(stderr, "bench_verify: cannot write the source\n");
        return 1;
    }
    // The stick is used mounted, as the program mounts it before every use.
    kz::RunAdbClient(QString::fromUtf8(kz::kMountCommand));
    std::printf("%zu MiB from the stick to the SD card, %d rounds each\n", mib, rounds);
    std::vector<double> paced, unthrottled;
    if (!Measure("box's pace", rounds, paced))
        return 1;
    bench::ReportRatio("two md5sums (time)", "cp at the box's pace", paced, "<= 1.0");
    box.Ctl("speed 0");
    if (!Measure("unthrottled", rounds, unthrottled))
        return 1;
    bench::ReportRatio("two md5sums (time)", "cp unthrottled", unthrottled, "none set");
    return 0;
}
