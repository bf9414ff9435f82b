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

}  // namespace

bool AppendWholeLine(const QString& path, const QByteArray& line, QString& error)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    const Fd fd(::open(QFile::encodeName(path).constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644));
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
        return true;
    error = written < 0 ? Reason(errno) : Reason(ENOSPC);
    // Half a line would join the next one into garbage: take it back.
    if (written > 0 && sized && S_ISREG(before.st_mode))
        [[maybe_unused]] int ignored = ::ftruncate(fd.Get(), before.st_size);
    return false;
}

}  // namespace kz
