#include "settings/Ini.h"

#include "settings/IniParse.h"

#include <QFile>
#include <QMutexLocker>
#include <QSaveFile>

#include <algorithm>
#include <optional>

namespace {

// Language files are a few kilobytes; a path bound to something endless
// (a device, a runaway file) must not hang or exhaust the program.
constexpr qint64 kMaxFileSize = 4 * 1024 * 1024;

std::optional<QByteArray> ReadWhole(QFile& file)
{
    const QByteArray data = file.read(kMaxFileSize + 1);
    if (data.size() > kMaxFileSize || file.error() != QFileDevice::NoError)
        return std::nullopt;
    return data;
}

// Writes from two dialogs (or two CIni objects on one file) must not
// interleave their read-modify-write.
QMutex g_writeMutex;

}  // namespace

void CIni::SetFileName(const QString* path)
{
    QMutexLocker lock(&m_mutex);
    m_path = path ? *path : QString();
}

QString CIni::FileName() const
{
    QMutexLocker lock(&m_mutex);
    return m_path;
}

QString CIni::ReadString(const QString& section, const QString& key) const
{
    const QString path = FileName();
    if (path.isEmpty())
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const std::optional<QByteArray> data = ReadWhole(file);
    return data ? kz::IniLookup(*data, section, key) : QString();
}

int CIni::GetString(const QString& section, const QString& key, QChar* out) const
{
    if (out)
        out[0] = QChar();
    const QString value = ReadString(section, key);
    const int length = int(value.size());
    if (!out)
        return length;
    const int copied = std::min(length, kTextBufferSize - 1);
    std::copy_n(value.constData(), copied, out);
    out[copied] = QChar();
    return length >= kTextBufferSize ? kTextBufferSize : length;
}

QString CIni::Text(const QString& section, const QString& key) const
{
    return ReadString(section, key).left(kTextBufferSize - 1);
}

bool CIni::WriteString(const QString& section, const QString& key, const QString& value)
{
    const QString path = FileName();
    if (path.isEmpty())
        return false;
    QMutexLocker lock(&g_writeMutex);
    QByteArray data;
    QFile current(path);
    if (current.exists()) {
        // A file we cannot read must not be replaced by one holding only the
        // new entry.
        if (!current.open(QIODevice::ReadOnly))
            return false;
        const std::optional<QByteArray> whole = ReadWhole(current);
        if (!whole)
            return false;
        data = *whole;
        current.close();
    }
    const std::optional<QByteArray> updated = kz::IniWithValue(data, section, key, value);
    if (!updated)
        return false;
    // Written beside the file and renamed over it, so a full disk or a crash
    // leaves the old file whole.  Where the folder is not writable but the
    // file is, it is rewritten in place.
    QSaveFile out(path);
    out.setDirectWriteFallback(true);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    if (out.write(*updated) != updated->size()) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}
