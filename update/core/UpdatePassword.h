#pragma once
// The service password that unlocks the system update.

#include <QString>

namespace kz {

// The whole text must match exactly: no trimming, no case folding.
bool IsUpdatePassword(const QString& text);

}  // namespace kz
