#include "platform/HugePages.h"

#include <cstdint>
#include <sys/mman.h>
#include <unistd.h>

namespace kz {

namespace {

// Below a few huge pages the advice cannot pay for its system call.
constexpr std::size_t kWorthAdvising = std::size_t(8) << 20;

}  // namespace

void AdviseHugePages(const void* start, std::size_t bytes)
{
    if (bytes < kWorthAdvising)
        return;
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto begin = reinterpret_cast<std::uintptr_t>(start);
    const auto end = begin + bytes;
    const std::uintptr_t first = (begin + page - 1) & ~(page - 1);
    const std::uintptr_t last = end & ~(page - 1);
    if (last > first)
        madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);  // advice only: failure is harmless
}

}  // namespace kz

namespace kz {

void AdviseHugePages(const QString& text)
{
    const QChar* unfilled = text.constData() + text.size();
    AdviseHugePages(unfilled, std::size_t(text.capacity() - text.size()) * sizeof(QChar));
}

}  // namespace kz
