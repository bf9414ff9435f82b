#pragma once
// The base of every window and dialog.
//
// A window names its skin file (a Qt Designer .ui file in the skin folder
// beside the program) and reacts to typed notifications in Notify().  The
// object is not the widget: Create() builds the widget from the skin and
// GetHWND() returns it.  Closing hides the widget (it stays alive, so control
// pointers held by the window and late updates from workers stay harmless)
// and then runs OnFinalMessage(); the widget itself is destroyed with the
// object.  A self-releasing dialog deletes itself in OnFinalMessage().
//
// Life of a modal dialog:
//   auto* dlg = new CAbout(...);            // or an object owned by the opener
//   dlg->Create(openerWidget, caption);     // loads the skin, window-modal child of the opener
//   dlg->CenterWindow();
//   int result = dlg->ShowModal();          // "windowinit" arrives once the window shows
//   // OnFinalMessage() has already run when ShowModal() returns.
//
// Closing: Close(result) from code; the skin's "closebtn" reaches Notify as a
// "click" (the base Notify closes on it, an override decides itself); the
// window manager's close button is routed as the same "click" on "closebtn";
// Escape closes with result kResultCancel only when EscapeCloses(), or acts
// as "closebtn" when EscapeClicksCloseButton(); F10 and the Menu key act as
// the caption's "menubtn" where the skin has one.  Windows are frameless:
// the skin's caption ("frame_header" or "frame_topbar") moves them.
// Skins should have a plain QWidget root: a QDialog root would add its own
// Return-key default-button handling.  Notify() must not delete the window
// object; release it in OnFinalMessage().

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include "ui/Controls.h"
#include "ui/Notify.h"

class QAbstractButton;
class QButtonGroup;
class QEventLoop;
class QKeyEvent;

namespace kz::ui {

class NotifyBridge;

inline constexpr int kResultOk = 1;      // Close() default
inline constexpr int kResultCancel = 2;  // Escape

// Message numbers the base understands in SendMessage/PostMessage when the
// window's HandleCustomMessage leaves them unhandled.
inline constexpr uint kWmClose = 16;
inline constexpr uint kWmNcLButtonDblClk = 163;
inline constexpr uint kWmSysCommand = 274;
inline constexpr qintptr kScMinimize = 61472;
inline constexpr qintptr kScRestore = 61728;
inline constexpr uint kWmUser = 0x0400;

class WindowImplBase : public QObject, public INotifyUI {
    Q_OBJECT
public:
    WindowImplBase();
    ~WindowImplBase() override;

    WindowImplBase(const WindowImplBase&) = delete;
    WindowImplBase& operator=(const WindowImplBase&) = delete;

    // --- what a window tells about itself ---
    virtual QString GetWindowClassName() const = 0;
    virtual QString GetSkinFile() const = 0;
    // Base: "click" on "closebtn" closes, "minbtn" minimises, "maxbtn" toggles.
    void Notify(TNotifyUI& msg) override;
    // Posted/sent messages; set handled to keep the base's default processing away.
    virtual qintptr HandleCustomMessage(uint msg, qintptr wParam, qintptr lParam, bool& handled);
    // Runs once after the window has closed (hidden); may delete this.
    virtual void OnFinalMessage() {}
    virtual bool EscapeCloses() const { return true; }
    // True: Escape acts as the skin's close button (which may ask or stop
    // work first) rather than closing at once; wins over EscapeCloses().
    virtual bool EscapeClicksCloseButton() const { return false; }
    // True: no maximise button and a caption double-click never maximises
    // (the base does it; HandleCustomMessage never sees a caption double-click).
    virtual bool SwallowCaptionDoubleClick() const { return true; }

    // --- operations ---
    // Loads the skin and builds the window as a child window of parent (null:
    // top level).  On a missing or broken skin an empty window is built, a
    // warning is logged and false is returned; FindControl then finds nothing.
    bool Create(QWidget* parent, const QString& caption);
    QWidget* GetHWND() const { return m_window; }
    bool IsCreated() const { return m_window != nullptr; }
    bool IsClosed() const { return m_closed; }

    template <class T = QWidget>
    T* FindControl(const QString& name) const
    {
        return m_window ? m_window->findChild<T*>(name) : nullptr;
    }

    void ShowWindow(bool show = true);
    // Window-modal to the parent (application-modal without one); returns the
    // result given to Close().  Returns at once if already closed or already
    // running modally.
    int ShowModal();
    // GUI thread only; a worker posts kWmClose instead.
    void Close(int result = kResultOk);
    // Centres on the parent window, or on the screen's work area without one.
    void CenterWindow();

    // Queued to HandleCustomMessage on the GUI thread; callable from any
    // thread; dropped if this object is gone by then.
    void PostMessage(uint msg, qintptr wParam = 0, qintptr lParam = 0);
    // For workers whose window may be released meanwhile: checked on the GUI
    // thread, dropped when the window object is gone.
    static void PostMessageTo(const QPointer<WindowImplBase>& window, uint msg, qintptr wParam = 0,
                              qintptr lParam = 0);
    // Synchronous (blocking-queued from another thread); 0 if this object is gone.
    qintptr SendMessage(uint msg, qintptr wParam = 0, qintptr lParam = 0);

    // Builds a control tree from another skin file (list rows) under parent
    // and watches it for notifications.  Null when the file cannot be loaded.
    QWidget* BuildSkinPart(const QString& skinFile, QWidget* parent);
    // Watches controls added to the window after Create().
    void WatchControls(QWidget* subtree);

    // Option groups: options of one group exclude each other within this
    // window.  A skin may give a button the dynamic property "group".
    void SetOptionGroup(QAbstractButton* option, const QString& group);
    static QString OptionGroup(const QAbstractButton* option);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Dispatch(uint msg, qintptr wParam, qintptr lParam, qintptr* result);
    void DefaultProcessing(uint msg, qintptr wParam);
    void OnFirstShow();
    void FinishClose();
    // A "click" from the named control of the skin, as if the user clicked it.
    void ClickControl(const QString& name);
    bool OnKey(QKeyEvent* key);
    void OnCaptionDoubleClick();

    QPointer<QWidget> m_window;
    NotifyBridge* m_bridge = nullptr;
    QEventLoop* m_modalLoop = nullptr;
    int m_result = 0;
    bool m_closed = false;
    bool m_initSent = false;
    bool m_finalPending = false;
};

}  // namespace kz::ui
