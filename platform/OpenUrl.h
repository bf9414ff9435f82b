#pragma once
// Opening a web address in the desktop's browser.

#include <QString>

namespace kz {

// Hands `url` to xdg-open, started on its own; false when the address is not
// an absolute URL or the opener could not be started.  Whether the browser
// then shows the page is not known here.
bool OpenUrl(const QString& url);

// The same with another opener program (tests use a fake one).
bool OpenUrlWith(const QString& opener, const QString& url);

}  // namespace kz
