#include "StreamScript.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace kz::test {

namespace {

const char kDispatcher[] = R"sh(#!/bin/sh
dir=$(dirname "$0")
key=$(printf '%s' "$*" | tr -c 'A-Za-z0-9' '_')
if [ -f "$dir/streams/$key.sh" ]; then
  printf '%s\n' "$*" >> "$dir/calls.log"
  exec sh "$dir/streams/$key.sh" "$dir"
fi
exec "$dir/kz_daemon.answers" "$@"
)sh";

QString ClientDir(const FakeBin& bin)
{
    return bin.Dir() + QStringLiteral("/adb");
}

void Write(const QString& path, const QByteArray& bytes, bool executable)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << qPrintable(path);
    file.write(bytes);
    file.close();
    if (executable)
        file.setPermissions(file.permissions() | QFile::ExeOwner | QFile::ExeUser);
}

}  // namespace

void StreamCommand(FakeBin& bin, const QString& command, const QByteArray& script)
{
    const QString dir = ClientDir(bin);
    if (!QFile::exists(dir + QStringLiteral("/kz_daemon.answers"))) {
        ASSERT_TRUE(QFile::rename(dir + QStringLiteral("/kz_daemon"), dir + QStringLiteral("/kz_daemon.answers")));
        Write(dir + QStringLiteral("/kz_daemon"), kDispatcher, true);
        QDir().mkpath(dir + QStringLiteral("/streams"));
    }
    QString key = command;
    key.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9]")), QStringLiteral("_"));
    Write(dir + QStringLiteral("/streams/") + key + QStringLiteral(".sh"), script, false);
}

void WriteClientFile(const FakeBin& bin, const QString& name, const QByteArray& bytes)
{
    Write(ClientDir(bin) + u'/' + name, bytes, false);
}

bool ClientFileExists(const FakeBin& bin, const QString& name)
{
    return QFile::exists(ClientDir(bin) + u'/' + name);
}

QByteArray WaitForGate(const char* name)
{
    return QByteArray("while [ ! -f \"$1/") + name + "\" ]; do sleep 0.01; done\n";
}

void OpenGate(const FakeBin& bin, const char* name)
{
    WriteClientFile(bin, QString::fromUtf8(name), "open");
}

void RemoveClient(const FakeBin& bin)
{
    ASSERT_TRUE(QFile::remove(ClientDir(bin) + QStringLiteral("/kz_daemon")));
}

}  // namespace kz::test
