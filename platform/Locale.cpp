#include "platform/Locale.h"

#include <QtGlobal>

namespace kz {

QString SystemLocaleName()
{
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = qEnvironmentVariable(name);
        if (!value.isEmpty())
            return value;
    }
    return {};
}

}  // namespace kz
