// The language binding, the captions of the main window and its help panel.
#include "app/MainFrame.h"

#include <QLabel>

#include "app/core/HelpTexts.h"
#include "platform/ProgramDir.h"
#include "settings/Language.h"
#include "ui/Markup.h"
#include "ui/PanelPicture.h"

namespace {

struct Caption {
    const char* control;
    const char* key;
};

constexpr Caption kCaptions[] = {
    {"btn_readInfo", "Read eMMC Info"},
    {"btn_readuser", "Read User"},
    {"btn_motherBoard", "Create Master"},
    {"btn_mtx", "Create Master by MTX file"},
    {"btn_copytoUdisk", "Copy From Sdcard To Udisk"},
    {"btn_copytoSDcard", "Copy From Udisk To Sdcard"},
    {"btn_connectFTP", "Connect Ftp Server"},
    {"btn_reboot", "Reboot KORVALD"},
    {"btn_exit", "Exit"},
    {"text_version", "Program Version:"},
    {"text_devicestate", "Device State:"},
};

// A caption is cut at the length its control was made for.
constexpr qsizetype kCaptionMaxChars = 256;

}  // namespace

void CMainFrame::LoadLanguageTexts()
{
    const kz::LanguageBinding binding = kz::LoadLanguageBinding(kz::ProgramDirectory(), m_ini);
    m_szLanguageFile = binding.file;
    m_strLanguage = binding.language;

    const kz::HelpTextSet help = kz::HelpTextsFor(m_strLanguage);
    const kz::ui::FontTable fonts = kz::ui::FontTable::FromSkin(GetHWND());
    const kz::ui::MarkupContext context{QString(), fonts};
    for (int i = 0; i < int(help.lines.size()); ++i) {
        auto* label = FindControl<QLabel>(QStringLiteral("text_info%1").arg(i + 1));
        if (!label)
            continue;
        kz::ui::ApplySkinFont(label, fonts, help.font);
        if (!help.lines[i].isNull())
            kz::ui::SetMarkupText(label, help.lines[i], context);
    }
    if (m_containerInfo) {
        const QString image = kz::HelpImagePath(kz::ProgramDirectory(), m_strLanguage);
        m_containerInfo->setProperty("kzHelpImage", image);
        kz::ui::ShowPanelPicture(m_containerInfo, image);
    }
    for (const Caption& caption : kCaptions)
        kz::ui::SetControlText(FindControl(QString::fromUtf8(caption.control)),
                               m_ini.ReadString(m_strLanguage, QString::fromUtf8(caption.key)).left(kCaptionMaxChars));
}
