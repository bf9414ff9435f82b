#include "platform/AppendFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kz {

namespace {

class Fd {
public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int Get() const { return m_fd; }

private:
    int m_fd;
};

QString Reason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

int OpenForAppend(const QByteArray& path, bool& created)
{
    int fd = ::open(path.constData(), O_WRONLY | O_APPEND | O_CLOEXEC);
    created = fd < 0 && errno == ENOENT;
    if (created)
        fd = ::open(path.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    return fd;
}

// A new file's data on the disk is lost with it unless its folder's entry
// is there too.
bool SyncFolder(const QString& folder)
{
    const Fd fd(::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return fd.Get() >= 0 && ::fsync(fd.Get()) == 0;
}

bool Sync(int fd, bool created, const QString& path, QString& error)
{
    if (::fdatasync(fd) != 0 || (created && !SyncFolder(QFileInfo(path).absolutePath()))) {
        error = Reason(errno);
        return false;
    }
    return true;
}

}  // namespace

bool AppendWholeLine(const QString& path, const QByteArray& line, QString& error, Durability durability)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    bool created = false;
    const Fd fd(OpenForAppend(QFile::encodeName(path), created));
    if (fd.Get() < 0) {
        error = Reason(errno);
        return false;
    }
    struct stat before {};
    const bool sized = ::fstat(fd.Get(), &before) == 0;
    ssize_t written;
    do {
        written = ::write(fd.Get(), line.constData(), size_t(line.size()));
    } while (written < 0 && errno == EINTR);
    if (written == line.size())
        return durability == Durability::Cached || Sync(fd.Get(), created, path, error);
    error = written < 0 ? Reason(errno) : Reason(ENOSPC);
    // Half a line would join the next one into garbage: take it back.
    if (written > 0 && sized && S_ISREG(before.st_mode))
        [[maybe_unused]] int ignored = ::ftruncate(fd.Get(), before.st_size);
    return false;
}

}  // namespace kz
