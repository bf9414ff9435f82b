#include "ui/RowListView.h"

#include <QCursor>
#include <QLayout>
#include <QMetaProperty>
#include <QPaintEvent>
#include <QScrollBar>
#include <QStylePainter>
#include <algorithm>

namespace kz::ui {

RowListView::RowListView(QWidget* parent) : QListView(parent) {}

void RowListView::setModel(QAbstractItemModel* model)
{
    if (QAbstractItemModel* old = this->model())
        disconnect(old, nullptr, this, nullptr);
    Invalidate();
    QListView::setModel(model);
    if (model) {
        // Rows that change places keep their sizes only by chance.
        connect(model, &QAbstractItemModel::layoutChanged, this, &RowListView::Invalidate);
        connect(model, &QAbstractItemModel::rowsMoved, this, &RowListView::Invalidate);
    }
}

void RowListView::setRootIndex(const QModelIndex& index)
{
    Invalidate();
    QListView::setRootIndex(index);
}

void RowListView::reset()
{
    Invalidate();
    QListView::reset();
}

void RowListView::Invalidate()
{
    m_measured = false;
    scheduleDelayedItemsLayout();
}

QModelIndex RowListView::RowIndex(int row) const
{
    return model() ? model()->index(row, modelColumn(), rootIndex()) : QModelIndex();
}

QSize RowListView::MeasureRow(int row) const
{
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QModelIndex index = RowIndex(row);
    QAbstractItemDelegate* delegate = itemDelegateForIndex(index);
    return delegate ? delegate->sizeHint(option, index) : QSize();
}

void RowListView::MeasureAll()
{
    const int rows = model() ? model()->rowCount(rootIndex()) : 0;
    m_tops.assign(1, 0);
    m_tops.reserve(static_cast<size_t>(rows) + 1);
    m_widths.clear();
    m_widths.reserve(static_cast<size_t>(rows));
    m_maxWidth = 0;
    for (int row = 0; row < rows; ++row) {
        const QSize size = MeasureRow(row);
        m_tops.push_back(m_tops.back() + std::max(0, size.height()));
        m_widths.push_back(size.width());
        m_maxWidth = std::max(m_maxWidth, size.width());
    }
}

void RowListView::InsertMeasured(int first, int last)
{
    const size_t at = static_cast<size_t>(first);
    std::vector<int> tops;
    std::vector<int> widths;
    int top = m_tops[at];
    for (int row = first; row <= last; ++row) {
        const QSize size = MeasureRow(row);
        tops.push_back(top);
        top += std::max(0, size.height());
        widths.push_back(size.width());
        m_maxWidth = std::max(m_maxWidth, size.width());
    }
    // The rows from `first` on move down by the new rows' height; at the end
    // of the list that is the total height alone.
    for (size_t i = at; i < m_tops.size(); ++i)
        m_tops[i] += top - tops.front();
    m_tops.insert(m_tops.begin() + static_cast<ptrdiff_t>(at), tops.begin(), tops.end());
    m_widths.insert(m_widths.begin() + static_cast<ptrdiff_t>(at), widths.begin(), widths.end());
}

void RowListView::Remeasure(int first, int last)
{
    const size_t end = static_cast<size_t>(last) + 1;
    const int oldEnd = m_tops[end];
    for (int row = first; row <= last; ++row) {
        const size_t r = static_cast<size_t>(row);
        const QSize size = MeasureRow(row);
        m_tops[r + 1] = m_tops[r] + std::max(0, size.height());
        m_widths[r] = size.width();
    }
    const int shift = m_tops[end] - oldEnd;
    for (size_t i = end + 1; shift != 0 && i < m_tops.size(); ++i)
        m_tops[i] += shift;
    m_maxWidth = *std::max_element(m_widths.begin(), m_widths.end());
}

void RowListView::doItemsLayout()
{
    const int rows = model() ? model()->rowCount(rootIndex()) : 0;
    if (!m_measured || m_measuredWith != itemDelegate() || Rows() != rows) {
        MeasureAll();
        m_measured = true;
        m_measuredWith = itemDelegate();
    }
    // Not QListView's: that one lays every row out again.
    QAbstractItemView::doItemsLayout();
}

void RowListView::rowsInserted(const QModelIndex& parent, int start, int end)
{
    if (IsOurs(parent) && m_measured && start <= Rows() && start <= end) {
        InsertMeasured(start, end);
        updateGeometries();
        // Only the new rows and what they pushed down need painting.
        viewport()->update(QRect(0, m_tops[static_cast<size_t>(start)] - verticalOffset(), viewport()->width(),
                                 viewport()->height()));
    } else if (IsOurs(parent)) {
        Invalidate();
    }
    QAbstractItemView::rowsInserted(parent, start, end);
}

void RowListView::rowsAboutToBeRemoved(const QModelIndex& parent, int start, int end)
{
    if (IsOurs(parent))
        Invalidate();
    QAbstractItemView::rowsAboutToBeRemoved(parent, start, end);
}

void RowListView::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles)
{
    const int last = std::min(bottomRight.row(), Rows() - 1);
    if (m_measured && topLeft.isValid() && IsOurs(topLeft.parent()) && topLeft.row() <= last) {
        Remeasure(topLeft.row(), last);
        updateGeometries();
    }
    QAbstractItemView::dataChanged(topLeft, bottomRight, roles);
}

