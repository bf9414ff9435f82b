#pragma once
// The adb client adapter: runs Debian's adb with the caller's arguments and
// streams its rewritten output to standard output.

#include <string>
#include <vector>

namespace kz::adapter {

// The adb to run: $ADB when set and not empty, else "adb" on PATH.
std::string AdbProgram();

// Returns the exit code for the adapter; see ExitLikeChild for a crash.
int RunAdapter(const std::vector<std::string>& args);

}  // namespace kz::adapter
