#pragma once
// The language binding a dialog copies from the main window when it is
// built: the section in use and the language file.  Copies share one reader,
// so a worker can keep the texts after its dialog has gone.

#include <QString>
#include <memory>

class CIni;
class CMainFrame;

class CLangContext {
public:
    CLangContext() = default;  // no binding: every text is empty
    explicit CLangContext(const CMainFrame* main);

    QString Text(const char* key) const;

private:
    QString m_section;
    std::shared_ptr<CIni> m_ini;
};
