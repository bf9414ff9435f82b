#pragma once
// The READ USER dialog judges nothing: the operator reads the tool's lines.
// A script cannot, so the tool's run is judged here, from the same texts the
// other chip-tool judges use.

#include <QString>

namespace kz::cli {

struct ReadUserVerdict {
    bool ok = false;
    QString message;  // a failure's message (English text), when one is known
};

// The chip-information errors (no chip, no box, box offline ...) fail with
// their message; an "error" from the tool, or no output at all, fails
// without one; anything else is the tool's completed run.
ReadUserVerdict JudgeReadUserOutput(const QString& output);

}  // namespace kz::cli
