#include "ProcessHarness.h"

#include <arpa/inet.h>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace kz::adapter::test {

namespace {

using Clock = std::chrono::steady_clock;

std::vector<std::string> BuildEnvironment(const EnvChanges& changes)
{
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        if (changes.count(entry.substr(0, entry.find('='))) == 0)
            env.push_back(entry);
    }
    for (const auto& [name, value] : changes) {
        if (value)
            env.push_back(name + "=" + *value);
    }
    return env;
}

std::vector<char*> Pointers(std::vector<std::string>& texts)
{
    std::vector<char*> p;
    for (std::string& t : texts)
        p.push_back(t.data());
    p.push_back(nullptr);
    return p;
}

// Runs in the forked child: only async-signal-safe calls until exec.
[[noreturn]] void ExecChild(int out, int in, bool hostile, char** argv, char** envp)
{
    dup2(in, STDIN_FILENO);
    dup2(out, STDOUT_FILENO);
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, STDERR_FILENO);
    sigset_t set;
    sigemptyset(&set);
    if (hostile) {
        sigaddset(&set, SIGTERM);
        signal(SIGINT, SIG_IGN);
    }
    sigprocmask(SIG_SETMASK, &set, nullptr);
    execve(argv[0], argv, envp);
    _exit(126);
}

int StdinFor(const LaunchOptions& options)
{
    if (!options.stdinText)
        return open("/dev/null", O_RDONLY | O_CLOEXEC);
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe");
    // Small texts only: they fit in the pipe without a reader.
    if (write(fds[1], options.stdinText->data(), options.stdinText->size()) < 0)
        throw std::runtime_error("write");
    close(fds[1]);
    return fds[0];
}

}  // namespace

Launched::Launched(const std::vector<std::string>& argv, const LaunchOptions& options)
{
    std::vector<std::string> args = argv;
    std::vector<std::string> env = BuildEnvironment(options.env);
    std::vector<char*> argp = Pointers(args);
    std::vector<char*> envp = Pointers(env);
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe");
    const int in = StdinFor(options);
    pid_ = fork();
    if (pid_ == 0)
        ExecChild(fds[1], in, options.hostileSignals, argp.data(), envp.data());
    close(fds[1]);
    close(in);
    out_ = fds[0];
}

Launched::~Launched()
{
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    if (out_ >= 0)
        close(out_);
}

bool Launched::ReadSome(int timeoutMs)
{
    pollfd p{out_, POLLIN, 0};
    if (poll(&p, 1, timeoutMs) <= 0)
        return true;
    char buffer[4096];
    const ssize_t n = read(out_, buffer, sizeof buffer);
    if (n > 0)
        output_.append(buffer, static_cast<size_t>(n));
    return n > 0 || (n < 0 && errno == EINTR);
}

std::string Launched::ReadUntil(const std::string& text, std::chrono::milliseconds timeout)
{
    const auto end = Clock::now() + timeout;
    while (output_.find(text) == std::string::npos && Clock::now() < end) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
        if (!ReadSome(static_cast<int>(left.count()) + 1))
            break;
    }
    return output_;
}

int Launched::Finish()
{
    while (ReadSome(-1)) {
    }
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return status;
}

Result RunProcess(const std::vector<std::string>& argv, const LaunchOptions& options)
{
    const auto start = Clock::now();
    Launched process(argv, options);
    Result r;
    r.status = process.Finish();
    r.output = process.Output();
    r.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return r;
}

std::string AdapterPath()
{
    return std::string(KZ_BIN_DIR) + "/adb/kz_daemon";
}

int ListenLocally(int backlog, int& port)
{
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    if (bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || listen(fd, backlog) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len) != 0) {
        close(fd);
        throw std::runtime_error("cannot listen on a local port");
    }
    port = ntohs(a.sin_port);
    return fd;
}

// Connections are never accepted; the queue is long enough for a test's runs.
ServerStandIn::ServerStandIn()
{
    fd_ = ListenLocally(512, port_);
}

ServerStandIn::~ServerStandIn()
{
    close(fd_);
}

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "kz_daemon_test.XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("mkdtemp");
    path_ = pattern;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::Script(const std::string& name, const std::string& body) const
{
    const std::string path = path_ + "/" + name;
    std::ofstream(path) << "#!/bin/sh\n" << body;
    std::filesystem::permissions(path, std::filesystem::perms::owner_all | std::filesystem::perms::group_read |
                                           std::filesystem::perms::group_exec);
    return path;
}

}  // namespace kz::adapter::test
