#pragma once

namespace kz::adapter {

// Ends the adapter the way adb ended: with its exit code, or, when adb died
// of a signal, by the same signal (without a core file of our own), so that
// a caller can tell a crash from a failure.  Returns only when the signal did
// not end the process; the result is then the shell's 128 + signal.
int ExitLikeChild(int waitStatus);

}  // namespace kz::adapter
