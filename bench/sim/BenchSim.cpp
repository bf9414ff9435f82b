// bench_sim: the simulated box's transport against plain baselines, measured
// side by side in one run.
//   1. push of a 256 MiB file through Debian's adb into the box, against a
//      loopback TCP copy of the same bytes into a file;
//   2. median round trip of `kz_daemon shell true` against `adb shell true`;
//   3. the box's round trip: `kz_daemon shell true` against `kz_daemon devices`,
//      which ends at the adb server.
// Usage: bench_sim [MiB] [rounds]

#include "BoxFixture.h"

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
    std::vector<char*> argv;
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    auto start = Clock::now();
    pid_t pid;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        return -1;
    ::waitpid(pid, nullptr, 0);
    posix_spawn_file_actions_destroy(&actions);
    return Seconds(Clock::now() - start);
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
                "ratio %.2f\n",
                mib, push, mb / push, loopback, mb / loopback, push / loopback);
}

// Ratios of one run each, repeated: min / median / max.
void PrintRatios(const char* what, std::vector<double> ratios, const char* target)
{
    std::sort(ratios.begin(), ratios.end());
    std::printf("%s: ratio min %.2f / median %.2f / max %.2f (target %s)\n", what, ratios.front(),
                ratios[ratios.size() / 2], ratios.back(), target);
}

void BenchLatency(int rounds)
{
    std::string adapter = std::string(KZ_BIN_DIR) + "/adb/kz_daemon";
    std::vector<double> adapterShell, adbShell, adapterDevices;
    RunSeconds({adapter, "shell", "true"});  // warm the caches of both
    RunSeconds({"adb", "shell", "true"});
    for (int i = 0; i < rounds; ++i) {
        adapterShell.push_back(RunSeconds({adapter, "shell", "true"}));
        adbShell.push_back(RunSeconds({"adb", "shell", "true"}));
        adapterDevices.push_back(RunSeconds({adapter, "devices"}));
    }
    double a = Median(adapterShell), b = Median(adbShell), d = Median(adapterDevices);
    std::printf("shell true, median of %d: kz_daemon %.1f ms, adb %.1f ms, ratio %.2f\n", rounds, a * 1000,
                b * 1000, a / b);
    // The box's round trip: a shell that reaches the box against a command
    // that ends at the adb server.  Paired per round so load hits both alike.
    std::vector<double> roundTrip;
    for (int i = 0; i < rounds; ++i)
        roundTrip.push_back(adapterShell[i] / adapterDevices[i]);
    std::printf("box round trip: kz_daemon shell true %.1f ms against kz_daemon devices %.1f ms (medians)\n",
                a * 1000, d * 1000);
    PrintRatios("box round trip (shell true / devices)", roundTrip, "<= 2");
}

}  // namespace

int main(int argc, char** argv)
{
    size_t mib = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 256;
    int rounds = argc > 2 ? std::atoi(argv[2]) : 30;
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
