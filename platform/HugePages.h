#pragma once
// Large buffers filled once from a pipe (a client's megabytes of output) pay
// more for the kernel's page faults than for the copying: backing them with
// huge pages, where the kernel offers them, makes those faults rare.

#include <QString>
#include <cstddef>

namespace kz {

// Advises huge pages for [begin, begin + bytes) when it is large and not yet
// touched; a no-op for small buffers or where the kernel does not offer them.
void AdviseHugePages(const void* begin, std::size_t bytes);

// The same for the unfilled part of `text`'s allocation.
void AdviseHugePages(const QString& text);

}  // namespace kz
