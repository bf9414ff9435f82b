#include "platform/Locale.h"
#include "settings/Ini.h"
#include "settings/Language.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

TEST(LanguageFileName, FollowsTheLocalesLanguageAndTerritory)
{
    const struct {
        const char* locale;
        const char* file;
    } table[] = {
        {"zh_TW.UTF-8", "Language_CN_T.ini"}, {"zh_TW", "Language_CN_T.ini"},  {"zh-tw", "Language_CN_T.ini"},
        {"zh_CN.UTF-8", "Language_CN.ini"},   {"zh_HK.UTF-8", "Language_CN.ini"}, {"zh_SG", "Language_CN.ini"},
        {"en_US.UTF-8", "Language_EN.ini"},   {"en_GB@euro", "Language_EN.ini"},  {"en_US", "Language_EN.ini"},
        {"en_AU.UTF-8", "Language_CN.ini"},   {"en", "Language_CN.ini"},          {"en_USA", "Language_CN.ini"},
        {"de_DE.UTF-8", "Language_CN.ini"},   {"C", "Language_EN.ini"},           {"C.UTF-8", "Language_EN.ini"},
        {"POSIX", "Language_EN.ini"},         {"", "Language_EN.ini"},
    };
    for (const auto& row : table)
        EXPECT_EQ(kz::LanguageFileName(row.locale), row.file) << row.locale;
}

TEST(SystemLocaleName, TakesTheFirstNonEmptyOfTheCLibrarysVariables)
{
    const QByteArray saved[] = {qgetenv("LC_ALL"), qgetenv("LC_MESSAGES"), qgetenv("LANG")};
    qputenv("LC_ALL", "");
    qputenv("LC_MESSAGES", "zh_TW.UTF-8");
    qputenv("LANG", "en_US.UTF-8");
    EXPECT_EQ(kz::SystemLocaleName(), "zh_TW.UTF-8");
    qputenv("LC_ALL", "de_DE");
    EXPECT_EQ(kz::SystemLocaleName(), "de_DE");
    qunsetenv("LC_ALL");
    qunsetenv("LC_MESSAGES");
    EXPECT_EQ(kz::SystemLocaleName(), "en_US.UTF-8");
    qunsetenv("LANG");
    EXPECT_EQ(kz::SystemLocaleName(), "");
    const char* names[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    for (int i = 0; i < 3; ++i)
        if (!saved[i].isNull())
            qputenv(names[i], saved[i]);
}

class LanguageBindingTest : public ::testing::Test {
protected:
    // The operator's configuration folder is a private one.
    LanguageBindingTest() { qputenv("XDG_CONFIG_HOME", config.path().toUtf8()); }
    ~LanguageBindingTest() override { qunsetenv("XDG_CONFIG_HOME"); }

    void WriteFile(const QString& name, const QByteArray& bytes)
    {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QTemporaryDir config;
    QTemporaryDir dir;
    CIni ini;
};

TEST_F(LanguageBindingTest, BindsTheChosenFileAndReadsItsLanguage)
{
    WriteFile("Language_CN_T.ini", "[Default]\nLanguage=Chinese traditional\n[Chinese traditional]\nOK=確定\n");
    const kz::LanguageBinding b = kz::LoadLanguageBinding(dir.path() + "/", ini, "zh_TW.UTF-8");
    EXPECT_EQ(b.file, dir.filePath("Language_CN_T.ini"));
    EXPECT_EQ(ini.FileName(), b.file);
    EXPECT_EQ(b.language, "Chinese traditional");
    EXPECT_EQ(ini.Text(b.language, "OK"), QStringLiteral("確定"));
}

TEST_F(LanguageBindingTest, TheLocaleChoosesOnlyTheFileNotTheLanguage)
{
    WriteFile("Language_EN.ini", "[Default]\nLanguage=Chinese simplified\n");
    EXPECT_EQ(kz::LoadLanguageBinding(dir.path(), ini, "en_GB.UTF-8").language, "Chinese simplified");
}

TEST_F(LanguageBindingTest, LongLanguageNameIsCutAndMissingSettingIsEmpty)
{
    WriteFile("Language_CN.ini", "[Default]\nLanguage=" + QByteArray(300, 'x') + "\n");
    EXPECT_EQ(kz::LoadLanguageBinding(dir.path(), ini, "zh_CN").language, QString(255, u'x'));
    EXPECT_EQ(kz::LoadLanguageBinding(dir.path(), ini, "C").language, "");
    EXPECT_EQ(ini.FileName(), dir.filePath("Language_EN.ini"));
}

TEST_F(LanguageBindingTest, TheOperatorsChoiceComesFirstAndTheProgramFolderIsOnlyRead)
{
    const QByteArray beside = "[Default]\nLanguage=English\n[Chinese traditional]\nOK=確定\n";
    WriteFile("Language_EN.ini", beside);
    const QString file = dir.filePath("Language_EN.ini");
    // As an installed copy: the files and their folder are read-only.
    const auto readOnly = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
    QFile::setPermissions(file, readOnly);
    QFile::setPermissions(dir.path(), readOnly | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther);

    EXPECT_EQ(kz::UserLanguageFile(file), config.path() + "/korvald-emmc/Language_EN.ini");
    EXPECT_TRUE(kz::StoreLanguageChoice(file, "Chinese traditional"));
    const kz::LanguageBinding b = kz::LoadLanguageBinding(dir.path(), ini, "en_US.UTF-8");
    EXPECT_EQ(b.language, "Chinese traditional");
    EXPECT_EQ(ini.Text(b.language, "OK"), QStringLiteral("確定"));  // texts still from beside the program
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), beside);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Language_EN.ini"});
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

}  // namespace
