#include "device/ClientErrors.h"

#include "device/ClientTexts.h"

#include <QRegularExpression>

namespace kz {

namespace {

constexpr const char kPlainNotFound[] = "not found";

}  // namespace

const char* ClientErrorMessage(const QString& output, PlainNotFound rank)
{
    static const struct {
        const char* marker;
        const char* message;
    } kTable[] = {
        {"error: device not found", text::NoDeviceFound},
        {"error: device offline", text::DeviceTurnedOff},
        {"error: more than one device and emulator", text::MultipleDevices},
    };
    const bool plainNotFound = output.contains(QLatin1String(kPlainNotFound));
    if (rank == PlainNotFound::First && plainNotFound)
        return text::NoDeviceFound;
    for (const auto& row : kTable) {
        if (output.contains(QLatin1String(row.marker)))
            return row.message;
    }
    return plainNotFound ? text::NoDeviceFound : nullptr;
}

bool IsDeviceError(const QString& output)
{
    static const char* const kMarkers[] = {
        "error: device ",          // not found, offline, unauthorized, still authorizing, 'X' not found
        "error: no devices",       // no devices/emulators found
        "error: more than one device",
        "error: insufficient permissions for device",
        "error: closed",           // the device's connection ended under the command
    };
    for (const char* marker : kMarkers) {
        if (output.contains(QLatin1String(marker)))
            return true;
    }
    return false;
}

bool IsAdbMissing(const QString& output)
{
    // kz_daemon's own words when it cannot find the client it runs.
    return output.contains(QLatin1String("kz_daemon: the adb client '")) &&
           output.contains(QLatin1String("' was not found"));
}

std::optional<VersionClash> ServerVersionClash(const QString& output)
{
    static const QRegularExpression kClash(
        QStringLiteral(R"(adb server version \((\d+)\) doesn't match this client \((\d+)\))"));
    const QRegularExpressionMatch match = kClash.match(output);
    if (!match.hasMatch())
        return std::nullopt;
    return VersionClash{match.captured(1), match.captured(2)};
}

}  // namespace kz
