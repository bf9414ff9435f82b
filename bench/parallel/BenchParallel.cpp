// bench_parallel: several boxes from one host.  Two simulated boxes (5555 and
// 5557) under one adb server; the wall time of two boot reads started
// together, one per box, against one boot read alone, measured in turns in
// one run.  Each read is the board dialog's command line behind adb's -s,
// through adb/kz_daemon; when korvald-emmc-cli is built, also its
// `--serial S read-boot 1 NAME`.
//   1. at the box's own eMMC speed (the default of the config);
//   2. with the speed unthrottled, which leaves the host's share (adapter,
//      adb server, box process): where a miss of the first comes from.
// Usage: bench_parallel [rounds]

#include "BoxFixture.h"
#include "board/core/BoardCommands.h"
#include "platform/CommandLine.h"
#include "support/Argv.h"
#include "support/Ratio.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

// How a script reads boot partition 1 of `serial` into `name`.  The adapter
// passes on what the box printed (the tool's "Complete successfully" is the
// only sign of success); the CLI judges that text itself and says so by its
// exit code.
struct ReadForm {
    std::string name;
    std::function<std::vector<std::string>(const std::string& serial, const std::string& file)> command;
    bool judgedByText;
};

std::vector<std::string> AdapterRead(const std::string& serial, const std::string& name)
{
    std::vector<std::string> argv{std::string(KZ_BIN_DIR) + "/adb/kz_daemon", "-s", serial};
    for (const QString& word : kz::SplitWindowsCommandLine(kz::board::ReadBootCommand(1, QString::fromStdString(name))))
        argv.push_back(word.toStdString());
    return argv;
}

#ifdef KZ_CLI_PATH
std::vector<std::string> CliRead(const std::string& serial, const std::string& name)
{
    return {KZ_CLI_PATH, "--serial", serial, "read-boot", "1", name};
}
#endif

struct Job {
    pid_t pid = -1;
    fs::path output;
};

Job Spawn(const std::vector<std::string>& args, const fs::path& output)
{
    std::vector<char*> argv = bench::ArgvOf(args);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    Job job{-1, output};
    if (posix_spawn(&job.pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        job.pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return job;
}

std::string TextOf(const fs::path& file)
{
    std::ifstream in(file);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A read counts only when it ended well: a failed one must not pass for a
// fast one.
bool Finish(const Job& job, bool judgedByText)
{
    int status = 0;
    if (job.pid < 0 || ::waitpid(job.pid, &status, 0) != job.pid)
        return false;
    const bool exited = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    const std::string text = TextOf(job.output);
    if (!exited || (judgedByText && text.find("Complete successfully") == std::string::npos)) {
        std::printf("a read failed: %s\n", text.c_str());
        return false;
    }
    return true;
}

// Wall time of the reads started together; negative when one failed.
double ReadTogether(const ReadForm& form, const std::vector<std::string>& serials, const fs::path& scratch)
{
    const auto start = Clock::now();
    std::vector<Job> jobs;
    for (const std::string& serial : serials)
        jobs.push_back(Spawn(form.command(serial, "bench-" + serial + ".bin"), scratch / (serial + ".out")));
    bool ok = true;
    for (const Job& job : jobs)
        ok = Finish(job, form.judgedByText) && ok;
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return ok ? seconds : -1;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Rounds of one read alone (on each box in turn) and two at once.
void Bench(const ReadForm& read, const std::string& setting, const std::string& target, int rounds,
           const std::vector<std::string>& serials, const fs::path& scratch)
{
    const std::string& form = read.name;
    ReadTogether(read, serials, scratch);  // warm the caches
    std::vector<double> ratios, solos, pairs;
    for (int round = 0; round < rounds; ++round) {
        const double solo = ReadTogether(read, {serials[std::size_t(round) % serials.size()]}, scratch);
        const double pair = ReadTogether(read, serials, scratch);
        if (solo <= 0 || pair <= 0) {
            std::printf("%s, %s: a read failed; no ratio\n", form.c_str(), setting.c_str());
            return;
        }
        solos.push_back(solo);
        pairs.push_back(pair);
        ratios.push_back(pair / solo);
    }
    std::printf("%s, %s: medians of %d: one read %.1f ms, two at once %.1f ms\n", form.c_str(), setting.c_str(), rounds,
                Median(solos) * 1e3, Median(pairs) * 1e3);
    bench::ReportRatio("two boot reads at once, one per box (" + form + ", " + setting + ", wall)", "one boot read",
                       ratios, target);
}

}  // namespace

int main(int argc, char** argv)
{
    const int rounds = std::max(argc > 1 ? std::atoi(argv[1]) : 15, 1);
    e2e::BoxFixture fixture;
    std::string error;
    if (!fixture.StartBoxes(error, {{5555, ""}, {5557, ""}})) {
        std::fprintf(stderr, "bench_parallel: %s\n", error.c_str());
        return 1;
    }
    const std::vector<std::string> serials{fixture.Box(0).Serial(), fixture.Box(1).Serial()};
    const fs::path scratch = fixture.Box(0).StateDir().parent_path();
    std::vector<ReadForm> forms{{"kz_daemon -s", AdapterRead, true}};
#ifdef KZ_CLI_PATH
    forms.push_back({"korvald-emmc-cli --serial", CliRead, false});
#else
    std::printf("korvald-emmc-cli is not built: only kz_daemon -s is measured\n");
#endif
    for (const ReadForm& form : forms)
        Bench(form, "box speed", "<= 1.3", rounds, serials, scratch);
    for (std::size_t i = 0; i < serials.size(); ++i)
        fixture.Box(i).Ctl("speed 0");
    // Reads of a few milliseconds: more rounds for a steady median.
    for (const ReadForm& form : forms)
        Bench(form, "unthrottled", "none set", rounds * 3, serials, scratch);
    return 0;
}