void RowListView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        Invalidate();
    QListView::changeEvent(event);
}

int RowListView::RowAt(int y) const
{
    const auto above = std::upper_bound(m_tops.begin(), m_tops.end(), y);
    return std::clamp(static_cast<int>(above - m_tops.begin()) - 1, 0, std::max(0, Rows() - 1));
}

QRect RowListView::visualRect(const QModelIndex& index) const
{
    if (!index.isValid() || index.parent() != rootIndex() || index.column() != modelColumn() ||
        index.row() >= Rows())
        return QRect();
    const size_t row = static_cast<size_t>(index.row());
    return QRect(-horizontalOffset(), m_tops[row] - verticalOffset(), std::max(m_maxWidth, viewport()->width()),
                 m_tops[row + 1] - m_tops[row]);
}

QModelIndex RowListView::indexAt(const QPoint& point) const
{
    if (Rows() <= 0)
        return QModelIndex();
    const QModelIndex index = RowIndex(RowAt(point.y() + verticalOffset()));
    return visualRect(index).contains(point) ? index : QModelIndex();
}

void RowListView::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    const QRect rect = visualRect(index);
    const QRect area = viewport()->rect();
    if (!rect.isValid() || (hint == EnsureVisible && area.contains(rect))) {
        viewport()->update(rect);
        return;
    }
    const bool above = hint == EnsureVisible && rect.top() < area.top();
    const bool below = hint == EnsureVisible && rect.bottom() > area.bottom();
    int value = verticalScrollBar()->value();
    if (hint == PositionAtTop || above)
        value += rect.top();
    else if (hint == PositionAtBottom || below)
        value += std::min(rect.top(), rect.bottom() - area.height() + 1);
    else if (hint == PositionAtCenter)
        value += rect.top() - (area.height() - rect.height()) / 2;
    verticalScrollBar()->setValue(value);
}

void RowListView::updateGeometries()
{
    if (geometry().isEmpty() || Rows() <= 0) {
        horizontalScrollBar()->setRange(0, 0);
        verticalScrollBar()->setRange(0, 0);
    } else {
        // Like QListView: one step is the first row's size, one page the viewport.
        const QSize step(m_widths.front(), m_tops[1]);
        horizontalScrollBar()->setSingleStep(step.width());
        horizontalScrollBar()->setPageStep(viewport()->width());
        horizontalScrollBar()->setRange(0, m_maxWidth - viewport()->width());
        verticalScrollBar()->setSingleStep(step.height());
        verticalScrollBar()->setPageStep(viewport()->height());
        verticalScrollBar()->setRange(0, m_tops.back() - viewport()->height());
    }
    QAbstractItemView::updateGeometries();
    if (horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOff)
        horizontalScrollBar()->setRange(0, 0);
}

void RowListView::scrollContentsBy(int dx, int dy)
{
    QAbstractItemView::scrollContentsBy(dx, dy);
}

int RowListView::horizontalOffset() const
{
    return horizontalScrollBar()->value();
}

int RowListView::verticalOffset() const
{
    return verticalScrollBar()->value();
}

void RowListView::paintEvent(QPaintEvent* event)
{
    if (!itemDelegate() || Rows() <= 0)
        return;
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    QStylePainter painter(viewport());
    const QRect area = event->rect().translated(horizontalOffset(), verticalOffset());
    const QModelIndex current = currentIndex();
    const bool focus = (hasFocus() || viewport()->hasFocus()) && current.isValid();
    const QModelIndex hover = viewport()->underMouse() ? indexAt(viewport()->mapFromGlobal(QCursor::pos()))
                                                       : QModelIndex();
    const QStyle::State state = option.state;
    const bool enabled = (state & QStyle::State_Enabled) != 0;
    const int last = RowAt(area.bottom());
    for (int row = RowAt(area.top()); row <= last; ++row) {
        const QModelIndex index = RowIndex(row);
        if (!index.isValid())  // rows removed, not yet laid out again
            continue;
        option.rect = visualRect(index);
        option.state = state;
        if (selectionModel() && selectionModel()->isSelected(index))
            option.state |= QStyle::State_Selected;
        if (enabled) {
            const bool itemEnabled = (model()->flags(index) & Qt::ItemIsEnabled) != 0;
            option.state.setFlag(QStyle::State_Enabled, itemEnabled);
            option.palette.setCurrentColorGroup(itemEnabled ? QPalette::Normal : QPalette::Disabled);
        }
        if (focus && current == index) {
            option.state |= QStyle::State_HasFocus;
            if (this->state() == EditingState)
                option.state |= QStyle::State_Editing;
        }
        option.state.setFlag(QStyle::State_MouseOver, index == hover);
        if (alternatingRowColors()) {
            option.features.setFlag(QStyleOptionViewItem::Alternate, (row & 1) != 0);
            QStyleOptionViewItem background = option;
            background.state &= ~QStyle::State_Selected;
            painter.drawPrimitive(QStyle::PE_PanelItemViewRow, background);
        }
        itemDelegateForIndex(index)->paint(&painter, option, index);
    }
}

