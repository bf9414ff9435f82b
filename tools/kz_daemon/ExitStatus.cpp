#include "tools/kz_daemon/ExitStatus.h"

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>

namespace kz::adapter {

int ExitLikeChild(int waitStatus)
{
    if (WIFEXITED(waitStatus))
        return WEXITSTATUS(waitStatus);
    if (!WIFSIGNALED(waitStatus))
        return 1;
    const int sig = WTERMSIG(waitStatus);
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    std::signal(sig, SIG_DFL);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, sig);
    raise(sig);
    sigprocmask(SIG_UNBLOCK, &set, nullptr);
    return 128 + sig;
}

}  // namespace kz::adapter
