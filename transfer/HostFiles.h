#pragma once
// The PC's side of a transfer: sizes, room, sums, and how far the client
// has read a file.

#include <QCryptographicHash>
#include <QFile>
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
// The md5 of a file that another process is still writing from its start:
// what has arrived is summed as it arrives, so that once the writer is done
// only the tail is left.  A file that shrinks meanwhile is summed afresh.
class FollowingMd5 {
public:
    explicit FollowingMd5(QString path) : m_path(std::move(path)) {}
    void CatchUp();
    // Lowercase hex of the whole file as it is now; empty when unreadable.
    QString Finish();

private:
    QString m_path;
    QFile m_file;
    QCryptographicHash m_hash{QCryptographicHash::Md5};
    qint64 m_done = 0;
    bool m_broken = false;
};

// How far a process below `root` (the client, or the adb it runs) has read
// the file `path`: the offset of its descriptor for it; nullopt when none
// has it open.
std::optional<quint64> ReadOffsetBelow(pid_t root, const QString& path);

}  // namespace kz::transfer
