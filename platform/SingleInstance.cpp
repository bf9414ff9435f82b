#include "platform/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kz {

namespace {

// A folder only this user can write: XDG_RUNTIME_DIR, or /tmp/korvald-<uid>
// when that is not set.  A folder under /tmp that someone else made (or a
// link placed there) is not trusted.
QString RuntimeFolder()
{
    const QString xdg = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!xdg.isEmpty() && QFileInfo(xdg).isDir())
        return xdg;
    const QString dir = QStringLiteral("/tmp/korvald-%1").arg(getuid());
    const QByteArray native = QFile::encodeName(dir);
    if (mkdir(native.constData(), 0700) != 0 && errno != EEXIST)
        return {};
    struct stat st {};
    if (lstat(native.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != getuid() ||
        (st.st_mode & 0077) != 0)
        return {};
    return dir;
}

QString Display()
{
    const QString x11 = qEnvironmentVariable("DISPLAY");
    return x11.isEmpty() ? qEnvironmentVariable("WAYLAND_DISPLAY") : x11;
}

// Readable for the curious, unique through the hash.
QString LockFileName(const QString& key, const QString& display)
{
    const QString folded = key.toCaseFolded();
    QString readable;
    for (QChar c : folded.left(40))
        readable += (c.isLetterOrNumber() && c.unicode() < 128) ? c : QChar(u'_');
    const QByteArray hash =
        QCryptographicHash::hash((folded + u'\n' + display).toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
    return QStringLiteral("%1-%2.lock").arg(readable, QString::fromLatin1(hash));
}

}  // namespace

SingleInstance::~SingleInstance() { Release(); }

QString SingleInstance::LockFilePath(const QString& key)
{
    const QString folder = RuntimeFolder();
    return folder.isEmpty() ? QString() : folder + u'/' + LockFileName(key, Display());
}

bool SingleInstance::TryAcquire(const QString& key)
{
    if (Holds())
        return true;
    const QString path = LockFilePath(key);
    if (path.isEmpty())
        return true;
    // Close-on-exec: programs we start (the FTP client, a restarted copy of
    // ourselves) must not inherit the lock and keep it alive after we end.
    const int fd = open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return true;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        close(fd);
        return !held;
    }
    m_fd = fd;
    return true;
}

bool SingleInstance::Acquire(const QString& key, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!TryAcquire(key)) {
        if (timer.elapsed() >= timeoutMs)
            return false;
        QThread::msleep(50);
    }
    return true;
}

void SingleInstance::Release()
{
    if (m_fd >= 0)
        close(m_fd);
    m_fd = -1;
}

}  // namespace kz
