#pragma once
// The language settings dialog: stores the chosen interface language as the
// operator's own choice for the language file in use (kz::StoreLanguageChoice)
// and offers to restart the program, which reads the language only at
// start-up.

#include <QPointer>
#include <functional>

#include "ui/WindowImplBase.h"

class CMainFrame;
class QComboBox;
class QWidget;

class CConfig : public kz::ui::WindowImplBase {
    Q_OBJECT
public:
    explicit CConfig(CMainFrame* owner);

    QString GetWindowClassName() const override { return QStringLiteral("config"); }
    QString GetSkinFile() const override { return QStringLiteral("config.xml"); }
    void Notify(kz::ui::TNotifyUI& msg) override;

    // Starts the new instance of a restart; the default runs this program
    // again.  Tests replace it (null restores the default).
    using InstanceStarter = std::function<bool()>;
    static void SetInstanceStarterForTests(InstanceStarter starter);

private:
    void OnWindowInit();
    void FillLanguageItems();
    void StoreChoice();
    void Restart();
    QString Text(const char* key) const;

    QPointer<CMainFrame> m_owner;
    QString m_strLanguage;
    QPointer<QWidget> m_textTitle;
    QPointer<QWidget> m_textLanguage;
    QPointer<QComboBox> m_combLanguage;
    QPointer<QWidget> m_btnLanguage;
};
