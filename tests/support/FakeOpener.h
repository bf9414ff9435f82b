#pragma once
// A private PATH whose xdg-open records each address it was given, one a line.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace kz::test {

class FakeOpener {
public:
    FakeOpener()
    {
        m_oldPath = qgetenv("PATH");
        QFile script(m_dir.path() + QStringLiteral("/xdg-open"));
        EXPECT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$*\" >> '%1'\n").arg(Record()).toUtf8());
        script.close();
        script.setPermissions(script.permissions() | QFile::ExeOwner);
        qputenv("PATH", m_dir.path().toUtf8() + ':' + m_oldPath);
    }
    ~FakeOpener() { qputenv("PATH", m_oldPath); }
    FakeOpener(const FakeOpener&) = delete;
    FakeOpener& operator=(const FakeOpener&) = delete;

    QString Record() const { return m_dir.path() + QStringLiteral("/opened"); }
    QString Opened() const
    {
        QFile file(Record());
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

private:
    QTemporaryDir m_dir;
    QByteArray m_oldPath;
};

}  // namespace kz::test
