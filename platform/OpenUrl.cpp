#include "platform/OpenUrl.h"

#include "platform/Process.h"

#include <QUrl>

namespace kz {

bool OpenUrlWith(const QString& opener, const QString& url)
{
    // An address starting with '-' would reach the opener as an option.
    const QUrl parsed(url, QUrl::StrictMode);
    if (url.startsWith(u'-') || !parsed.isValid() || parsed.scheme().isEmpty())
        return false;
    return StartDetached(opener, {url}, /*newProcessGroup*/ true);
}

bool OpenUrl(const QString& url) { return OpenUrlWith(QStringLiteral("xdg-open"), url); }

}  // namespace kz
