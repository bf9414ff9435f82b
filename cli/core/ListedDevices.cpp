#include "cli/core/ListedDevices.h"

#include <QStringList>

namespace kz::cli {

kz::TrackedList ListedDevices(const QString& devicesOutput)
{
    static const QString kHeader = QStringLiteral("List of devices attached");
    const qsizetype header = devicesOutput.indexOf(kHeader);
    if (header < 0)
        return {};
    kz::TrackedList listed;
    const QStringList lines = devicesOutput.mid(header + kHeader.size()).split(u'\n');
    // The header's own line is the first; what follows it on that line is
    // adb's blank.
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QStringList fields = lines.at(i).trimmed().split(u'\t');
        if (fields.size() == 2 && !fields.at(0).isEmpty() && !fields.at(1).isEmpty())
            listed.append({fields.at(0), fields.at(1)});
    }
    return listed;
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
