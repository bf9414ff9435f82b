// bench_sim: the simulated box's transport against plain baselines, measured
// side by side in one run.
//   1. push of a 256 MiB file through Debian's adb into the box, against a
//      loopback TCP copy of the same bytes into a file;
//   2. median round trip of `kz_daemon shell true` against `adb shell true`;
//   3. the box's round trip: `kz_daemon shell true` against `kz_daemon devices`,
//      which ends at the adb server.
// Usage: bench_sim [MiB] [rounds]

#include "BoxFixture.h"
#include "support/QuietRun.h"
#include "support/Ratio.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <netinet/in.h>
#include <spawn.h>
#include <string>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

double Seconds(Clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

bool WriteSource(const fs::path& path, size_t mib)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    std::vector<unsigned char> block(1 << 20);
    unsigned state = 12345;
    for (size_t i = 0; i < mib; ++i) {
        for (auto& b : block) {
            state = state * 1103515245u + 12345u;
            b = static_cast<unsigned char>(state >> 16);
        }
        std::fwrite(block.data(), 1, block.size(), file);
    }
    return std::fclose(file) == 0;
}

// Receives one connection into target while the calling thread sends source.
double LoopbackCopySeconds(const fs::path& source, const fs::path& target)
{
    int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(listener, 1);
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);

    auto start = Clock::now();
    std::thread receiver([&] {
        int connection = ::accept(listener, nullptr, nullptr);
        int out = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        std::vector<char> buffer(64 * 1024);
        ssize_t n;
        while ((n = ::read(connection, buffer.data(), buffer.size())) > 0)
            [[maybe_unused]] ssize_t written = ::write(out, buffer.data(), static_cast<size_t>(n));
        ::fsync(out);
        ::close(out);
        ::close(connection);
    });
    int sender = ::socket(AF_INET, SOCK_STREAM, 0);
    ::connect(sender, reinterpret_cast<sockaddr*>(&address), sizeof address);
    int in = ::open(source.c_str(), O_RDONLY);
    std::vector<char> buffer(64 * 1024);
    ssize_t n;
    while ((n = ::read(in, buffer.data(), buffer.size())) > 0)
        [[maybe_unused]] ssize_t sent = ::write(sender, buffer.data(), static_cast<size_t>(n));
    ::close(in);
    ::close(sender);
    receiver.join();
    ::close(listener);
    return Seconds(Clock::now() - start);
}

// Wall time of one run of a program, its output discarded.
double RunSeconds(const std::vector<std::string>& args)
{
    return bench::RunQuietly(args).seconds;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void BenchPush(size_t mib)
{
    fs::path dir = fs::temp_directory_path() / ("kz-bench-sim-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    fs::path source = dir / "source.bin";
    if (!WriteSource(source, mib)) {
        std::printf("push: cannot write %s\n", source.c_str());
        return;
    }
    double loopback = LoopbackCopySeconds(source, dir / "copy.bin");
    fs::remove(dir / "copy.bin");

    auto start = Clock::now();
    e2e::CommandResult pushed = e2e::RunAdb("push " + source.string() + " /mnt/sdcard/bench.bin", 600);
    double push = Seconds(Clock::now() - start);
    // A push that did not arrive whole must not pass for a fast one.
    std::string listed = e2e::RunAdb("shell ls -l /mnt/sdcard/bench.bin").output;
    bool whole = listed.find(" " + std::to_string(mib << 20) + " ") != std::string::npos;
    e2e::RunAdb("shell rm /mnt/sdcard/bench.bin");
    fs::remove_all(dir);
    if (pushed.exitCode != 0 || !whole) {
        std::printf("push failed: %s%s\n", pushed.output.c_str(), listed.c_str());
        return;
    }
    double mb = static_cast<double>(mib);
    std::printf("push %zu MiB: adb into the box %.2f s (%.1f MiB/s), loopback copy %.2f s (%.1f MiB/s), "
                "ratio %.2f (none set)\n",
                mib, push, mb / push, loopback, mb / loopback, push / loopback);
}

// Median wall time of each command, run in turns so that load hits all alike.
std::vector<double> TurnMedians(const std::vector<std::vector<std::string>>& commands, int rounds)
{
    std::vector<std::vector<double>> times(commands.size());
    for (int i = 0; i < rounds; ++i)
        for (size_t c = 0; c < commands.size(); ++c)
            times[c].push_back(RunSeconds(commands[c]));
    std::vector<double> medians;
    for (auto& t : times)
        medians.push_back(Median(t));
    return medians;
}

// Ratios of block medians, repeated over five blocks of `rounds` turns.
void BenchLatency(int rounds)
{
    const std::string adapter = std::string(KZ_BIN_DIR) + "/adb/kz_daemon";
    const std::vector<std::vector<std::string>> commands = {
        {adapter, "shell", "true"}, {"adb", "shell", "true"}, {adapter, "devices"}, {"adb", "devices"}};
    TurnMedians(commands, 1);  // warm the caches of all
    std::vector<double> adapterOverAdb, roundTrip, adbRoundTrip;
    for (int block = 0; block < 5; ++block) {
        const std::vector<double> m = TurnMedians(commands, rounds);
        std::printf("medians of %d: kz_daemon shell true %.1f ms, adb shell true %.1f ms, kz_daemon devices "
                    "%.1f ms, adb devices %.1f ms\n",
                    rounds, m[0] * 1e3, m[1] * 1e3, m[2] * 1e3, m[3] * 1e3);
        adapterOverAdb.push_back(m[0] / m[1]);
        roundTrip.push_back(m[0] / m[2]);
        adbRoundTrip.push_back(m[1] / m[3]);
    }
    bench::ReportRatio("kz_daemon shell true (time)", "adb shell true", adapterOverAdb, "none set");
    // The box's round trip: a shell that reaches the box against a command
    // that ends at the adb server.  kz_daemon answers `devices` without
    // running adb, so the same pair is also given for adb alone.
    bench::ReportRatio("kz_daemon shell true (time)", "kz_daemon devices", roundTrip, "<= 2");
    bench::ReportRatio("adb shell true (time)", "adb devices", adbRoundTrip, "<= 2");
}

}  // namespace

int main(int argc, char** argv)
{
    size_t mib = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 256;
    int rounds = argc > 2 ? std::atoi(argv[2]) : 15;
    e2e::BoxFixture box;
    std::string error;
    if (!box.Start(error, R"({"speed": 0})")) {
        std::fprintf(stderr, "bench_sim: %s\n", error.c_str());
        return 1;
    }
    BenchPush(std::max<size_t>(mib, 1));
    BenchLatency(std::max(rounds, 1));
    return 0;
}
