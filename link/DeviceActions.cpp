#include "link/DeviceActions.h"

#include "device/ClientErrors.h"
#include "device/ServerStartLines.h"
#include "link/Texts.h"

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
    RebootVerdict verdict{false, {}, StripServerStartLines(output)};
    verdict.message = QString::fromUtf8(ClientErrorMessage(output, PlainNotFound::First));
    return verdict;
}

}  // namespace kz
