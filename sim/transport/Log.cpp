#include "Log.h"

#include <cstdio>
#include <mutex>

namespace box {

void LogLine(const std::string& text)
{
    static std::mutex mutex;
    std::lock_guard lock(mutex);
    std::fprintf(stderr, "korvald-box: %s\n", text.c_str());
    std::fflush(stderr);
}

}  // namespace box
