#pragma once
// The skin's caption is the window's only caption: skinned windows are
// frameless, so moving and resizing go through the window system
// (QWindow::startSystemMove / startSystemResize, which X11 window managers
// and Wayland compositors both honour).  Where the window system cannot do
// it (the offscreen platform) the caption still moves the window by hand.

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <functional>

class QMouseEvent;
class QWidget;

namespace kz::ui {

// The frame width within which a press on a resizable window's edge
// resizes it.
inline constexpr int kResizeBorder = 6;

// The edges of `size` that a point lies on (within kResizeBorder).
Qt::Edges EdgesAt(const QPoint& pos, const QSize& size);
Qt::CursorShape ResizeCursor(Qt::Edges edges);

class CaptionDrag : public QObject {
public:
    // caption: the skin's caption area (presses on its buttons never reach
    // it).  onDoubleClick runs on a caption double-click.
    CaptionDrag(QWidget* window, QWidget* caption, std::function<void()> onDoubleClick);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool OnCaptionPress(QMouseEvent* event);
    bool OnWindowPress(QMouseEvent* event);
    bool Resizable() const;
    void OnHover(const QPoint& pos);

    QPointer<QWidget> m_window;
    QPointer<QWidget> m_caption;
    std::function<void()> m_onDoubleClick;
    QPoint m_dragOffset;  // by-hand move: window corner to the press point
    bool m_dragging = false;
    bool m_edgeCursor = false;
};

}  // namespace kz::ui
