// The language settings dialog on a main window with the English language
// file of a fake program folder.
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

#include "support/MainFrameFixture.h"
#include "settings/ConfigDlg.h"
#include "settings/ConfigDlgRestart.h"
#include "settings/Language.h"

using namespace kz::test;

namespace {

const char kSetOkRestart[] =
    "Set successfully!You must restart the program for the changes to take effect.Resatrt now?!";

class ConfigDialog : public MainFrameFixture {
protected:
    ConfigDialog() { Start(kNoDevice); }

    // Opens the dialog for the main window's language as it is now.
    void Open()
    {
        dlg = std::make_unique<CConfig>(frame.get(), [this] {
            ++starts;
            return true;
        });
        ASSERT_TRUE(dlg->Create(frame->GetHWND(), QStringLiteral("设置")));
        dlg->ShowWindow();
        ASSERT_TRUE(WaitFor([this] { return Combo()->itemData(0).isValid(); }));
    }

    QComboBox* Combo() const { return dlg->FindControl<QComboBox>(QStringLiteral("comb_language")); }
    QString StoredLanguage() const { return kz::ReadLanguageChoice(frame->m_szLanguageFile); }
    void Store() { ClickButton(dlg->GetHWND(), QStringLiteral("btn_language")); }

    std::unique_ptr<CConfig> dlg;
    int starts = 0;
};

}  // namespace

TEST_F(ConfigDialog, ShowsLocalisedTextsAndStoresTheNamesAsData)
{
    Open();
    EXPECT_EQ(dlg->FindControl<QLabel>(QStringLiteral("text_title"))->text(), Text("Language Setting"));
    EXPECT_EQ(dlg->FindControl<QLabel>(QStringLiteral("text_language"))->text(), Text("please select language:"));
    EXPECT_EQ(dlg->FindControl<QPushButton>(QStringLiteral("btn_language"))->text(), Text("OK"));
    ASSERT_EQ(Combo()->count(), 3);
    const char* const names[] = {"Chinese simplified", "Chinese traditional", "English"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Combo()->itemData(i).toString(), QString::fromUtf8(names[i]));
        EXPECT_EQ(Combo()->itemText(i), Text(names[i]));
    }
}

TEST_F(ConfigDialog, PreselectsOnlyTheExactLanguageName)
{
    const std::pair<const char*, int> cases[] = {
        {"English", 2}, {"Chinese traditional", 1}, {"Chinese simplified", 0}, {"english", -1}, {"", -1},
    };
    for (const auto& [language, index] : cases) {
        frame->m_strLanguage = QString::fromUtf8(language);
        Open();
        EXPECT_EQ(Combo()->currentIndex(), index) << language;
        dlg->Close();
    }
}

TEST_F(ConfigDialog, YesStoresTheChoiceAndRestarts)
{
    Open();
    Combo()->setCurrentIndex(0);
    boxes.QueueAnswer(kz::MsgAnswer::Yes);
    Store();
    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_EQ(boxes.Requests().first().text, Text(kSetOkRestart));
    EXPECT_EQ(boxes.Requests().first().caption, Text("Language Setting"));
    EXPECT_EQ(boxes.Requests().first().buttons, kz::MsgButtons::YesNo);
    EXPECT_EQ(StoredLanguage(), QStringLiteral("Chinese simplified"));
    EXPECT_TRUE(dlg->IsClosed());
    EXPECT_EQ(starts, 1);
    // The old instance ends through its own close, which stops the server.
    ASSERT_TRUE(WaitFor([this] { return quits == 1; }));
    EXPECT_EQ(bin.Calls().last(), QStringLiteral("kill-server"));
}

TEST_F(ConfigDialog, NoKeepsTheChoiceForTheNextStart)
{
    Open();
    Combo()->setCurrentIndex(1);
    boxes.QueueAnswer(kz::MsgAnswer::No);
    Store();
    EXPECT_EQ(StoredLanguage(), QStringLiteral("Chinese traditional"));
    EXPECT_TRUE(dlg->IsClosed());
    ProcessEventsFor(50);
    EXPECT_EQ(starts, 0);
    EXPECT_EQ(quits, 0);
    EXPECT_EQ(frame->m_strLanguage, QStringLiteral("English"));
}

