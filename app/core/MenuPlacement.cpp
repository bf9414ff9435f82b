#include "app/core/MenuPlacement.h"

namespace kz {

namespace {
int FitOnAxis(int wanted, int length, int areaStart, int areaEnd)
{
    if (wanted < areaStart)
        return areaStart;
    if (wanted + length <= areaEnd)
        return wanted;
    return length > areaEnd - areaStart ? areaStart : areaEnd - length;
}
}  // namespace

QPoint PlaceMenu(QPoint wanted, QSize size, const QRect& workArea)
{
    const int right = workArea.x() + workArea.width();
    const int bottom = workArea.y() + workArea.height();
    return {FitOnAxis(wanted.x(), size.width(), workArea.x(), right),
            FitOnAxis(wanted.y(), size.height(), workArea.y(), bottom)};
}

}  // namespace kz
