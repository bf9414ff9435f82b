#include "link/UsbBroadcast.h"

namespace kz {

bool IsUsbDeviceName(const QString& name)
{
    const QString upper = name.toUpper();
    return upper.contains(QStringLiteral("USB#VID_")) && upper.contains(QStringLiteral("PID_"));
}

}  // namespace kz
