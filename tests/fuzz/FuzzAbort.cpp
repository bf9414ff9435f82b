// Broken invariants in a libFuzzer binary: the abort makes libFuzzer keep
// the input as a crash.
#include "tests/fuzz/FuzzTarget.h"

#include <cstdio>
#include <cstdlib>

namespace kz::fuzz {

void ReportBrokenInvariant(const char* condition, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, condition);
    std::abort();
}

}  // namespace kz::fuzz
