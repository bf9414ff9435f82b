#pragma once
// The file list's shortcut menu: Rename and Delete.  It does no work itself:
// a choice posts WM_FM_RENAME or WM_FM_DELETE to the file manager, which acts
// on its selected row.  The menu deletes itself once closed.

#include <QPointer>

#include "ui/PopupMenu.h"

class CFileManager;

class CMenuWnd : public kz::ui::PopupMenu {
    Q_OBJECT
public:
    CMenuWnd() = default;

    QString GetWindowClassName() const override { return QStringLiteral("MainMenu"); }
    QString GetSkinFile() const override { return QStringLiteral("shortcutmenu.xml"); }
    void OnCreate() override;
    void Notify(kz::ui::TNotifyUI& msg) override;

    void SetFileManager(CFileManager* manager) { m_manager = manager; }
    // Opens the menu for `ownerControl` with its top-left corner at the
    // screen point (moved inside the work area).
    bool Init(QWidget* ownerControl, const QPoint& screenPoint);

private:
    QPointer<CFileManager> m_manager;
};
