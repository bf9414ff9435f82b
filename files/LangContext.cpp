#include "files/LangContext.h"

#include "app/MainFrame.h"
#include "settings/Ini.h"

CLangContext::CLangContext(const CMainFrame* main)
{
    if (!main)
        return;
    m_section = main->m_strLanguage;
    m_ini = std::make_shared<CIni>();
    m_ini->SetFileName(main->m_ini.FileName());
}

QString CLangContext::Text(const char* key) const
{
    return m_ini ? m_ini->Text(m_section, QString::fromUtf8(key)) : QString();
}
