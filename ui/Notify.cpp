#include "ui/Notify.h"

namespace kz::ui {

bool NotifyTypeIs(const TNotifyUI& msg, const char* type)
{
    return msg.sType.compare(QLatin1String(type), Qt::CaseInsensitive) == 0;
}

bool SenderIs(const TNotifyUI& msg, const QString& name)
{
    return msg.senderName.compare(name, Qt::CaseInsensitive) == 0;
}

}  // namespace kz::ui
