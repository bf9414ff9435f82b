#include "settings/Ini.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace {

class IniLookupTest : public ::testing::Test {
protected:
    QString Write(const QByteArray& bytes)
    {
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        return path;
    }
    void Bind(const QByteArray& bytes) { ini.SetFileName(Write(bytes)); }

    QTemporaryDir dir;
    QString path = dir.filePath("Language_EN.ini");
    CIni ini;
};

TEST_F(IniLookupTest, SectionsAndKeysMatchWithoutRegardToCase)
{
    Bind("[English]\nSDcard=SD card\nPrompt = Notice \n[Default]\nLanguage=English\n");
    EXPECT_EQ(ini.ReadString("english", "sdCARD"), "SD card");
    EXPECT_EQ(ini.ReadString("ENGLISH", "Sdcard"), "SD card");
    EXPECT_EQ(ini.ReadString("English", "prompt"), "Notice");
    EXPECT_EQ(ini.ReadString("DEFAULT", "LANGUAGE"), "English");
}

TEST_F(IniLookupTest, MissingFileSectionOrKeyGivesEmptyText)
{
    QChar out[CIni::kTextBufferSize];
    out[0] = u'x';
    ini.SetFileName(dir.filePath("absent.ini"));
    EXPECT_EQ(ini.GetString("English", "Prompt", out), 0);
    EXPECT_EQ(out[0], QChar());

    Bind("[English]\nPrompt=Notice\n");
    EXPECT_EQ(ini.ReadString("Chinese simplified", "Prompt"), "");
    out[0] = u'x';
    EXPECT_EQ(ini.GetString("English", "No such key", out), 0);
    EXPECT_EQ(out[0], QChar());
    EXPECT_EQ(ini.GetString("English", "No such key", nullptr), 0);
}

TEST_F(IniLookupTest, EmptyOrNullNamesNeverMatchEntriesOutsideASection)
{
    // Keys before the first header belong to no section: an empty language
    // name (no "Default" setting) must not find them.
    Bind("Prompt=stray\n[English]\nPrompt=Notice\n");
    EXPECT_EQ(ini.ReadString("", "Prompt"), "");
    EXPECT_EQ(ini.ReadString(QString(), "Prompt"), "");
    EXPECT_EQ(ini.ReadString("English", QString()), "");
}

TEST_F(IniLookupTest, UnbindingWithNullPathGivesEmptyTexts)
{
    Bind("[English]\nPrompt=Notice\n");
    ASSERT_EQ(ini.Text("English", "Prompt"), "Notice");
    ini.SetFileName(nullptr);
    EXPECT_EQ(ini.Text("English", "Prompt"), "");
    EXPECT_TRUE(ini.FileName().isEmpty());
    EXPECT_FALSE(ini.WriteString("Default", "Language", "English"));
}

TEST_F(IniLookupTest, OutBufferKeeps255CharactersAndReportsOverflowAs256)
{
    const QString v300(300, u'a');
    const QString v255 = QString(254, u'b') + u'c';
    const QString v256(256, u'd');
    Bind("[L]\nlong=" + v300.toUtf8() + "\nfit=" + v255.toUtf8() + "\nedge=" + v256.toUtf8() + "\n");

    QChar out[CIni::kTextBufferSize];
    EXPECT_EQ(ini.GetString("L", "long", out), 256);
    EXPECT_EQ(QString(out), v300.left(255));
    EXPECT_EQ(ini.GetString("L", "long", nullptr), 300);

    EXPECT_EQ(ini.GetString("L", "fit", out), 255);
    EXPECT_EQ(QString(out), v255);

    EXPECT_EQ(ini.GetString("L", "edge", out), 256);
    EXPECT_EQ(QString(out).size(), 255);
    EXPECT_EQ(ini.Text("L", "long"), v300.left(255));
}

TEST_F(IniLookupTest, ValuesOfAnyLengthAreReadWhole)
{
    const QString huge = QString(5000, u'x') + QStringLiteral("尾");
    Bind("[L]\nk=" + huge.toUtf8() + "\n");
    EXPECT_EQ(ini.ReadString("L", "k"), huge);
    EXPECT_EQ(ini.GetString("L", "k", nullptr), huge.size());
}

TEST_F(IniLookupTest, Utf8TextsAndOddKeysRoundTrip)
{
    Bind("\xEF\xBB\xBF[Chinese simplified]\r\n"
         "File num is out of range,please enter again！=文件序号超出范围，请重新输入！\r\n"
         "Are you sure to create master?!=确定要制作母片吗？！\r\n"
         "Program Version:=程序版本：\r\n");
    EXPECT_EQ(ini.ReadString("Chinese simplified", QStringLiteral("File num is out of range,please enter again！")),
              QStringLiteral("文件序号超出范围，请重新输入！"));
    EXPECT_EQ(ini.ReadString("chinese SIMPLIFIED", "Are you sure to create master?!"), QStringLiteral("确定要制作母片吗？！"));
    EXPECT_EQ(ini.ReadString("Chinese simplified", "Program Version:"), QStringLiteral("程序版本："));
}

TEST_F(IniLookupTest, CommentsAndLinesWithoutEqualsSignAreNotEntries)
{
    Bind("; texts of the program\n# second comment\n[Default]\nLanguage=English\n"
         "[English]\n;OK=commented out\nnot an entry\nOK=Fine\n");
    EXPECT_EQ(ini.ReadString("Default", "Language"), "English");
    EXPECT_EQ(ini.ReadString("English", "OK"), "Fine");
    EXPECT_EQ(ini.ReadString("English", "not an entry"), "");
}

TEST_F(IniLookupTest, FirstOfRepeatedKeysWins)
{
    Bind("[English]\nOK=first\nok=second\n[english]\nOK=third\n");
    EXPECT_EQ(ini.ReadString("English", "OK"), "first");
}

TEST_F(IniLookupTest, EveryLookupSeesTheFileAsItIsNow)
{
    Bind("[English]\nPrompt=Notice\n");
    ASSERT_EQ(ini.ReadString("English", "Prompt"), "Notice");
    Write("[English]\nPrompt=Attention\n");
    EXPECT_EQ(ini.ReadString("English", "Prompt"), "Attention");
}

TEST_F(IniLookupTest, AnEndlessFileGivesEmptyTextsAndIsNotWritten)
{
    ini.SetFileName(QStringLiteral("/dev/zero"));
    EXPECT_EQ(ini.ReadString("English", "Prompt"), "");
    EXPECT_FALSE(ini.WriteString("Default", "Language", "English"));
}

TEST_F(IniLookupTest, BrokenBytesGiveATextAndNoCrash)
{
    Bind(QByteArray("[English]\nbad=\xff\xfe ok\nzero=be") + QByteArray(1, '\0') + "fore\nafter=x\n");
    EXPECT_EQ(ini.ReadString("English", "bad"), QString::fromUtf8("\xff\xfe ok"));
    EXPECT_EQ(ini.ReadString("English", "zero"), "be");
}

}  // namespace
