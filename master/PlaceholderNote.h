#pragma once
// Dialogs of this folder that exist only in a first, minimal form say so in
// their window, so nobody mistakes them for the finished ones.

#include <QString>

class QWidget;

namespace kz {

// Adds a small line of text at the bottom of `window` (below its skin).
void AddPlaceholderNote(QWidget* window, const QString& text);

}  // namespace kz
