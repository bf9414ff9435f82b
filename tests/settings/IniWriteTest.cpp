#include "settings/Ini.h"
#include "settings/IniParse.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <thread>
#include <unistd.h>

namespace {

using kz::IniWithValue;

TEST(IniWithValue, ReplacesOnlyTheValueOfTheFirstMatchingLine)
{
    const QByteArray file = "; comment\r\n[English]\r\nOK=OK\r\n\r\n[default]\r\nlanguage = English\r\nLanguage=Other\r\n";
    EXPECT_EQ(*IniWithValue(file, "Default", "Language", "Chinese simplified"),
              "; comment\r\n[English]\r\nOK=OK\r\n\r\n[default]\r\nlanguage = Chinese simplified\r\nLanguage=Other\r\n");
}

TEST(IniWithValue, AddsAMissingKeyAtTheEndOfTheSectionsFirstBlock)
{
    EXPECT_EQ(*IniWithValue("[Default]\nA=1\n\n; about English\n[English]\nOK=OK\n", "Default", "Language", "English"),
              "[Default]\nA=1\nLanguage=English\n\n; about English\n[English]\nOK=OK\n");
    EXPECT_EQ(*IniWithValue("[English]\nOK=OK\n[Default]", "Default", "Language", "English"),
              "[English]\nOK=OK\n[Default]\nLanguage=English\n");
}

TEST(IniWithValue, ABrokenHeaderIsNeitherSectionNorEntry)
{
    const QByteArray file = "[Default\nLanguage=Broken\n";
    EXPECT_EQ(kz::IniLookup(file, "Default", "Language"), "");
    EXPECT_EQ(*IniWithValue(file, "Default", "Language", "English"), file + "[Default]\nLanguage=English\n");
}

TEST(IniWithValue, AppendsAMissingSectionKeepingTheFilesLineEnds)
{
    EXPECT_EQ(*IniWithValue("", "Default", "Language", "English"), "[Default]\nLanguage=English\n");
    EXPECT_EQ(*IniWithValue("[English]\r\nOK=OK", "Default", "Language", "English"),
              "[English]\r\nOK=OK\r\n[Default]\r\nLanguage=English\r\n");
}

TEST(IniWithValue, KeepsTheByteOrderMarkAndMatchesAHeaderRightAfterIt)
{
    EXPECT_EQ(*IniWithValue("\xEF\xBB\xBF[Default]\nLanguage=English\n", "Default", "Language", "English2"),
              "\xEF\xBB\xBF[Default]\nLanguage=English2\n");
}

TEST(IniWithValue, RefusesWhatCannotBeOneLine)
{
    EXPECT_FALSE(IniWithValue("", "Default", "Language", "a\nb"));
    EXPECT_FALSE(IniWithValue("", "Default", "Lang=uage", "x"));
    EXPECT_FALSE(IniWithValue("", "Def]ault", "Language", "x"));
    EXPECT_FALSE(IniWithValue("", "", "Language", "x"));
    EXPECT_FALSE(IniWithValue("", "Default", "  ", "x"));
    EXPECT_FALSE(IniWithValue("", "Default", "[Language", "x"));
}

TEST(IniWithValue, WhatIsWrittenIsWhatIsRead)
{
    QByteArray file = "[Default]\nLanguage=English\n";
    for (const char* value : {"Chinese simplified", "", "English"}) {
        file = *IniWithValue(file, "Default", "Language", value);
        EXPECT_EQ(kz::IniLookup(file, "default", "LANGUAGE"), value);
    }
    file = *IniWithValue(file, QStringLiteral("Chinese traditional"), QStringLiteral("確定？！"), QStringLiteral("是"));
    EXPECT_EQ(kz::IniLookup(file, "Chinese traditional", QStringLiteral("確定？！")), QStringLiteral("是"));
}

class IniWriteFile : public ::testing::Test {
protected:
    QByteArray Read() const
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }
    void Write(const QByteArray& bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    QTemporaryDir dir;
    QString path = dir.filePath("Language_CN.ini");
    CIni ini;
};

TEST_F(IniWriteFile, StoresTheSettingAndKeepsTheRestOfTheFile)
{
    Write("[Default]\nLanguage=English\n[English]\nOK=OK\n");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    ini.SetFileName(path);
    ASSERT_TRUE(ini.WriteString("Default", "Language", "Chinese traditional"));
    EXPECT_EQ(Read(), "[Default]\nLanguage=Chinese traditional\n[English]\nOK=OK\n");
    EXPECT_EQ(QFile::permissions(path), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                            QFile::ReadUser | QFile::WriteUser);
}

TEST_F(IniWriteFile, CreatesAMissingFile)
{
    ini.SetFileName(path);
    ASSERT_TRUE(ini.WriteString("Default", "Language", "English"));
    EXPECT_EQ(ini.ReadString("Default", "Language"), "English");
}

TEST_F(IniWriteFile, FailsWithoutTouchingAFileItCannotRead)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind root";
    Write("[Default]\nLanguage=English\n[English]\nOK=OK\n");
    QFile::setPermissions(path, QFile::WriteOwner);
    ini.SetFileName(path);
    EXPECT_FALSE(ini.WriteString("Default", "Language", "English"));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(Read(), "[Default]\nLanguage=English\n[English]\nOK=OK\n");
}

TEST_F(IniWriteFile, FailsWhenThePathIsAFolder)
{
    ASSERT_TRUE(QDir().mkpath(path + "/keep"));
    ini.SetFileName(path);
    EXPECT_FALSE(ini.WriteString("Default", "Language", "English"));
    EXPECT_TRUE(QFileInfo(path + "/keep").isDir());
}

TEST_F(IniWriteFile, FailsOnAReadOnlyFile)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind root";
    Write("[Default]\nLanguage=English\n");
    QFile::setPermissions(path, QFile::ReadOwner);
    ini.SetFileName(path);
    EXPECT_FALSE(ini.WriteString("Default", "Language", "Chinese simplified"));
    EXPECT_EQ(ini.ReadString("Default", "Language"), "English");
}

TEST_F(IniWriteFile, ConcurrentWritersKeepEachOthersEntries)
{
    Write("[Default]\nLanguage=English\n");
    CIni other;
    ini.SetFileName(path);
    other.SetFileName(path);
    std::thread a([&] { for (int i = 0; i < 50; ++i) ini.WriteString("A", QString("k%1").arg(i), "a"); });
    std::thread b([&] { for (int i = 0; i < 50; ++i) other.WriteString("B", QString("k%1").arg(i), "b"); });
    a.join();
    b.join();
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(ini.ReadString("A", QString("k%1").arg(i)), "a") << i;
        EXPECT_EQ(ini.ReadString("B", QString("k%1").arg(i)), "b") << i;
    }
    EXPECT_EQ(ini.ReadString("Default", "Language"), "English");
}

}  // namespace
