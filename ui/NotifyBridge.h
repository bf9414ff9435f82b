#pragma once
// Turns the signals of a widget tree into TNotifyUI records for one receiver.
//
// Only controls with an object name take part (Qt's internal children have
// none or a "qt_" name, and the parts inside combo boxes and spin boxes are
// skipped).  Watching is idempotent, so a subtree that grows later (rows built
// from a skin part) is simply watched again.
//
//   QAbstractButton clicked       -> "click"
//     radio button checked        -> "selectchanged" (only when it becomes checked)
//     check box toggled           -> "selectchanged" (wParam 1 checked / 0 cleared)
//   in menu mode, buttons and list rows raise "itemclick" then "itemselect"
//   QComboBox index changed       -> "itemselect" (wParam new, lParam old)
//   QTabWidget / QTabBar changed  -> "selectchanged" (wParam new page)
//   QStackedWidget changed        -> "tabselect" (wParam new page)
//   item views: click             -> "itemclick"; double-click/Return -> "itemactivate";
//               current row moved -> "itemselect"; right-click -> "menu" (ptMouse global)
//   QLineEdit / text edits focus out -> "killfocus"; Return in a QLineEdit -> "return"

#include <QObject>
#include <functional>

#include "ui/Notify.h"

class QAbstractButton;
class QAbstractItemView;

namespace kz::ui {

class NotifyBridge : public QObject {
    Q_OBJECT
public:
    using Sink = std::function<void(TNotifyUI&)>;

    explicit NotifyBridge(Sink sink, QObject* parent = nullptr);

    // Menu mode: buttons and rows are menu items ("itemclick", "itemselect").
    void SetMenuMode(bool on) { m_menuMode = on; }

    // Connects every named control of root's tree (root included).
    void Watch(QWidget* root);

    // Call after a view gets a new model: its selection model was replaced.
    static void ModelChanged(QAbstractItemView* view);

    // Sends one record to the sink (used for "windowinit" and by tests).
    void Emit(const QString& type, QWidget* sender, qintptr wParam = 0, qintptr lParam = 0,
              QPoint ptMouse = {});

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void WatchOne(QWidget* w);
    void WatchButton(QAbstractButton* b);
    void WatchView(QAbstractItemView* v);
    void WatchSelection(QAbstractItemView* v);
    // The Menu key or Shift+F10 on a list: "menu" at its current row.
    void EmitKeyboardMenu(QAbstractItemView* view);

    Sink m_sink;
    bool m_menuMode = false;
};

}  // namespace kz::ui
