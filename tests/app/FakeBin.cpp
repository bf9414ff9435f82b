#include "app/FakeBin.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include "platform/ProgramDir.h"

namespace kz::test {

namespace {

const char kScript[] = R"sh(#!/bin/sh
dir=$(dirname "$0")
printf '%s\n' "$*" >> "$dir/calls.log"
key=$(printf '%s' "$*" | tr -c 'A-Za-z0-9' '_')
# The answer of the moment of the call, even when the test changes it while
# this call still waits.
taken="$dir/answers/taken.$$"
[ -f "$dir/answers/$key" ] && cp "$dir/answers/$key" "$taken"
[ -f "$dir/answers/$key.delay" ] && sleep "$(cat "$dir/answers/$key.delay")"
[ -f "$taken" ] && cat "$taken" && rm -f "$taken"
exit 0
)sh";

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << qPrintable(path);
    file.write(bytes);
}

}  // namespace

FakeBin::FakeBin()
{
    const QString bin = QStringLiteral(KZ_BIN_DIR);
    QDir().mkpath(Dir() + QStringLiteral("/adb/answers"));
    const QString script = Dir() + QStringLiteral("/adb/kz_daemon");
    WriteFile(script, kScript);
    QFile::setPermissions(script, QFile::permissions(script) | QFile::ExeOwner | QFile::ExeUser);
    // The skins are only read: a link spares copying every image per test.
    QFile::link(bin + QStringLiteral("/skin"), Dir() + QStringLiteral("/skin"));
    for (const char* name : {"Language_EN.ini", "Language_CN.ini", "Language_CN_T.ini"})
        QFile::copy(bin + u'/' + QLatin1String(name), Dir() + u'/' + QLatin1String(name));
    kz::SetProgramDirectoryForTests(Dir());
    // As when no server ran: each helper's start starts one, so it stops it.
    Answer(QStringLiteral("start-server"), "* daemon started successfully *\r\n");
}

FakeBin::~FakeBin()
{
    kz::SetProgramDirectoryForTests(QString());
}

QString FakeBin::AnswerPath(const QString& command) const
{
    QString key = command;
    key.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9]")), QStringLiteral("_"));
    return Dir() + QStringLiteral("/adb/answers/") + key;
}

void FakeBin::Answer(const QString& command, const QByteArray& output)
{
    WriteFile(AnswerPath(command), output);
}

void FakeBin::Delay(const QString& command, double seconds)
{
    WriteFile(AnswerPath(command) + QStringLiteral(".delay"), QByteArray::number(seconds));
}

QStringList FakeBin::Calls() const
{
    QFile file(Dir() + QStringLiteral("/adb/calls.log"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

void FakeBin::ClearCalls()
{
    QFile::remove(Dir() + QStringLiteral("/adb/calls.log"));
}

}  // namespace kz::test
