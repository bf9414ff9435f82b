#pragma once
// Where a popup may open: its requested rectangle moved (never resized) so it
// lies inside a work area.  A popup larger than the area is put at the area's
// left or top edge.  The area's own origin counts, so a second monitor whose
// work area does not start at 0 keeps its popups.

#include <QPoint>
#include <QRect>

namespace kz::ui {

QPoint FitInside(const QRect& popup, const QRect& area);

// The work area (available geometry) of the screen holding point, or of the
// primary screen when no screen does.
QRect WorkAreaAt(const QPoint& globalPoint);

}  // namespace kz::ui
