#include "link/DeviceList.h"

#include <QRegularExpression>
#include <QStringList>

#include "device/ClientErrors.h"

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

// One listed device, or nothing for a line that lists none.
std::optional<TrackedDevice> ParseDeviceLine(QString line)
{
    line = line.trimmed();
    qsizetype split = line.indexOf(u'\t');
    if (split < 0)
        split = line.indexOf(u' ');
    if (split < 1)
        return std::nullopt;
    QString state = line.mid(split + 1).trimmed();
    // "devices -l" ends the line with details such as "usb:1-1 product:x";
    // a state's own words (a bracketed address) never look like one.
    static const QRegularExpression kDetail(QStringLiteral(R"(\s+[a-z_]+:\S*$)"));
    while (state.contains(kDetail))
        state.remove(kDetail);
    if (state.isEmpty())
        return std::nullopt;
    return TrackedDevice{line.left(split), state};
}

// The state line's state: "device" when one is listed so, else the first
// device's.
void NameState(DeviceListVerdict& verdict, const TrackedList& listed)
{
    for (const TrackedDevice& device : listed) {
        if (LinkStateOf(device.state) == LinkState::Device) {
            verdict.state = LinkState::Device;
            return;
        }
    }
    if (!listed.isEmpty()) {
        verdict.state = LinkStateOf(listed.first().state);
        verdict.stateWords = listed.first().state;
    }
}
}  // namespace

std::optional<TrackedList> ParseDevicesList(const QString& output)
{
    const qsizetype header = output.indexOf(kHeader);
    if (header < 0)
        return std::nullopt;
    TrackedList listed;
    // The header's own line is the first; what follows it on that line is
    // adb's blank.
    const QStringList lines = output.mid(header + kHeader.size()).split(u'\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (const std::optional<TrackedDevice> device = ParseDeviceLine(lines[i]))
            listed.append(*device);
    }
    return listed;
}

DeviceListVerdict JudgeDeviceList(const QString& output)
{
    if (IsAdbMissing(output))
        return {DeviceListVerdict::AdbMissing, 0, {}, LinkState::AdbMissing, {}};
    const qsizetype header = output.indexOf(kHeader);
    // A client always prints the header; anything else is treated as a list
    // with no device in it.
    if (output.isEmpty() || header < 0)
        return {};
    const QString listed = output.mid(header + kHeader.size() + kAfterHeader);
    const TrackedList devices = ParseDevicesList(output).value_or(TrackedList{});
    DeviceListVerdict verdict;
    if (listed.contains(QStringLiteral("offline"))) {
        verdict.kind = DeviceListVerdict::Offline;
        verdict.state = LinkState::Offline;
        verdict.stateWords = QStringLiteral("offline");
        return verdict;
    }
    // The client ends its list with a blank line, also when it lists nothing.
    if (listed.trimmed().isEmpty())
        return {DeviceListVerdict::Empty, 0, {}, LinkState::None, {}};
    verdict.kind = DeviceListVerdict::Online;
    verdict.onlineCount = CountOnlineDevices(listed);
    if (verdict.onlineCount == 1)
        verdict.serial = FirstOnlineSerial(listed);
    NameState(verdict, devices);
    return verdict;
}

bool IsBoxModel(const QString& output)
{
    return output.contains(QStringLiteral("imx51_bbg"));
}

}  // namespace kz
