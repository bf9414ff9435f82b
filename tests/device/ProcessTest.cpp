#include "platform/Process.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

QString WriteScript(const QTemporaryDir& dir, const QString& name, const QByteArray& body)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("#!/bin/sh\n" + body + "\n");
    file.close();
    file.setPermissions(file.permissions() | QFile::ExeOwner);
    return path;
}

// Waits up to two seconds for a file the child writes.
QByteArray AwaitFile(const QString& path)
{
    const auto deadline = Clock::now() + std::chrono::seconds(2);
    while (Clock::now() < deadline) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly)) {
            const QByteArray content = file.readAll();
            if (content.endsWith('\n'))
                return content;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return {};
}

TEST(StartDetached, StartsInItsOwnProcessGroupOnRequest)
{
    QTemporaryDir dir;
    // Field 5 of /proc/PID/stat is the process group.
    const QString script = WriteScript(dir, QStringLiteral("who"),
        R"(echo "$$ $(cut -d' ' -f5 /proc/$$/stat) $1" > "$(dirname "$0")/$2.tmp"; mv "$(dirname "$0")/$2.tmp" "$(dirname "$0")/$2")");
    ASSERT_TRUE(kz::StartDetached(script, {QStringLiteral("arg one"), QStringLiteral("own")}, true));
    ASSERT_TRUE(kz::StartDetached(script, {QStringLiteral("x"), QStringLiteral("shared")}, false));

    const QList<QByteArray> own = AwaitFile(dir.filePath(QStringLiteral("own"))).trimmed().split(' ');
    ASSERT_EQ(own.size(), 4);
    EXPECT_EQ(own[0], own[1]);
    EXPECT_EQ(own[2] + ' ' + own[3], QByteArray("arg one"));

    const QList<QByteArray> shared = AwaitFile(dir.filePath(QStringLiteral("shared"))).trimmed().split(' ');
    ASSERT_EQ(shared.size(), 3);
    EXPECT_EQ(shared[1].toInt(), getpgrp());
}

TEST(StartDetached, ReportsWhatCannotStart)
{
    QTemporaryDir dir;
    EXPECT_FALSE(kz::StartDetached(dir.filePath(QStringLiteral("missing")), {}, true));
    EXPECT_FALSE(kz::StartDetached(QStringLiteral("kz-no-such-program-in-path"), {}, true));
    EXPECT_FALSE(kz::StartDetached(dir.path(), {}, false));  // a directory
    EXPECT_TRUE(kz::StartDetached(QStringLiteral("true"), {}, false));  // searched in PATH
}

TEST(PipedChild, StopFlagEndsPumpingAndLeavesTheChildRunning)
{
    QTemporaryDir dir;
    const QString script = WriteScript(dir, QStringLiteral("slow"), "echo begun; sleep 30");
    kz::PipedChild child;
    ASSERT_EQ(child.Start(script, {}), kz::StartResult::Started);
    std::atomic<bool> stop{false};
    QByteArray seen;
    std::thread stopper([&stop] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        stop = true;
    });
    const auto start = Clock::now();
    const auto end = child.Pump([&seen](const char* d, std::size_t n) { seen.append(d, qsizetype(n)); }, &stop,
                                std::chrono::milliseconds(20));
    stopper.join();
    EXPECT_EQ(end, kz::PipedChild::PumpEnd::Stopped);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(2));
    EXPECT_EQ(seen, QByteArray("begun\n"));
    EXPECT_FALSE(child.HasExited());
    EXPECT_EQ(kill(child.Pid(), 0), 0);
    kill(child.Pid(), SIGKILL);
}

TEST(PipedChild, ReportsTheExitStatus)
{
    QTemporaryDir dir;
    const QString script = WriteScript(dir, QStringLiteral("fails"), "exit 7");
    kz::PipedChild child;
    ASSERT_EQ(child.Start(script, {}), kz::StartResult::Started);
    child.CloseInput();
    EXPECT_EQ(child.Pump([](const char*, std::size_t) {}), kz::PipedChild::PumpEnd::Exited);
    ASSERT_TRUE(child.HasExited());
    EXPECT_TRUE(WIFEXITED(child.ExitStatus()));
    EXPECT_EQ(WEXITSTATUS(child.ExitStatus()), 7);
    EXPECT_EQ(child.Start(script, {}), kz::StartResult::SpawnFailed);  // one child per object
}

}  // namespace
