#pragma once
// The PC's side of a transfer: sizes, room, sums, and how far the client
// has read a file.

#include <QString>
#include <atomic>
#include <optional>
#include <sys/types.h>

namespace kz::transfer {

// Bytes of a regular file; nullopt when it is not one or cannot be read.
std::optional<quint64> RegularFileSize(const QString& path);
// Free bytes for an unprivileged writer in the folder (statvfs).
std::optional<quint64> FreeBytesIn(const QString& folder);
// Lowercase hex md5 of the file; empty when it cannot be read or `stop` is
// set meanwhile.
QString FileMd5(const QString& path, const std::atomic<bool>* stop = nullptr);
// How far a process below `root` (the client, or the adb it runs) has read
// the file `path`: the offset of its descriptor for it; nullopt when none
// has it open.
std::optional<quint64> ReadOffsetBelow(pid_t root, const QString& path);

}  // namespace kz::transfer
