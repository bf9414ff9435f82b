#include "ui/NotifyBridge.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>

namespace kz::ui {

namespace {

const char* const kWatchedProperty = "kz_notify_watched";
const char* const kBridgeProperty = "kz_notify_bridge";
const char* const kSelectionProperty = "kz_notify_selection";
const char* const kPreviousIndexProperty = "kz_notify_previous";

// Qt's own helper widgets carry no name or a "qt_" name; the parts of
// compound controls belong to their control, not to the window.
bool IsSkinControl(const QWidget* w, const QWidget* root)
{
    const QString name = w->objectName();
    if (name.isEmpty() || name.startsWith(QLatin1String("qt_")))
        return false;
    for (const QObject* p = w->parent(); p && p != root; p = p->parent()) {
        if (qobject_cast<const QComboBox*>(p) || qobject_cast<const QAbstractSpinBox*>(p))
            return false;
    }
    if (qobject_cast<const QTabBar*>(w) && qobject_cast<const QTabWidget*>(w->parent()))
        return false;
    return true;
}

bool IsExclusiveOption(const QAbstractButton* b)
{
    if (b->group())
        return b->group()->exclusive();
    return qobject_cast<const QRadioButton*>(b) || b->autoExclusive();
}

}  // namespace

NotifyBridge::NotifyBridge(Sink sink, QObject* parent) : QObject(parent), m_sink(std::move(sink)) {}

void NotifyBridge::Emit(const QString& type, QWidget* sender, qintptr wParam, qintptr lParam, QPoint ptMouse)
{
    TNotifyUI msg;
    msg.sType = type;
    msg.pSender = sender;
    msg.senderName = sender ? sender->objectName() : QString();
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.ptMouse = ptMouse;
    if (m_sink)
        m_sink(msg);
}

void NotifyBridge::Watch(QWidget* root)
{
    if (!root)
        return;
    if (IsSkinControl(root, nullptr))
        WatchOne(root);
    const auto children = root->findChildren<QWidget*>();
    for (QWidget* w : children) {
        if (IsSkinControl(w, root))
            WatchOne(w);
    }
}

void NotifyBridge::WatchOne(QWidget* w)
{
    if (w->property(kWatchedProperty).toBool())
        return;
    w->setProperty(kWatchedProperty, true);

    if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        WatchButton(b);
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        combo->setProperty(kPreviousIndexProperty, combo->currentIndex());
        connect(combo, &QComboBox::currentIndexChanged, this, [this, combo](int index) {
            const int previous = combo->property(kPreviousIndexProperty).toInt();
            combo->setProperty(kPreviousIndexProperty, index);
            Emit(QLatin1String(kNotifyItemSelect), combo, index, previous);
        });
    } else if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
        connect(tabs, &QTabWidget::currentChanged, this,
                [this, tabs](int index) { Emit(QLatin1String(kNotifySelectChanged), tabs, index); });
    } else if (auto* bar = qobject_cast<QTabBar*>(w)) {
        connect(bar, &QTabBar::currentChanged, this,
                [this, bar](int index) { Emit(QLatin1String(kNotifySelectChanged), bar, index); });
    } else if (auto* stack = qobject_cast<QStackedWidget*>(w)) {
        connect(stack, &QStackedWidget::currentChanged, this,
                [this, stack](int index) { Emit(QLatin1String(kNotifyTabSelect), stack, index); });
    } else if (auto* view = qobject_cast<QAbstractItemView*>(w)) {
        WatchView(view);
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        edit->installEventFilter(this);
        connect(edit, &QLineEdit::returnPressed, this,
                [this, edit] { Emit(QLatin1String(kNotifyReturn), edit); });
    } else if (qobject_cast<QTextEdit*>(w) || qobject_cast<QPlainTextEdit*>(w)) {
        w->installEventFilter(this);
    }
}

