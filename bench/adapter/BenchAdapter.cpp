// Adapter overhead: `kz_daemon devices` against `adb devices`, side by side,
// against one private adb server that is already running.
//
//   bench_adapter [runs]        (default 100; target ratio <= 1.2)

#include <algorithm>
#include <arpa/inet.h>
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
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

int FreePort()
{
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
    getsockname(s, reinterpret_cast<sockaddr*>(&a), &len);
    close(s);
    return ntohs(a.sin_port);
}

// Runs a program with its output thrown away; returns its exit code or -1.
int RunQuiet(const std::string& program, const std::string& arg)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    std::vector<char*> argv{const_cast<char*>(program.c_str()), const_cast<char*>(arg.c_str()), nullptr};
    pid_t pid = -1;
    const int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (rc != 0 || waitpid(pid, &status, 0) != pid)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

double Seconds(const std::string& program)
{
    const auto start = Clock::now();
    if (RunQuiet(program, "devices") != 0) {
        std::fprintf(stderr, "%s devices failed\n", program.c_str());
        std::exit(1);
    }
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Owns the private server: started before the runs, killed however they end.
struct PrivateServer
{
    explicit PrivateServer(const std::string& adb) : adb(adb) { RunQuiet(adb, "start-server"); }
    ~PrivateServer() { RunQuiet(adb, "kill-server"); }
    std::string adb;
};

}  // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100;
    const std::string adb = "/usr/bin/adb";
    const std::string adapter = std::string(KZ_BIN_DIR) + "/adb/kz_daemon";
    const std::string home = (std::filesystem::temp_directory_path() / "bench_adapter_home").string();
    std::filesystem::create_directories(home);
    setenv("HOME", home.c_str(), 1);
    setenv("ANDROID_ADB_SERVER_PORT", std::to_string(FreePort()).c_str(), 1);
    setenv("ADB_LOCAL_TRANSPORT_MAX_PORT", "5553", 1);  // no emulator scan
    setenv("ADB", adb.c_str(), 1);

    PrivateServer server(adb);
    for (int i = 0; i < 5; ++i) {
        Seconds(adb);
        Seconds(adapter);
    }
    std::vector<double> direct;
    std::vector<double> adapted;
    for (int i = 0; i < runs; ++i) {
        direct.push_back(Seconds(adb));
        adapted.push_back(Seconds(adapter));
    }
    const double d = Median(direct);
    const double a = Median(adapted);
    std::printf("adb devices:      median %.3f ms over %d runs\n", d * 1e3, runs);
    std::printf("kz_daemon devices: median %.3f ms over %d runs\n", a * 1e3, runs);
    std::printf("adapter overhead ratio: %.3f (target <= 1.2)\n", a / d);
    return 0;
}
