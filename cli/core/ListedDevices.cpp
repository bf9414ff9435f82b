#include "cli/core/ListedDevices.h"

#include <QStringList>

#include "link/DeviceList.h"

namespace kz::cli {

kz::TrackedList ListedDevices(const QString& devicesOutput)
{
    return kz::ParseDevicesList(devicesOutput).value_or(kz::TrackedList{});
}

SerialChoice ChooseSerial(const kz::TrackedList& listed)
{
    if (listed.isEmpty())
        return {};
    if (listed.size() == 1)
        return {listed.first().serial, {}};
    QStringList names;
    for (const kz::TrackedDevice& device : listed)
        names << QStringLiteral("%1 (%2)").arg(device.serial, device.state);
    return {{}, QStringLiteral("several boxes are attached: %1; name one with --serial").arg(names.join(QStringLiteral(", ")))};
}

}  // namespace kz::cli
