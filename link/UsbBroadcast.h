#pragma once
// USB hot-plug broadcasts as the connection monitor sees them.

#include <QString>

namespace kz {

inline constexpr int DBT_DEVICEARRIVAL = 0x8000;
inline constexpr int DBT_DEVICEREMOVECOMPLETE = 0x8004;

// A broadcast is acted on only when its device name identifies a USB vendor
// and product ("USB#VID_xxxx&PID_yyyy", in any case).
bool IsUsbDeviceName(const QString& name);

}  // namespace kz
