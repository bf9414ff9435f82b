#include "platform/OpenUrl.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

namespace {

// A fake opener that records the arguments it was given.
class OpenUrlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QFile script(opener);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$0.args.tmp\"\n"
                     "mv \"$0.args.tmp\" \"$0.args\"\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QByteArray RecordedArgs()
    {
        QElapsedTimer timer;
        timer.start();
        QFile args(opener + ".args");
        while (!args.exists() && timer.elapsed() < 5000)
            QThread::msleep(20);
        return args.open(QIODevice::ReadOnly) ? args.readAll() : QByteArray();
    }
    QTemporaryDir dir;
    QString opener = dir.filePath("opener");
};

TEST_F(OpenUrlTest, HandsTheAddressOverAsOneArgument)
{
    const QString url = QStringLiteral("https://example.com/a?x=1&y='2';$(reboot)");
    ASSERT_TRUE(kz::OpenUrlWith(opener, url));
    EXPECT_EQ(RecordedArgs(), url.toUtf8() + "\n");
}

TEST_F(OpenUrlTest, RefusesWhatIsNotAnAddress)
{
    EXPECT_FALSE(kz::OpenUrlWith(opener, ""));
    EXPECT_FALSE(kz::OpenUrlWith(opener, "--help"));
    EXPECT_FALSE(kz::OpenUrlWith(opener, "no scheme here"));
}

TEST_F(OpenUrlTest, AMissingOpenerIsAFailure)
{
    EXPECT_FALSE(kz::OpenUrlWith(dir.filePath("absent"), "https://example.com/"));
}

}  // namespace
