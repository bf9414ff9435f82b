#pragma once
// Where a popup menu goes so that it stays inside the screen's work area.

#include <QPoint>
#include <QRect>
#include <QSize>

namespace kz {

// The top-left corner for a menu of `size` wanted at `wanted`: moved up and
// left until it fits, or to the work area's top or left edge when it is taller
// or wider than the work area.
QPoint PlaceMenu(QPoint wanted, QSize size, const QRect& workArea);

}  // namespace kz
