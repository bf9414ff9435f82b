#pragma once
// The base of popup menus: a frameless popup built from a skin, opened at a
// screen point and kept inside the work area.  It closes when the user
// clicks outside it or it loses the focus, on Escape, or by Close().  Up and
// Down walk its items, Return or Space chooses one.  Buttons
// and list rows of its skin are menu items: a click raises "itemclick" and
// then "itemselect" with the item's name.  Notify() typically posts a message
// to the window that opened the menu and closes the menu.
// After closing, OnFinalMessage() runs once (queued); its default deletes the
// menu, so menus are created with new and forgotten.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include "ui/Notify.h"

namespace kz::ui {

class NotifyBridge;

class PopupMenu : public QObject, public INotifyUI {
    Q_OBJECT
public:
    PopupMenu();
    ~PopupMenu() override;

    virtual QString GetWindowClassName() const = 0;
    virtual QString GetSkinFile() const = 0;
    // Called once after the skin is built and before the menu shows (set texts here).
    virtual void OnCreate() {}
    virtual void OnFinalMessage() { deleteLater(); }

    // Builds the menu (first call) and shows its top-left corner at
    // globalTopLeft, moved inside the work area.  False when the skin cannot
    // be loaded (the menu then closes at once).
    bool Popup(QWidget* ownerControl, const QPoint& globalTopLeft);
    void Close();

    QWidget* GetHWND() const { return m_window; }
    QWidget* OwnerControl() const { return m_owner; }
    bool IsClosed() const { return m_closed; }

    template <class T = QWidget>
    T* FindControl(const QString& name) const
    {
        return m_window ? m_window->findChild<T*>(name) : nullptr;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Build(QWidget* ownerControl);
    bool OnKey(int key);
    void FinishClose();

    QPointer<QWidget> m_window;
    QPointer<QWidget> m_owner;
    NotifyBridge* m_bridge = nullptr;
    bool m_closed = false;
    bool m_finalDone = false;
};

}  // namespace kz::ui
