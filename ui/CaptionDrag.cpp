#include "ui/CaptionDrag.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace kz::ui {

Qt::Edges EdgesAt(const QPoint& pos, const QSize& size)
{
    Qt::Edges edges;
    if (pos.x() < kResizeBorder)
        edges |= Qt::LeftEdge;
    if (pos.x() >= size.width() - kResizeBorder)
        edges |= Qt::RightEdge;
    if (pos.y() < kResizeBorder)
        edges |= Qt::TopEdge;
    if (pos.y() >= size.height() - kResizeBorder)
        edges |= Qt::BottomEdge;
    return edges;
}

Qt::CursorShape ResizeCursor(Qt::Edges edges)
{
    const bool left = edges & Qt::LeftEdge, right = edges & Qt::RightEdge;
    const bool top = edges & Qt::TopEdge, bottom = edges & Qt::BottomEdge;
    if ((left && top) || (right && bottom))
        return Qt::SizeFDiagCursor;
    if ((right && top) || (left && bottom))
        return Qt::SizeBDiagCursor;
    return (left || right) ? Qt::SizeHorCursor : Qt::SizeVerCursor;
}

CaptionDrag::CaptionDrag(QWidget* window, QWidget* caption, std::function<void()> onDoubleClick)
    : QObject(window), m_window(window), m_caption(caption), m_onDoubleClick(std::move(onDoubleClick))
{
    window->installEventFilter(this);
    window->setAttribute(Qt::WA_Hover);  // hover moves over any control reach the window
    if (caption)
        caption->installEventFilter(this);
}

bool CaptionDrag::Resizable() const
{
    return m_window->minimumSize() != m_window->maximumSize() && !m_window->isMaximized();
}

bool CaptionDrag::OnWindowPress(QMouseEvent* event)
{
    // Presses that no control took: the window's own margins.
    const QPoint pos = m_window->mapFromGlobal(event->globalPosition().toPoint());
    const Qt::Edges edges = EdgesAt(pos, m_window->size());
    if (!edges || !Resizable() || !m_window->windowHandle())
        return false;
    return m_window->windowHandle()->startSystemResize(edges);
}

// The edge under the pointer shows how a press there would resize.
void CaptionDrag::OnHover(const QPoint& pos)
{
    const Qt::Edges edges = Resizable() ? EdgesAt(pos, m_window->size()) : Qt::Edges();
    if (edges) {
        m_window->setCursor(ResizeCursor(edges));
        m_edgeCursor = true;
    } else if (m_edgeCursor) {
        m_window->unsetCursor();
        m_edgeCursor = false;
    }
}

bool CaptionDrag::OnCaptionPress(QMouseEvent* event)
{
    if (Resizable() && EdgesAt(m_window->mapFromGlobal(event->globalPosition().toPoint()), m_window->size()))
        return OnWindowPress(event);
    if (m_window->windowHandle() && m_window->windowHandle()->startSystemMove())
        return true;
    m_dragging = true;
    m_dragOffset = event->globalPosition().toPoint() - m_window->pos();
    return true;
}

bool CaptionDrag::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_window)
        return false;
    const bool onCaption = watched == m_caption.data();
    switch (event->type()) {
    case QEvent::HoverMove:
        if (watched == m_window.data())
            OnHover(static_cast<QHoverEvent*>(event)->position().toPoint());
        return false;
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton)
            return false;
        return onCaption ? OnCaptionPress(mouse) : (watched == m_window.data() && OnWindowPress(mouse));
    }
    case QEvent::MouseMove:
        if (onCaption && m_dragging)
            m_window->move(static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - m_dragOffset);
        return onCaption && m_dragging;
    case QEvent::MouseButtonRelease:
        if (!onCaption || !m_dragging)
            return false;
        m_dragging = false;
        return true;
    case QEvent::MouseButtonDblClick:
        if (!onCaption)
            return false;
        if (m_onDoubleClick)
            m_onDoubleClick();
        return true;
    default:
        return false;
    }
}

}  // namespace kz::ui
