#include "settings/ConfigDlg.h"

#include <QComboBox>

#include "app/MainFrame.h"
#include "platform/MessageBox.h"
#include "settings/ConfigDlgChoice.h"
#include "settings/ConfigDlgRestart.h"
#include "settings/Language.h"

namespace {

const char kLanguageSetting[] = "Language Setting";
const char kSelectLanguage[] = "please select language:";
const char kOk[] = "OK";
const char kSetOkRestart[] =
    "Set successfully!You must restart the program for the changes to take effect.Resatrt now?!";
const char kSetFailed[] = "Set failed!";

}  // namespace

CConfig::CConfig(CMainFrame* owner, InstanceStarter starter)
    : m_owner(owner), m_starter(std::move(starter)), m_strLanguage(owner ? owner->m_strLanguage : QString())
{
}

QString CConfig::Text(const char* key) const
{
    return m_owner ? m_owner->m_ini.Text(m_strLanguage, QString::fromUtf8(key)) : QString();
}

void CConfig::Notify(kz::ui::TNotifyUI& msg)
{
    if (kz::ui::NotifyTypeIs(msg, kz::ui::kNotifyWindowInit))
        OnWindowInit();
    else if (kz::ui::NotifyIs(msg, kz::ui::kNotifyClick, QStringLiteral("closebtn")))
        Close(kz::ui::kResultOk);
    else if (kz::ui::NotifyIs(msg, kz::ui::kNotifyClick, QStringLiteral("btn_language")))
        StoreChoice();
}

void CConfig::OnWindowInit()
{
    m_textTitle = FindControl(QStringLiteral("text_title"));
    m_textLanguage = FindControl(QStringLiteral("text_language"));
    m_combLanguage = FindControl<QComboBox>(QStringLiteral("comb_language"));
    m_btnLanguage = FindControl(QStringLiteral("btn_language"));
    kz::ui::SetControlText(m_textTitle, Text(kLanguageSetting));
    kz::ui::SetControlText(m_textLanguage, Text(kSelectLanguage));
    kz::ui::SetControlText(m_btnLanguage, Text(kOk));
    FillLanguageItems();
}

// Combo items are no widgets of their own: they are addressed by index.
void CConfig::FillLanguageItems()
{
    if (!m_combLanguage)
        return;
    for (std::size_t i = 0; i < kz::kLanguageItems.size(); ++i) {
        const char* language = kz::kLanguageItems[i].language;
        if (m_combLanguage->count() <= int(i))
            m_combLanguage->addItem(QString());
        m_combLanguage->setItemText(int(i), Text(language));
        m_combLanguage->setItemData(int(i), QString::fromLatin1(language));
    }
    // Qt selects the first item by itself; a language of no item selects none.
    m_combLanguage->setCurrentIndex(kz::LanguageItemIndex(m_strLanguage));
    m_combLanguage->setFocus();
}

void CConfig::StoreChoice()
{
    const int index = m_combLanguage ? m_combLanguage->currentIndex() : -1;
    const QString chosen = index >= 0 ? m_combLanguage->itemData(index).toString() : QString();
    const QString file = m_owner ? m_owner->m_szLanguageFile : QString();
    const kz::LanguageChange change = kz::JudgeLanguageChoice(m_strLanguage, kz::ReadLanguageChoice(file), chosen);
    // Nothing selected: nothing to store, which counts as a failed write.
    const bool stored = index >= 0 && m_owner &&
                        (change == kz::LanguageChange::None || kz::StoreLanguageChoice(file, chosen));
    const QString caption = Text(kLanguageSetting);
    if (!stored) {
        kz::ShowMessageBox(GetHWND(), Text(kSetFailed), caption);
    } else if (change == kz::LanguageChange::StoreAndOffer &&
               kz::ShowMessageBox(GetHWND(), Text(kSetOkRestart), caption, kz::MsgButtons::YesNo) ==
                   kz::MsgAnswer::Yes) {
        Restart();
    }
    Close(kz::ui::kResultOk);
}

// The old instance ends whether or not the new one started, through the
// main window's own close, which also stops the adb server.
void CConfig::Restart()
{
    if (m_starter)
        m_starter();
    else
        kz::StartNewInstance(kz::RunningProgram());
    if (m_owner)
        m_owner->PostMessage(kz::ui::kWmClose);
}
