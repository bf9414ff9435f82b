#include "app/core/ChipInfoErrors.h"

#include "app/core/Texts.h"

namespace kz {

QString ChipInfoErrorMessage(const QString& output)
{
    // Order matters: the chip message wins over adb errors, and the plain
    // "not found" comes last because the device errors contain it too.
    static const struct {
        const char* marker;
        const char* message;
    } kTable[] = {
        {"No eMMC inside", text::ChipNotDetected},
        {"error: device not found", text::NoDeviceFound},
        {"error: device offline", text::DeviceTurnedOff},
        {"error: more than one device and emulator", text::MultipleDevices},
        {"not found", text::NoDeviceFound},
    };
    for (const auto& row : kTable) {
        if (output.contains(QLatin1String(row.marker)))
            return QString::fromUtf8(row.message);
    }
    return QString();
}

}  // namespace kz
