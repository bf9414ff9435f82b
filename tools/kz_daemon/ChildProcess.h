#pragma once
// Starting adb with its standard output and standard error on one pipe.

#include <string>
#include <sys/types.h>
#include <vector>

namespace kz::adapter {

struct Child
{
    pid_t pid = -1;
    int output = -1;  // read end, non-blocking, close-on-exec
};

enum class StdinSource { Inherit, DevNull };

// Starts `program` (a path, or a name looked up on PATH) with `args` after its
// own name.  The child gets an empty signal mask and default dispositions for
// every signal: an adb server forked from it must still obey kill-server's
// SIGTERM even when the adapter was started with signals blocked.  Returns 0
// or the errno of the failure.
int SpawnMerged(const std::string& program, const std::vector<std::string>& args, StdinSource in, Child& child);

}  // namespace kz::adapter
