#include "ui/PopupMenu.h"

#include <QAbstractButton>
#include <QKeyEvent>

#include "ui/NotifyBridge.h"
#include "ui/PopupPlacement.h"
#include "ui/SkinLoader.h"
#include "ui/SkinLook.h"

namespace kz::ui {

PopupMenu::PopupMenu() = default;

PopupMenu::~PopupMenu()
{
    delete m_bridge;
    if (m_window) {
        m_window->removeEventFilter(this);
        delete m_window.data();
    }
}

bool PopupMenu::Build(QWidget* ownerControl)
{
    QString error;
    QWidget* parent = ownerControl ? ownerControl->window() : nullptr;
    QWidget* root = LoadSkin(GetSkinFile(), parent, &error);
    if (!root) {
        qWarning("menu %s: %s", qUtf8Printable(GetWindowClassName()), qUtf8Printable(error));
        return false;
    }
    root->setWindowFlags(Qt::Popup | Qt::FramelessWindowHint);
    root->setProperty("kz_window_class", GetWindowClassName());
    root->installEventFilter(this);
    ApplySkinLook(root);
    m_window = root;
    m_bridge = new NotifyBridge([this](TNotifyUI& msg) { Notify(msg); }, this);
    m_bridge->SetMenuMode(true);
    m_bridge->Watch(root);
    OnCreate();
    return true;
}

bool PopupMenu::Popup(QWidget* ownerControl, const QPoint& globalTopLeft)
{
    if (m_closed)
        return false;
    m_owner = ownerControl;
    if (!m_window && !Build(ownerControl)) {
        Close();
        return false;
    }
    if (m_window->size().isEmpty())
        m_window->adjustSize();
    const QRect wanted(globalTopLeft, m_window->size());
    m_window->move(FitInside(wanted, WorkAreaAt(globalTopLeft)));
    m_window->show();
    return true;
}

void PopupMenu::Close()
{
    if (m_closed)
        return;
    m_closed = true;
    if (m_window)
        m_window->hide();
    QMetaObject::invokeMethod(this, [this] { FinishClose(); }, Qt::QueuedConnection);
}

void PopupMenu::FinishClose()
{
    if (m_finalDone)
        return;
    m_finalDone = true;
    OnFinalMessage();
}

// A menu opened from the keyboard is worked from it: the arrows walk its
// items (marked by the skin's focus frame), Return chooses one (Space too,
// as on any button).
bool PopupMenu::OnKey(int key)
{
    QWidget* focus = m_window->focusWidget();
    auto* item = qobject_cast<QAbstractButton*>(focus);
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && item && item->isVisible()) {
        item->click();
        return true;
    }
    if (key != Qt::Key_Up && key != Qt::Key_Down)
        return false;
    const auto items = m_window->findChildren<QAbstractButton*>();
    QList<QAbstractButton*> usable;
    for (QAbstractButton* b : items)
        if (b->isVisible() && b->isEnabled())
            usable << b;
    if (usable.isEmpty())
        return true;
    const int at = usable.indexOf(item);
    const int next = at < 0 ? (key == Qt::Key_Down ? 0 : usable.size() - 1)
                            : (at + (key == Qt::Key_Down ? 1 : usable.size() - 1)) % usable.size();
    usable[next]->setFocusPolicy(Qt::StrongFocus);
    usable[next]->setFocus(Qt::TabFocusReason);
    return true;
}

bool PopupMenu::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_window.data())
        return false;
    switch (event->type()) {
    case QEvent::Hide:  // a click outside, focus lost, the owner went away
        Close();
        return false;
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Escape)
            Close();
        else
            OnKey(key);
        return true;
    }
    case QEvent::Wheel:
        return true;
    default:
        return false;
    }
}

}  // namespace kz::ui
