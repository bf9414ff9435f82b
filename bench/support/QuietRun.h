#pragma once
// One run of a program with its output thrown away: how long it took, and
// whether it started and exited 0.

#include <chrono>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

#include "support/Argv.h"

extern char** environ;

namespace bench {

struct QuietRun {
    double seconds = -1;
    bool ok = false;
};

inline QuietRun RunQuietly(const std::vector<std::string>& args)
{
    std::vector<char*> argv = ArgvOf(args);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    int status = -1;
    const bool spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    QuietRun run;
    if (!spawned)
        return run;
    const bool waited = ::waitpid(pid, &status, 0) == pid;
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.ok = waited && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

}  // namespace bench
