#include "tools/kz_daemon/ChildProcess.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <unistd.h>

extern char** environ;

namespace kz::adapter {

namespace {

struct SpawnSetup
{
    posix_spawnattr_t attr;
    posix_spawn_file_actions_t actions;

    SpawnSetup()
    {
        posix_spawnattr_init(&attr);
        posix_spawn_file_actions_init(&actions);
    }
    ~SpawnSetup()
    {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attr);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;
};

void CleanSignals(posix_spawnattr_t& attr)
{
    sigset_t none;
    sigset_t all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setsigdefault(&attr, &all);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
}

std::vector<char*> ArgumentVector(const std::string& program, const std::vector<std::string>& args)
{
    std::vector<char*> argv;
    argv.reserve(args.size() + 2);
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    return argv;
}

}  // namespace

int SpawnMerged(const std::string& program, const std::vector<std::string>& args, StdinSource in, Child& child)
{
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        return errno;
    SpawnSetup setup;
    CleanSignals(setup.attr);
    // dup2 clears close-on-exec on the copies, so only these two reach adb.
    posix_spawn_file_actions_adddup2(&setup.actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&setup.actions, fds[1], STDERR_FILENO);
    if (in == StdinSource::DevNull)
        posix_spawn_file_actions_addopen(&setup.actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    std::vector<char*> argv = ArgumentVector(program, args);
    pid_t pid = -1;
    const int rc = posix_spawnp(&pid, program.c_str(), &setup.actions, &setup.attr, argv.data(), environ);
    close(fds[1]);
    if (rc != 0) {
        close(fds[0]);
        return rc;
    }
    fcntl(fds[0], F_SETFL, fcntl(fds[0], F_GETFL) | O_NONBLOCK);
    child.pid = pid;
    child.output = fds[0];
    return 0;
}

}  // namespace kz::adapter
