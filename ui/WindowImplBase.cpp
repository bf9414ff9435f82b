#include "ui/WindowImplBase.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QEventLoop>
#include <QKeyEvent>
#include <QTimer>

#include "ui/CaptionDrag.h"
#include "ui/GuiThread.h"
#include "ui/NotifyBridge.h"
#include "ui/PopupPlacement.h"
#include "ui/SkinLoader.h"
#include "ui/SkinLook.h"

namespace kz::ui {

namespace {

const char* const kGroupProperty = "group";
const char* const kGroupsObjectName = "kz_option_groups";

// The skin draws the only caption; title and icon still name the window in
// the task bar and the window switcher.  A window with an opener is a dialog:
// only a dialog is announced to X11 window managers as transient for its
// opener, which keeps it above the opener and centres it there.
Qt::WindowFlags WindowFlagsFor(bool dialog, bool maximisable)
{
    Qt::WindowFlags flags = (dialog ? Qt::Dialog : Qt::Window) | Qt::FramelessWindowHint | Qt::WindowSystemMenuHint
                            | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;
    if (maximisable)
        flags |= Qt::WindowMaximizeButtonHint;
    return flags;
}

// The skins name their caption area one of these.
QWidget* FindCaption(QWidget* root)
{
    for (const char* name : {"frame_header", "frame_topbar"}) {
        if (auto* caption = root->findChild<QWidget*>(QLatin1String(name)))
            return caption;
    }
    return nullptr;
}

bool OpensCaptionMenu(const QKeyEvent* key)
{
    return key->key() == Qt::Key_Menu || (key->key() == Qt::Key_F10 && key->modifiers() == Qt::NoModifier);
}

}  // namespace

WindowImplBase::WindowImplBase() = default;

WindowImplBase::~WindowImplBase()
{
    if (m_modalLoop)
        m_modalLoop->exit(kResultCancel);
    // No notification may reach a half-destroyed window while its widgets go.
    delete m_bridge;
    if (m_window) {
        m_window->removeEventFilter(this);
        delete m_window.data();
    }
}

bool WindowImplBase::Create(QWidget* parent, const QString& caption)
{
    if (m_window)
        return true;
    QString error;
    QWidget* root = LoadSkin(GetSkinFile(), parent, &error);
    const bool loaded = root != nullptr;
    if (!loaded) {
        qWarning("window %s: %s", qUtf8Printable(GetWindowClassName()), qUtf8Printable(error));
        root = new QWidget(parent);
    }
    root->setWindowFlags(WindowFlagsFor(parent != nullptr, !SwallowCaptionDoubleClick()));
    root->setWindowTitle(caption);
    if (parent)  // the window switcher shows dialogs with the program's icon
        root->setWindowIcon(parent->window()->windowIcon());
    root->setProperty("kz_window_class", GetWindowClassName());
    root->installEventFilter(this);
    ApplySkinLook(root);
    m_window = root;
    new CaptionDrag(root, FindCaption(root), [this] { OnCaptionDoubleClick(); });
    m_bridge = new NotifyBridge([this](TNotifyUI& msg) { Notify(msg); }, this);
    WatchControls(root);
    return loaded;
}

void WindowImplBase::WatchControls(QWidget* subtree)
{
    if (!subtree || !m_bridge)
        return;
    const auto buttons = subtree->findChildren<QAbstractButton*>();
    for (QAbstractButton* b : buttons) {
        const QString group = b->property(kGroupProperty).toString();
        if (!group.isEmpty() && !b->group())
            SetOptionGroup(b, group);
    }
    m_bridge->Watch(subtree);
}

QWidget* WindowImplBase::BuildSkinPart(const QString& skinFile, QWidget* parent)
{
    QString error;
    QWidget* part = LoadSkin(skinFile, parent, &error);
    if (!part) {
        qWarning("window %s: %s", qUtf8Printable(GetWindowClassName()), qUtf8Printable(error));
        return nullptr;
    }
    part->setWindowFlags(Qt::Widget);  // a part is never a window of its own
    WatchControls(part);
    return part;
}

void WindowImplBase::SetOptionGroup(QAbstractButton* option, const QString& group)
{
    if (!option || !m_window)
        return;
    if (QButtonGroup* old = option->group())
        old->removeButton(option);
    option->setProperty(kGroupProperty, group);
    // One exclusive QButtonGroup per group name, kept under the window.
    QObject* holder = m_window->findChild<QObject*>(QLatin1String(kGroupsObjectName), Qt::FindDirectChildrenOnly);
    if (!holder) {
        holder = new QObject(m_window);
        holder->setObjectName(QLatin1String(kGroupsObjectName));
    }
    auto* buttons = holder->findChild<QButtonGroup*>(group, Qt::FindDirectChildrenOnly);
    if (!buttons) {
        buttons = new QButtonGroup(holder);
        buttons->setObjectName(group);
        buttons->setExclusive(true);
    }
    buttons->addButton(option);
}

QString WindowImplBase::OptionGroup(const QAbstractButton* option)
{
    return option ? option->property(kGroupProperty).toString() : QString();
}

void WindowImplBase::Notify(TNotifyUI& msg)
{
    if (!NotifyTypeIs(msg, kNotifyClick))
        return;
    if (SenderIs(msg, QStringLiteral("closebtn"))) {
        Close();
    } else if (SenderIs(msg, QStringLiteral("minbtn"))) {
        SendMessage(kWmSysCommand, kScMinimize);
    } else if (SenderIs(msg, QStringLiteral("maxbtn")) && m_window && !SwallowCaptionDoubleClick()) {
        m_window->isMaximized() ? m_window->showNormal() : m_window->showMaximized();
    }
}

qintptr WindowImplBase::HandleCustomMessage(uint, qintptr, qintptr, bool& handled)
{
    handled = false;
    return 0;
}

void WindowImplBase::ShowWindow(bool show)
{
    if (!m_window)
        return;
    if (!show) {
        m_window->hide();
        return;
    }
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

int WindowImplBase::ShowModal()
{
    if (!m_window || m_closed || m_modalLoop)
        return m_result;
    const Qt::WindowModality modality = m_window->parentWidget() ? Qt::WindowModal : Qt::ApplicationModal;
    if (m_window->windowModality() != modality) {
        const bool visible = m_window->isVisible();
        m_window->hide();  // modality only changes on a hidden window
        m_window->setWindowModality(modality);
        m_window->setVisible(visible);
    }
    QPointer<WindowImplBase> self(this);
    QEventLoop loop;
    m_modalLoop = &loop;
    ShowWindow();
    loop.exec(QEventLoop::DialogExec);
    if (!self)
        return kResultCancel;  // destroyed while running
    m_modalLoop = nullptr;
    const int result = m_result;
    FinishClose();  // may delete this
    return result;
}

void WindowImplBase::Close(int result)
{
    if (m_closed)
        return;
    m_closed = true;
    m_finalPending = true;
    m_result = result;
    if (m_window)
        m_window->hide();
    if (m_modalLoop) {
        m_modalLoop->exit(result);  // ShowModal() finishes the close
        return;
    }
    RunOnGui(this, [this] { FinishClose(); });
}

void WindowImplBase::FinishClose()
{
    if (!m_finalPending)
        return;
    m_finalPending = false;
    OnFinalMessage();
}

void WindowImplBase::CenterWindow()
{
    if (!m_window)
        return;
    QWidget* parent = m_window->parentWidget() ? m_window->parentWidget()->window() : nullptr;
    const QRect area = WorkAreaAt(parent ? parent->geometry().center() : QPoint());
    const QPoint center = parent ? parent->geometry().center() : area.center();
    QRect rect(QPoint(), m_window->size());
    rect.moveCenter(center);
    m_window->move(FitInside(rect, area));
}

void WindowImplBase::PostMessage(uint msg, qintptr wParam, qintptr lParam)
{
    RunOnGui(this, [this, msg, wParam, lParam] { Dispatch(msg, wParam, lParam, nullptr); });
}

void WindowImplBase::PostMessageTo(const QPointer<WindowImplBase>& window, uint msg, qintptr wParam,
                                   qintptr lParam)
{
    RunOnGui(window, [window, msg, wParam, lParam] { window->Dispatch(msg, wParam, lParam, nullptr); });
}

qintptr WindowImplBase::SendMessage(uint msg, qintptr wParam, qintptr lParam)
{
    qintptr result = 0;
    if (IsGuiThread())
        Dispatch(msg, wParam, lParam, &result);
    else
        RunOnGuiBlocking(this, [&] { Dispatch(msg, wParam, lParam, &result); });
    return result;
}

void WindowImplBase::Dispatch(uint msg, qintptr wParam, qintptr lParam, qintptr* result)
{
    bool handled = false;
    const qintptr r = HandleCustomMessage(msg, wParam, lParam, handled);
    if (!handled)
        DefaultProcessing(msg, wParam);
    if (result)
        *result = r;
}

void WindowImplBase::DefaultProcessing(uint msg, qintptr wParam)
{
    if (msg == kWmClose)
        Close();
    else if (msg == kWmSysCommand && wParam == kScMinimize && m_window)
        m_window->showMinimized();
    else if (msg == kWmSysCommand && wParam == kScRestore && m_window)
        m_window->showNormal();
}

void WindowImplBase::OnFirstShow()
{
    if (m_initSent)
        return;
    m_initSent = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_bridge && !m_closed)  // closed before it ever ran: nothing to set up
                m_bridge->Emit(QLatin1String(kNotifyWindowInit), m_window);
        },
        Qt::QueuedConnection);
}

