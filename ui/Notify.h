#pragma once
// Typed notifications: every window learns about its controls through one
// Notify(TNotifyUI&) call per event, carrying the event type and the name of
// the control that raised it.  Window code dispatches on those two texts.

#include <QPoint>
#include <QPointer>
#include <QString>
#include <QWidget>

namespace kz::ui {

// Notification types.
inline constexpr const char* kNotifyWindowInit = "windowinit";
inline constexpr const char* kNotifyClick = "click";
inline constexpr const char* kNotifySelectChanged = "selectchanged";  // option / tab
inline constexpr const char* kNotifyItemSelect = "itemselect";        // combo / list row
inline constexpr const char* kNotifyItemClick = "itemclick";          // list row / menu item
inline constexpr const char* kNotifyItemActivate = "itemactivate";    // double-click / Return on a row
inline constexpr const char* kNotifyKillFocus = "killfocus";          // edit lost the focus
inline constexpr const char* kNotifyReturn = "return";                // Return pressed in a line edit
inline constexpr const char* kNotifyMenu = "menu";                    // right-click on a list
inline constexpr const char* kNotifyTabSelect = "tabselect";          // stacked page changed

struct TNotifyUI {
    QString sType;              // one of the kNotify* texts
    QPointer<QWidget> pSender;  // the control (null for "windowinit")
    QString senderName;         // its object name, kept even if the control goes away
    // "itemselect": new index / old index (-1 for none).  "itemclick",
    // "itemactivate", "menu" on a list: the row (-1 when not on a row).
    // "selectchanged" of a check box: 1 when checked, 0 when cleared.
    qintptr wParam = 0;
    qintptr lParam = 0;
    QPoint ptMouse;  // "menu": the global (screen) position of the click
};

class INotifyUI {
public:
    virtual ~INotifyUI() = default;
    virtual void Notify(TNotifyUI& msg) = 0;
};

// Case-insensitive comparisons, as window code matches types and names.
bool NotifyTypeIs(const TNotifyUI& msg, const char* type);
bool SenderIs(const TNotifyUI& msg, const QString& name);
inline bool NotifyIs(const TNotifyUI& msg, const char* type, const QString& name)
{
    return NotifyTypeIs(msg, type) && SenderIs(msg, name);
}

}  // namespace kz::ui
