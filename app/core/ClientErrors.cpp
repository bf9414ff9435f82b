#include "app/core/ClientErrors.h"

#include "app/core/Texts.h"

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

}  // namespace kz
