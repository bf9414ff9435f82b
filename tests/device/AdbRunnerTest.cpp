#include "device/AdbRunner.h"
#include "platform/MessageBox.h"
#include "platform/ProgramDir.h"

#include <QDir>
#include <QFile>
#include <QMutex>
#include <QMutexLocker>
#include <QTemporaryDir>

#include "QtPrinting.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <pthread.h>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

class RecordingMessages : public kz::IMessageService {
public:
    kz::MsgAnswer Show(const kz::MessageRequest& request) override
    {
        QMutexLocker lock(&m_mutex);
        m_shown.push_back(request);
        return kz::MsgAnswer::Ok;
    }
    void Clear()
    {
        QMutexLocker lock(&m_mutex);
        m_shown.clear();
    }
    std::vector<kz::MessageRequest> Shown()
    {
        QMutexLocker lock(&m_mutex);
        return m_shown;
    }

private:
    QMutex m_mutex;
    std::vector<kz::MessageRequest> m_shown;
};

class AdbRunnerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        m_previous = kz::SetMessageService(&m_messages);
        UseProgramDirectory(QStringLiteral("program"));
    }

    void TearDown() override
    {
        kz::SetProgramDirectoryForTests(QString());
        kz::SetMessageService(m_previous);
    }

    void UseProgramDirectory(const QString& name)
    {
        m_programDir = m_root.filePath(name);
        ASSERT_TRUE(QDir().mkpath(m_programDir + QStringLiteral("/adb")));
        kz::SetProgramDirectoryForTests(m_programDir);
    }

    void InstallFile(const QByteArray& content, bool executable)
    {
        QFile file(kz::AdbClientPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
        file.close();
        if (executable)
            file.setPermissions(file.permissions() | QFile::ExeOwner);
    }

    // Installs a shell script as the client.
    void InstallClient(const QByteArray& body, bool executable = true)
    {
        InstallFile("#!/bin/sh\n" + body + "\n", executable);
    }

    QString Run(const QString& command)
    {
        QString output = QStringLiteral("unchanged");
        EXPECT_TRUE(RunAdbCommand(command, output)) << qPrintable(command);
        return output;
    }

    void ExpectOneStartFailureBox()
    {
        const auto shown = m_messages.Shown();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].text, QStringLiteral("CreateProcess Failed!"));
        EXPECT_EQ(shown[0].caption, QStringLiteral(u"提示"));
        EXPECT_EQ(shown[0].icon, kz::MsgIcon::Warning);
        EXPECT_EQ(shown[0].buttons, kz::MsgButtons::Ok);
        EXPECT_TRUE(shown[0].owner.isNull());
    }

    QTemporaryDir m_root;
    QString m_programDir;
    RecordingMessages m_messages;
    kz::IMessageService* m_previous = nullptr;
};

TEST_F(AdbRunnerTest, ReturnsStdoutAndStderrInTheOrderPrinted)
{
    InstallClient("printf 'List of devices attached \\r\\n'; echo 'to stderr' >&2; echo last");
    EXPECT_EQ(Run(QStringLiteral("devices")), QStringLiteral("List of devices attached \r\nto stderr\nlast\n"));
}

TEST_F(AdbRunnerTest, PassesTheSplitArguments)
{
    InstallClient(R"(printf '[%s]' "$@")");
    EXPECT_EQ(Run(QStringLiteral(R"(shell "cd /mnt/udisk && rm 'my file'")")),
              QStringLiteral("[shell][cd /mnt/udisk && rm 'my file']"));
}

TEST_F(AdbRunnerTest, ErrorTextAndFailingExitStillCountAsStarted)
{
    InstallClient("echo 'error: device not found' >&2; exit 1");
    EXPECT_EQ(Run(QStringLiteral("shell reboot")), QStringLiteral("error: device not found\n"));
    InstallClient("exit 3");
    EXPECT_EQ(Run(QStringLiteral("shell reboot")), QString());
    InstallClient("echo partial; kill -SEGV $$");  // a crashing client
    EXPECT_EQ(Run(QStringLiteral("shell reboot")), QStringLiteral("partial\n"));
    EXPECT_TRUE(m_messages.Shown().empty());
}

TEST_F(AdbRunnerTest, MegabytesOfOutputArriveWholeAndInOrder)
{
    // About 4.5 MB, far beyond a pipe's buffer; the runner's pieces end
    // inside multi-byte characters.
    InstallClient("seq 1 400000; yes '€ü' | head -n 300000");
    QString expected;
    for (int i = 1; i <= 400000; ++i)
        expected += QString::number(i) + u'\n';
    for (int i = 0; i < 300000; ++i)
        expected += QStringLiteral(u"€ü\n");
    const QString output = Run(QStringLiteral("shell cat big"));
    EXPECT_EQ(output.size(), expected.size());
    EXPECT_TRUE(output == expected);
}

TEST_F(AdbRunnerTest, ReturnsWhenTheClientExitsThoughABackgroundChildHoldsThePipe)
{
    // Like an adb server started by the client: it inherits the output pipe
    // and outlives the client, here still printing.
    InstallClient("(for i in $(seq 100); do echo server; sleep 0.05; done) & echo \"pid $!\"");
    const auto start = Clock::now();
    const QString output = Run(QStringLiteral("start-server"));
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(2));
    const qsizetype at = output.indexOf(QStringLiteral("pid "));
    ASSERT_GE(at, 0) << qPrintable(output);
    const int pid = output.mid(at + 4).section(u'\n', 0, 0).toInt();
    ASSERT_GT(pid, 1);
    kill(pid, SIGKILL);
}

