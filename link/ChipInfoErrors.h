#pragma once
// Errors found in the answer of the chip-information command.

#include <QString>

namespace kz {

// The message (English text, a language-file key) for the first error marker
// found in `output`, or the empty text when the output is a chip report.
QString ChipInfoErrorMessage(const QString& output);

}  // namespace kz
