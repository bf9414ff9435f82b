#include "transfer/HostFiles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <sys/statvfs.h>

namespace kz::transfer {

namespace {

QString ProcFile(pid_t pid, const QString& rest)
{
    return QStringLiteral("/proc/%1/%2").arg(pid).arg(rest);
}

QList<pid_t> Children(pid_t pid)
{
    QList<pid_t> children;
    QFile file(ProcFile(pid, QStringLiteral("task/%1/children").arg(pid)));
    if (!file.open(QIODevice::ReadOnly))
        return children;
    for (const QByteArray& word : file.readAll().split(' '))
        if (const int child = word.trimmed().toInt(); child > 0)
            children.append(child);
    return children;
}

std::optional<quint64> OffsetOf(pid_t pid, const QString& canonical)
{
    const QDir fds(ProcFile(pid, QStringLiteral("fd")));
    for (const QString& fd : fds.entryList(QDir::Files | QDir::System | QDir::NoDotAndDotDot)) {
        if (QFileInfo(fds.filePath(fd)).symLinkTarget() != canonical)
            continue;
        QFile info(ProcFile(pid, QStringLiteral("fdinfo/") + fd));
        if (!info.open(QIODevice::ReadOnly))
            continue;
        const QByteArray first = info.readLine();
        if (first.startsWith("pos:"))
            return first.mid(4).trimmed().toULongLong();
    }
    return std::nullopt;
}

}  // namespace

std::optional<quint64> RegularFileSize(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable())
        return std::nullopt;
    return quint64(info.size());
}

std::optional<quint64> FreeBytesIn(const QString& folder)
{
    struct statvfs fs {};
    if (::statvfs(QFile::encodeName(folder).constData(), &fs) != 0)
        return std::nullopt;
    return quint64(fs.f_bavail) * quint64(fs.f_frsize);
}

QString FileMd5(const QString& path, const std::atomic<bool>* stop)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Md5);
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    for (;;) {
        if (stop != nullptr && stop->load())
            return {};
        const qint64 n = file.read(buffer.data(), buffer.size());
        if (n < 0)
            return {};
        if (n == 0)
            break;
        hash.addData(QByteArrayView(buffer.constData(), n));
    }
    return QString::fromLatin1(hash.result().toHex());
}

void FollowingMd5::CatchUp()
{
    if (m_broken || (!m_file.isOpen() && !(m_file.setFileName(m_path), m_file.open(QIODevice::ReadOnly))))
        return;
    const qint64 size = m_file.size();
    if (size < m_done) {
        m_broken = true;
        return;
    }
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    while (m_done < size) {
        const qint64 n = m_file.read(buffer.data(), std::min<qint64>(buffer.size(), size - m_done));
        if (n <= 0) {
            m_broken = n < 0;
            return;
        }
        m_hash.addData(QByteArrayView(buffer.constData(), n));
        m_done += n;
    }
}

QString FollowingMd5::Finish()
{
    CatchUp();
    if (m_broken || !m_file.isOpen() || m_file.size() != m_done)
        return FileMd5(m_path);
    return QString::fromLatin1(m_hash.result().toHex());
}

std::optional<quint64> ReadOffsetBelow(pid_t root, const QString& path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    QList<pid_t> todo{root};
    for (int i = 0; i < todo.size() && i < 64; ++i) {
        if (const auto offset = OffsetOf(todo[i], canonical))
            return offset;
        todo += Children(todo[i]);
    }
    return std::nullopt;
}

}  // namespace kz::transfer