void NotifyBridge::WatchButton(QAbstractButton* b)
{
    connect(b, &QAbstractButton::clicked, this, [this, b] {
        if (!m_menuMode) {
            Emit(QLatin1String(kNotifyClick), b);
            return;
        }
        QPointer<NotifyBridge> self(this);
        QPointer<QAbstractButton> sender(b);
        Emit(QLatin1String(kNotifyItemClick), b);
        if (self && sender)
            Emit(QLatin1String(kNotifyItemSelect), b);
    });
    connect(b, &QAbstractButton::toggled, this, [this, b](bool on) {
        if (m_menuMode || (IsExclusiveOption(b) && !on))
            return;
        Emit(QLatin1String(kNotifySelectChanged), b, on ? 1 : 0);
    });
}

void NotifyBridge::WatchView(QAbstractItemView* v)
{
    v->setProperty(kBridgeProperty, QVariant::fromValue<QObject*>(this));
    v->setContextMenuPolicy(Qt::CustomContextMenu);
    v->installEventFilter(this);
    connect(v, &QAbstractItemView::clicked, this, [this, v](const QModelIndex& index) {
        QPointer<NotifyBridge> self(this);
        Emit(QLatin1String(kNotifyItemClick), v, index.row());
        if (m_menuMode && self)
            Emit(QLatin1String(kNotifyItemSelect), v, index.row());
    });
    connect(v, &QAbstractItemView::doubleClicked, this, [this, v](const QModelIndex& index) {
        Emit(QLatin1String(kNotifyItemActivate), v, index.row());
    });
    connect(v, &QWidget::customContextMenuRequested, this, [this, v](const QPoint& pos) {
        const QModelIndex index = v->indexAt(pos);
        Emit(QLatin1String(kNotifyMenu), v, index.isValid() ? index.row() : -1, 0,
             v->viewport()->mapToGlobal(pos));
    });
    WatchSelection(v);
}

void NotifyBridge::WatchSelection(QAbstractItemView* v)
{
    QItemSelectionModel* selection = v->selectionModel();
    QObject* known = v->property(kSelectionProperty).value<QObject*>();
    if (!selection || selection == known)
        return;
    v->setProperty(kSelectionProperty, QVariant::fromValue<QObject*>(selection));
    connect(selection, &QItemSelectionModel::currentRowChanged, this,
            [this, v](const QModelIndex& current, const QModelIndex& previous) {
                if (!m_menuMode)  // menus raise it with the click, after "itemclick"
                    Emit(QLatin1String(kNotifyItemSelect), v, current.row(), previous.row());
            });
}

void NotifyBridge::ModelChanged(QAbstractItemView* view)
{
    if (auto* bridge = qobject_cast<NotifyBridge*>(view->property(kBridgeProperty).value<QObject*>()))
        bridge->WatchSelection(view);
}

namespace {

bool IsMenuKey(const QKeyEvent* key)
{
    return key->key() == Qt::Key_Menu || (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier);
}

}  // namespace

void NotifyBridge::EmitKeyboardMenu(QAbstractItemView* view)
{
    // At the selected row, as a right-click there would be.
    const QModelIndex current = view->currentIndex();
    const QRect rect = current.isValid() ? view->visualRect(current) : QRect();
    const QPoint at = current.isValid() ? QPoint(rect.left() + rect.width() / 4, rect.bottom()) : QPoint();
    Emit(QLatin1String(kNotifyMenu), view, current.isValid() ? current.row() : -1, 0, view->viewport()->mapToGlobal(at));
}

bool NotifyBridge::eventFilter(QObject* watched, QEvent* event)
{
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w)
        return false;
    auto* view = qobject_cast<QAbstractItemView*>(w);
    if (event->type() == QEvent::FocusOut && !view) {
        Emit(QLatin1String(kNotifyKillFocus), w);
    } else if (event->type() == QEvent::ContextMenu && view) {
        // The Menu key's own context event (some platforms send one) is
        // answered by the key below, once.
        return static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard;
    } else if (event->type() == QEvent::KeyPress && view) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && view->currentIndex().isValid())
            Emit(QLatin1String(kNotifyItemActivate), view, view->currentIndex().row());
        else if (IsMenuKey(key) && !m_menuMode)
            EmitKeyboardMenu(view);
    }
    return false;
}

}  // namespace kz::ui