bool WindowImplBase::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_window.data())
        return false;
    switch (event->type()) {
    case QEvent::Show:
        OnFirstShow();
        return false;
    case QEvent::Close:
        // The window manager's close (the task bar's, Alt+F4) acts as the
        // skin's close button.  It is no user input, so it also arrives while
        // a blocking command waits; handing it over keeps the window from
        // closing under it.
        event->ignore();
        RunOnGui(this, [this] { ClickControl(QStringLiteral("closebtn")); });
        return true;
    case QEvent::KeyPress:
        return OnKey(static_cast<QKeyEvent*>(event));
    case QEvent::WindowActivate:
        // A click on a window that a modal dialog blocks hands the keyboard
        // to that dialog (X11 window managers activate the clicked window).
        if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != m_window && modal->isVisible())
            QTimer::singleShot(0, modal, [modal] { modal->activateWindow(); });
        return false;
    case QEvent::WindowStateChange:
        if (SwallowCaptionDoubleClick() && m_window->isMaximized())
            QTimer::singleShot(0, m_window, [w = m_window] { if (w) w->showNormal(); });
        return false;
    default:
        return false;
    }
}

void WindowImplBase::ClickControl(const QString& name)
{
    if (m_closed)
        return;
    TNotifyUI msg;
    msg.sType = QLatin1String(kNotifyClick);
    msg.pSender = FindControl(name);
    msg.senderName = name;
    Notify(msg);
}

bool WindowImplBase::OnKey(QKeyEvent* key)
{
    if (OpensCaptionMenu(key) && FindControl(QStringLiteral("menubtn"))) {
        ClickControl(QStringLiteral("menubtn"));
        return true;
    }
    if (key->key() != Qt::Key_Escape)
        return false;
    // Where the compositor hands an open list's keys to its window, Escape
    // is the list's alone.
    if (QWidget* popup = QApplication::activePopupWidget()) {
        popup->close();
        return true;
    }
    if (EscapeClicksCloseButton())
        RunOnGui(this, [this] { ClickControl(QStringLiteral("closebtn")); });
    else if (EscapeCloses())
        Close(kResultCancel);
    return true;  // also keeps a dialog-rooted skin from closing itself
}

void WindowImplBase::OnCaptionDoubleClick()
{
    if (!m_window || SwallowCaptionDoubleClick())
        return;
    m_window->isMaximized() ? m_window->showNormal() : m_window->showMaximized();
}

}  // namespace kz::ui
