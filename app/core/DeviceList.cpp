#include "app/core/DeviceList.h"

namespace kz {

namespace {
const QString kHeader = QStringLiteral("List of devices attached");
const QString kDeviceLineEnd = QStringLiteral("\tdevice\r\n");
// The header is followed by a blank, a carriage return and a line feed.
constexpr int kAfterHeader = 3;
}  // namespace

int CountOnlineDevices(const QString& text)
{
    int count = 0;
    qsizetype from = 0;
    while (from < text.size()) {
        const qsizetype at = text.indexOf(kDeviceLineEnd, from);
        // A marker at the very start of the remaining text has no serial in
        // front of it, and ends the count.
        if (at <= from)
            break;
        ++count;
        from = at + kDeviceLineEnd.size();
    }
    return count;
}

namespace {
// The serial in front of the first counted device line.
QString FirstOnlineSerial(const QString& listed)
{
    const qsizetype end = listed.indexOf(kDeviceLineEnd);
    if (end <= 0)
        return {};
    const qsizetype start = listed.lastIndexOf(u'\n', end) + 1;
    return listed.mid(start, end - start).trimmed();
}
}  // namespace

DeviceListVerdict JudgeDeviceList(const QString& output)
{
    const qsizetype header = output.indexOf(kHeader);
    // A client always prints the header; anything else is treated as a list
    // with no device in it.
    if (output.isEmpty() || header < 0)
        return {};
    const QString listed = output.mid(header + kHeader.size() + kAfterHeader);
    if (listed.contains(QStringLiteral("offline")))
        return {DeviceListVerdict::Offline, 0, {}};
    // The client ends its list with a blank line, also when it lists nothing.
    if (listed.trimmed().isEmpty())
        return {};
    const int online = CountOnlineDevices(listed);
    return {DeviceListVerdict::Online, online, online == 1 ? FirstOnlineSerial(listed) : QString()};
}

bool IsBoxModel(const QString& output)
{
    return output.contains(QStringLiteral("imx51_bbg"));
}

}  // namespace kz
