#include "link/ChipInfoErrors.h"

#include "device/ClientErrors.h"
#include "link/Texts.h"

namespace kz {

QString ChipInfoErrorMessage(const QString& output)
{
    // The chip message wins over the client's errors, and those win over a
    // shell's "not found".
    if (output.contains(QLatin1String("No eMMC inside")))
        return QString::fromUtf8(text::ChipNotDetected);
    return QString::fromUtf8(ClientErrorMessage(output, PlainNotFound::Last));
}

}  // namespace kz
