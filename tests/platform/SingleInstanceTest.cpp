#include "platform/SingleInstance.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

const QString kTitle = QStringLiteral("KORVALD EMMC Professional");

// Every test gets its own runtime folder and a fixed display.
class SingleInstanceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedRuntime = qgetenv("XDG_RUNTIME_DIR");
        savedDisplay = qgetenv("DISPLAY");
        qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
        qputenv("DISPLAY", ":0");
    }
    void TearDown() override
    {
        qputenv("XDG_RUNTIME_DIR", savedRuntime);
        qputenv("DISPLAY", savedDisplay);
    }
    QTemporaryDir runtime;
    QByteArray savedRuntime, savedDisplay;
};

TEST_F(SingleInstanceTest, SecondHolderOfTheSameTitleIsRefusedWhateverTheCase)
{
    kz::SingleInstance first, second;
    ASSERT_TRUE(first.TryAcquire(kTitle));
    EXPECT_TRUE(first.Holds());
    EXPECT_TRUE(kz::SingleInstance::LockFilePath(kTitle).startsWith(runtime.path() + "/"));
    EXPECT_FALSE(second.TryAcquire(kTitle));
    EXPECT_FALSE(second.TryAcquire(kTitle.toLower()));
    EXPECT_FALSE(second.Holds());
    // A caption that merely contains the title is another key.
    EXPECT_TRUE(second.TryAcquire(kTitle + " 2"));
    second.Release();
    first.Release();
    EXPECT_TRUE(second.TryAcquire(kTitle.toUpper()));
}

TEST_F(SingleInstanceTest, EachDisplayHasItsOwnInstance)
{
    kz::SingleInstance onFirst, onSecond;
    ASSERT_TRUE(onFirst.TryAcquire(kTitle));
    qputenv("DISPLAY", ":1");
    EXPECT_TRUE(onSecond.TryAcquire(kTitle));
    EXPECT_TRUE(onSecond.Holds());
}

TEST_F(SingleInstanceTest, TheLockEndsWithItsProcess)
{
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        kz::SingleInstance holder;
        const char answer = holder.TryAcquire(kTitle) && holder.Holds() ? 'y' : 'n';
        (void)!write(ready[1], &answer, 1);
        pause();
        _exit(0);
    }
    char answer = 0;
    ASSERT_EQ(read(ready[0], &answer, 1), 1);
    EXPECT_EQ(answer, 'y');
    kz::SingleInstance parent;
    EXPECT_FALSE(parent.TryAcquire(kTitle));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    EXPECT_TRUE(parent.TryAcquire(kTitle));
    EXPECT_TRUE(parent.Holds());
    close(ready[0]);
    close(ready[1]);
}

TEST_F(SingleInstanceTest, ProgramsWeStartDoNotKeepTheLock)
{
    kz::SingleInstance first;
    ASSERT_TRUE(first.TryAcquire(kTitle));
    // The write end closes on exec: end of file tells the child has exec'd.
    int execed[2];
    ASSERT_EQ(pipe2(execed, O_CLOEXEC), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        execlp("sleep", "sleep", "30", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(execed[1]);
    char byte;
    ASSERT_EQ(read(execed[0], &byte, 1), 0);
    close(execed[0]);
    first.Release();
    kz::SingleInstance second;
    EXPECT_TRUE(second.TryAcquire(kTitle));
    EXPECT_TRUE(second.Holds());
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
}

TEST_F(SingleInstanceTest, AcquireWaitsForTheHolderToGo)
{
    auto holder = std::make_unique<kz::SingleInstance>();
    ASSERT_TRUE(holder->TryAcquire(kTitle));
    kz::SingleInstance waiter;
    EXPECT_FALSE(waiter.Acquire(kTitle, 150));
    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        holder.reset();
    });
    EXPECT_TRUE(waiter.Acquire(kTitle, 5000));
    release.join();
    EXPECT_TRUE(waiter.Holds());
}

}  // namespace