QModelIndex RowListView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    Q_UNUSED(modifiers);
    if (Rows() <= 0)
        return QModelIndex();
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return RowIndex(0);
    const int row = current.row();
    const int page = viewport()->height();
    switch (action) {
    case MoveUp:
    case MovePrevious: return RowIndex(std::max(0, row - 1));
    case MoveDown:
    case MoveNext: return RowIndex(std::min(Rows() - 1, row + 1));
    case MoveHome: return RowIndex(0);
    case MoveEnd: return RowIndex(Rows() - 1);
    case MovePageUp: return RowIndex(RowAt(m_tops[static_cast<size_t>(row)] - page + 1));
    case MovePageDown: return RowIndex(RowAt(m_tops[static_cast<size_t>(row) + 1] + page - 1));
    default: return current;
    }
}

void RowListView::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command)
{
    if (!selectionModel() || Rows() <= 0)
        return;
    const QRect area = rect.normalized().translated(horizontalOffset(), verticalOffset());
    if (area.top() >= m_tops.back())
        return;
    const int first = RowAt(area.top());
    // A click (a 1x1 rectangle) selects the row under it only.
    const int last = rect.width() == 1 && rect.height() == 1 ? first : RowAt(area.bottom());
    selectionModel()->select(QItemSelection(RowIndex(first), RowIndex(last)), command);
}

QRegion RowListView::visualRegionForSelection(const QItemSelection& selection) const
{
    QRegion region;
    for (const QItemSelectionRange& range : selection) {
        if (range.parent() != rootIndex() || range.left() > modelColumn() || range.right() < modelColumn())
            continue;
        const QRect top = visualRect(RowIndex(range.top()));
        const QRect bottom = visualRect(RowIndex(range.bottom()));
        region += top.united(bottom);
    }
    return region;
}

QSize RowListView::viewportSizeHint() const
{
    // QListView's asks every row for its size.
    return Rows() > 0 ? QSize(m_maxWidth, m_tops.back()) : QAbstractItemView::viewportSizeHint();
}

namespace {

// Font, palette and locale are inherited unless set on the list itself; a
// copied inherited value would stop following the window's.
bool InheritedOnly(const QListView& list, const char* name)
{
    static const QList<QPair<const char*, Qt::WidgetAttribute>> own = {
        {"font", Qt::WA_SetFont}, {"palette", Qt::WA_SetPalette}, {"locale", Qt::WA_SetLocale}};
    for (const auto& [property, attribute] : own)
        if (qstrcmp(name, property) == 0)
            return !list.testAttribute(attribute);
    return false;
}

// The properties the skin gave list: those that differ from a new QListView's.
void CopySkinProperties(const QListView& list, QListView& target)
{
    const QListView plain;
    const QMetaObject* meta = &QListView::staticMetaObject;
    for (int i = 0; i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        const char* name = property.name();
        if (!property.isWritable() || !property.isDesignable() || qstrcmp(name, "geometry") == 0 ||
            InheritedOnly(list, name))
            continue;
        const QVariant value = list.property(name);
        if (value != plain.property(name))
            target.setProperty(name, value);
    }
    for (const QByteArray& name : list.dynamicPropertyNames())
        target.setProperty(name.constData(), list.property(name.constData()));
}

}  // namespace

RowListView* ReplaceWithRowListView(QListView* list)
{
    if (!list)
        return nullptr;
    QWidget* parent = list->parentWidget();
    auto* view = new RowListView(parent);
    CopySkinProperties(*list, *view);
    QLayout* layout = parent ? parent->layout() : nullptr;
    if (QLayoutItem* replaced = layout ? layout->replaceWidget(list, view) : nullptr)
        delete replaced;
    else
        view->setGeometry(list->geometry());
    QWidget::setTabOrder(list, view);
    if (parent && !list->isVisibleTo(parent))
        view->hide();
    else if (parent && parent->isVisible())
        view->show();
    delete list;
    return view;
}

}  // namespace kz::ui
