#pragma once
// The progress bar a copy draws on a terminal: one line, redrawn in place.

#include <QString>

namespace kz::cli {

// "\r[##########          ]  50% copy" for a bar of `width` cells; the
// percent is clamped to 0..100.
QString ProgressBarText(int percent, int width, const QString& label);

}  // namespace kz::cli
