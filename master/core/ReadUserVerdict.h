#pragma once
// How a READ USER run ended, from the same texts the other chip-tool judges
// use: the dialog's record and a script's exit status say the same.

#include <QString>

namespace kz::master {

struct ReadUserVerdict {
    bool ok = false;
    QString message;  // a failure's message (English text), when one is known
};

// The chip-information errors (no chip, no box, box offline ...) fail with
// their message; an "error" from the tool, or no output at all, fails
// without one; anything else is the tool's completed run.
ReadUserVerdict JudgeReadUserOutput(const QString& output);

}  // namespace kz::master