TEST_F(ConfigDialog, TheLanguageInUseIsStoredSilently)
{
    for (const char* before : {"English", "Chinese simplified"}) {
        ASSERT_TRUE(frame->m_ini.WriteString("Default", "Language", before));
        Open();  // the window's language is still English
        Store();
        EXPECT_EQ(StoredLanguage(), QStringLiteral("English"));
        EXPECT_EQ(boxes.Count(), 0) << before;
    }
}

TEST_F(ConfigDialog, AnInstalledCopyKeepsTheChoiceForTheOperatorAndItsFilesUntouched)
{
    const QStringList names{"Language_EN.ini", "Language_CN.ini", "Language_CN_T.ini"};
    QList<QByteArray> before;
    for (const QString& name : names) {
        QFile file(bin.Dir() + u'/' + name);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        before << file.readAll();
        file.setPermissions(QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    }
    Open();
    Combo()->setCurrentIndex(1);
    boxes.QueueAnswer(kz::MsgAnswer::No);
    Store();
    EXPECT_EQ(boxes.Texts(), QStringList{Text(kSetOkRestart)});
    EXPECT_EQ(StoredLanguage(), QStringLiteral("Chinese traditional"));
    EXPECT_TRUE(QFile::exists(configHome.path() + "/korvald-emmc/Language_EN.ini"));
    for (int i = 0; i < names.size(); ++i) {
        QFile file(bin.Dir() + u'/' + names[i]);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), before[i]) << qPrintable(names[i]);
    }
}

TEST_F(ConfigDialog, NothingSelectedStoresNothing)
{
    frame->m_strLanguage = QStringLiteral("english");
    Open();
    Store();
    EXPECT_EQ(boxes.Texts(), QStringList{Text("Set failed!")});
    EXPECT_EQ(boxes.Requests().first().caption, Text("Language Setting"));
    EXPECT_EQ(StoredLanguage(), QStringLiteral("English"));
    EXPECT_TRUE(dlg->IsClosed());
}

TEST_F(ConfigDialog, MainMenuOpensIt)
{
    TEST_MODAL({
        EXPECT_EQ(modal->property("kz_window_class").toString(), QStringLiteral("config"));
        EXPECT_EQ(modal->windowTitle(), QStringLiteral("设置"));
        ClickButton(modal, QStringLiteral("closebtn"));
    });
    frame->PostMessage(WM_MENU_SETTING);
    ASSERT_TRUE(WaitFor([] { return QApplication::activeModalWidget() == nullptr; }));
    ProcessEventsFor(50);
    EXPECT_EQ(boxes.Count(), 0);
    EXPECT_EQ(StoredLanguage(), QStringLiteral("English"));
}

// --- the restart hand-over ---

TEST(RestartMark, IsTakenOnce)
{
    qputenv(kz::kRestartMarkVariable, "1");
    EXPECT_TRUE(kz::TakeRestartMark());
    EXPECT_FALSE(qEnvironmentVariableIsSet(kz::kRestartMarkVariable));
    EXPECT_FALSE(kz::TakeRestartMark());
}

TEST(RestartMark, NewInstanceCarriesItWhateverItsPath)
{
    QTemporaryDir dir;
    const QString program = dir.path() + QStringLiteral("/my prog=2 $(x)");
    const QString record = dir.path() + QStringLiteral("/mark");
    QFile script(program);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(QStringLiteral("#!/bin/sh\nprintf '%s' \"$%1\" > '%2'\n")
                     .arg(QLatin1String(kz::kRestartMarkVariable), record)
                     .toUtf8());
    script.close();
    script.setPermissions(script.permissions() | QFile::ExeOwner);
    ASSERT_TRUE(kz::StartNewInstance(program));
    ASSERT_TRUE(WaitFor([&] { return QFile(record).size() > 0; }));
    QFile result(record);
    ASSERT_TRUE(result.open(QIODevice::ReadOnly));
    EXPECT_EQ(result.readAll(), QByteArray("1"));
    EXPECT_FALSE(qEnvironmentVariableIsSet(kz::kRestartMarkVariable));
}
