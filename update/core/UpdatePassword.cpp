#include "update/core/UpdatePassword.h"

namespace kz {

bool IsUpdatePassword(const QString& text)
{
    return text == QLatin1String("518204637");
}

}  // namespace kz
