// Adapter overhead: `kz_daemon devices` against `adb devices`, side by side,
// against one private adb server that is already running.
//
//   bench_adapter [runs]        (runs per block, default 40; target ratio <= 1.2)

#include "ProcessHarness.h"
#include "support/Ratio.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <vector>

using namespace kz::adapter::test;

namespace {

const char* const kAdb = "/usr/bin/adb";

double Seconds(const std::string& program, const LaunchOptions& options)
{
    const Result r = RunProcess({program, "devices"}, options);
    if (!WIFEXITED(r.status) || WEXITSTATUS(r.status) != 0) {
        std::fprintf(stderr, "%s devices failed:\n%s\n", program.c_str(), r.output.c_str());
        std::exit(1);
    }
    return r.seconds;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Owns the private server: started before the runs, killed however they end.
struct PrivateServer
{
    explicit PrivateServer(const LaunchOptions& options) : options(options)
    {
        RunProcess({kAdb, "start-server"}, options);
    }
    ~PrivateServer() { RunProcess({kAdb, "kill-server"}, options); }
    LaunchOptions options;
};

}  // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 40;
    TempDir home;
    LaunchOptions options;
    options.env = {
        {"ADB", kAdb},
        {"ANDROID_ADB_SERVER_PORT", std::to_string(FreeLocalPort())},
        {"ADB_LOCAL_TRANSPORT_MAX_PORT", "5553"},  // no emulator scan
        {"HOME", home.Path()},
    };
    PrivateServer server(options);
    for (int i = 0; i < 5; ++i) {
        Seconds(kAdb, options);
        Seconds(AdapterPath(), options);
    }
    // Five blocks of runs, each giving a ratio of medians: min / median / max.
    constexpr int kBlocks = 5;
    std::vector<double> ratios;
    std::vector<double> direct;
    std::vector<double> adapted;
    for (int block = 0; block < kBlocks; ++block) {
        std::vector<double> blockDirect;
        std::vector<double> blockAdapted;
        for (int i = 0; i < runs; ++i) {
            blockDirect.push_back(Seconds(kAdb, options));
            blockAdapted.push_back(Seconds(AdapterPath(), options));
        }
        ratios.push_back(Median(blockAdapted) / Median(blockDirect));
        direct.insert(direct.end(), blockDirect.begin(), blockDirect.end());
        adapted.insert(adapted.end(), blockAdapted.begin(), blockAdapted.end());
    }
    std::printf("adb devices:       median %.3f ms over %d runs\n", Median(direct) * 1e3, runs * kBlocks);
    std::printf("kz_daemon devices: median %.3f ms over %d runs\n", Median(adapted) * 1e3, runs * kBlocks);
    bench::ReportRatio("kz_daemon devices (time)", "adb devices", ratios, "<= 1.2");
    return 0;
}
