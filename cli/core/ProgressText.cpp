#include "cli/core/ProgressText.h"

#include <algorithm>

namespace kz::cli {

QString ProgressBarText(int percent, int width, const QString& label)
{
    percent = std::clamp(percent, 0, 100);
    const int filled = width * percent / 100;
    return QStringLiteral("\r[%1%2] %3% %4")
        .arg(QString(filled, u'#'), QString(width - filled, u' '))
        .arg(percent, 3)
        .arg(label);
}

}  // namespace kz::cli
