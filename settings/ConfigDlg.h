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
    // Starts the new instance of a restart; empty: this program again.
    using InstanceStarter = std::function<bool()>;

    explicit CConfig(CMainFrame* owner, InstanceStarter starter = {});

    QString GetWindowClassName() const override { return QStringLiteral("config"); }
    QString GetSkinFile() const override { return QStringLiteral("config.xml"); }
    void Notify(kz::ui::TNotifyUI& msg) override;

private:
    void OnWindowInit();
    void FillLanguageItems();
    void StoreChoice();
    void Restart();
    QString Text(const char* key) const;

    QPointer<CMainFrame> m_owner;
    InstanceStarter m_starter;
    QString m_strLanguage;
    QPointer<QWidget> m_textTitle;
    QPointer<QWidget> m_textLanguage;
    QPointer<QComboBox> m_combLanguage;
    QPointer<QWidget> m_btnLanguage;
};
