#include "app/core/DeviceActions.h"

#include "app/core/ServerStartLines.h"
#include "app/core/Texts.h"

namespace kz {

MountVerdict JudgeMount(const QString& output)
{
    if (IsEmptyAnswer(output))
        return {MountVerdict::Mounted, {}};
    if (output.contains(QStringLiteral("Device or resource busy")))
        return {MountVerdict::AlreadyMounted, {}};
    const QString noStick = QString::fromUtf8(text::NoUdisk);
    return {MountVerdict::Failed, output.contains(noStick) ? noStick : StripServerStartLines(output)};
}

MountVerdict JudgeMount(const ClientAnswer& answer)
{
    return answer.started ? JudgeMount(answer.output) : MountVerdict{MountVerdict::Failed, answer.failure};
}

RebootVerdict JudgeReboot(const ClientAnswer& answer)
{
    return answer.started ? JudgeReboot(answer.output) : RebootVerdict{false, {}, answer.failure};
}

RebootVerdict JudgeReboot(const QString& output)
{
    if (IsEmptyAnswer(output))
        return {true, {}, {}};
    static const struct {
        const char* marker;
        const char* message;
    } kTable[] = {
        {"not found", text::NoDeviceFound},
        {"error: device offline", text::DeviceTurnedOff},
        {"error: more than one device and emulator", text::MultipleDevices},
    };
    RebootVerdict verdict{false, {}, StripServerStartLines(output)};
    for (const auto& row : kTable) {
        if (output.contains(QLatin1String(row.marker))) {
            verdict.message = QString::fromUtf8(row.message);
            break;
        }
    }
    return verdict;
}

}  // namespace kz
