#pragma once
// The popup menu behind the main window's "menubtn": settings, About, update
// and the folder of the log files.
// Each item posts its message to the main window; the menu deletes itself
// once closed.

#include "ui/PopupMenu.h"

class CMainFrame;

class CMainMenuWnd : public kz::ui::PopupMenu {
    Q_OBJECT
public:
    explicit CMainMenuWnd(CMainFrame* owner) : m_owner(owner) {}

    QString GetWindowClassName() const override { return QStringLiteral("MainMenu"); }
    QString GetSkinFile() const override { return QStringLiteral("mainmenu.xml"); }
    void OnCreate() override;
    void Notify(kz::ui::TNotifyUI& msg) override;

private:
    CMainFrame* m_owner;
};