TEST_F(AdbRunnerTest, ZeroByteCutsTheTextUpToTheNextReadFrame)
{
    InstallClient(R"(printf 'abc\000def\nxyz')");
    EXPECT_EQ(Run(QStringLiteral("devices")), QStringLiteral("abc"));
    // 9 + 4086 bytes fill the first frame of 4095; the text resumes after it.
    InstallClient(R"(printf 'head\000junk'; head -c 4086 /dev/zero | tr '\000' j; printf tail)");
    EXPECT_EQ(Run(QStringLiteral("devices")), QStringLiteral("headtail"));
}

TEST_F(AdbRunnerTest, InvalidAndSplitUtf8)
{
    InstallClient(R"(printf 'ok\377\n')");
    EXPECT_EQ(Run(QStringLiteral("devices")), QStringLiteral(u"ok\uFFFD\n"));
    // The two halves of one character come in two writes, apart in time.
    InstallClient(R"(printf '\344\270'; sleep 0.2; printf '\255\n')");
    EXPECT_EQ(Run(QStringLiteral("devices")), QStringLiteral(u"\u4e2d\n"));
    // A character across the boundary of the first read frame.
    InstallClient(R"(head -c 4094 /dev/zero | tr '\000' a; printf '\344\270\255')");
    EXPECT_EQ(Run(QStringLiteral("devices")), QString(4094, u'a') + QStringLiteral(u"\u4e2d"));
}

TEST_F(AdbRunnerTest, MissingOrUnusableClientFailsWithOneBoxAndKeepsOutput)
{
    const std::vector<std::pair<const char*, std::function<void()>>> clients = {
        {"missing", [] {}},
        {"not executable", [this] { InstallClient("echo hi", false); }},
        {"bad interpreter", [this] { InstallFile("#!/no/such/shell\necho hi\n", true); }},
    };
    for (const auto& [name, install] : clients) {
        SCOPED_TRACE(name);
        QFile::remove(kz::AdbClientPath());
        install();
        m_messages.Clear();
        QString output = QStringLiteral("kept");
        EXPECT_FALSE(RunAdbCommand(QStringLiteral("devices"), output));
        EXPECT_EQ(output, QStringLiteral("kept"));
        ExpectOneStartFailureBox();
    }
}

TEST_F(AdbRunnerTest, ProgramDirectoryWithBlanksOrBeyondTheOldPathLimit)
{
    const QString deep = QString(100, u'd') + u'/' + QString(100, u'e') + u'/' + QString(100, u'f');
    for (const QString& name : {QStringLiteral("my program dir"), deep}) {
        UseProgramDirectory(name);
        InstallClient(R"(printf '%s|' "$0" "$@")");
        EXPECT_EQ(Run(QStringLiteral("shell getprop ro.product.model")),
                  kz::AdbClientPath() + QStringLiteral("|shell|getprop|ro.product.model|"));
    }
    EXPECT_GT(kz::AdbClientPath().size(), 300);
}

TEST_F(AdbRunnerTest, ConcurrentCallsKeepTheirOwnOutput)
{
    InstallClient(R"(sleep 0.01; printf '%s' "$1")");
    std::vector<std::thread> threads;
    std::atomic<int> mismatches{0};
    for (int t = 0; t < 6; ++t) {
        threads.emplace_back([t, &mismatches] {
            for (int i = 0; i < 10; ++i) {
                const QString id = QStringLiteral("t%1-%2").arg(t).arg(i);
                QString output;
                if (!RunAdbCommand(id, output) || output != id)
                    ++mismatches;
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(mismatches.load(), 0);
}

TEST_F(AdbRunnerTest, ClientSeesEndOfInputNotTheTerminal)
{
    InstallClient(R"sh(echo "stdin:$(cat | wc -c)")sh");
    EXPECT_EQ(Run(QStringLiteral("shell")), QStringLiteral("stdin:0\n"));
}

TEST_F(AdbRunnerTest, ClientStartsWithACleanSignalState)
{
    InstallClient("grep -E '^Sig(Blk|Ign):' /proc/self/status");
    struct sigaction ignore = {};
    ignore.sa_handler = SIG_IGN;
    struct sigaction previous = {};
    sigaction(SIGUSR2, &ignore, &previous);
    QString output;
    std::thread worker([&output] {
        sigset_t blocked;
        sigfillset(&blocked);
        pthread_sigmask(SIG_BLOCK, &blocked, nullptr);
        RunAdbCommand(QStringLiteral("kill-server"), output);
    });
    worker.join();
    sigaction(SIGUSR2, &previous, nullptr);
    EXPECT_EQ(output, QStringLiteral("SigBlk:\t0000000000000000\nSigIgn:\t0000000000000000\n"));
}

TEST_F(AdbRunnerTest, HelperStopsOnlyAServerItStarted)
{
    InstallClient(R"sh(cd "$(dirname "$0")"; echo "$@" >> calls; [ -e up ] || echo '* daemon started successfully')sh");
    { CAdbHelper started; }
    QFile(m_programDir + QStringLiteral("/adb/up")).open(QIODevice::WriteOnly);  // another tool's server runs
    { CAdbHelper found; }
    QFile calls(m_programDir + QStringLiteral("/adb/calls"));
    ASSERT_TRUE(calls.open(QIODevice::ReadOnly));
    EXPECT_EQ(calls.readAll(), QByteArray("start-server\nkill-server\nstart-server\n"));
}

}  // namespace
