#pragma once
// The operator's locale as the C library would choose it for messages.

#include <QString>

namespace kz {

// The first non-empty of LC_ALL, LC_MESSAGES and LANG ("" when none is set),
// e.g. "zh_TW.UTF-8".
QString SystemLocaleName();

}  // namespace kz
