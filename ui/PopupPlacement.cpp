#include "ui/PopupPlacement.h"

#include <QGuiApplication>
#include <QScreen>

namespace kz::ui {

namespace {

// One axis: keep [pos, pos + size) inside [lo, hi); too long: start at lo.
int FitAxis(int pos, int size, int lo, int hi)
{
    if (size >= hi - lo)
        return lo;
    if (pos + size > hi)
        return hi - size;
    return pos < lo ? lo : pos;
}

}  // namespace

QPoint FitInside(const QRect& popup, const QRect& area)
{
    // QRect::right()/bottom() are inclusive; work with exclusive ends.
    return QPoint(FitAxis(popup.x(), popup.width(), area.x(), area.x() + area.width()),
                  FitAxis(popup.y(), popup.height(), area.y(), area.y() + area.height()));
}

QRect WorkAreaAt(const QPoint& globalPoint)
{
    QScreen* screen = QGuiApplication::screenAt(globalPoint);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

}  // namespace kz::ui
