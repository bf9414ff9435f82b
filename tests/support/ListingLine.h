#pragma once
// One file's "ls -l" line as the box's toolbox prints it, and as it crosses
// adb (every line ended by CR CR LF).

#include <QString>

namespace kz::test {

// `size` is text so that a line can carry a size the box should never print.
inline QString LsLine(const QString& size, const QString& name)
{
    return QStringLiteral("-rw-rw-r-- root     root     %1 2024-05-01 09:30 %2").arg(size, 8).arg(name);
}

inline QString LsLine(qint64 size, const QString& name) { return LsLine(QString::number(size), name); }

inline QString LsListed(qint64 size, const QString& name) { return LsLine(size, name) + QStringLiteral("\r\r\n"); }

}  // namespace kz::test
