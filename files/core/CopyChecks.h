#pragma once
// What is checked before a copy starts, in the file manager's order: the
// names first, then the room on the target.  Each gives the language key of
// the message that refuses the copy, or null when it may go on.

#include <QString>

#include "files/core/CopyJudge.h"

namespace kz::files {

// The target, trimmed first when the operator typed it (the copy to the
// stick), must not be empty.  Checked before the source is looked at.
const char* CopyTargetRefusal(int mode, QString& targetName);

// Both names must be quotable for the box's shell and stay in their folder.
const char* CopyNamesRefusal(const QString& sourceName, const QString& targetName);

// The free-space verdict as the operator hears it.  With no free space
// reported, the client's error (no box, box offline) when there is one, else
// that the free space could not be read.
const char* SpaceRefusal(SpaceOutcome outcome, const QString& dfOutput);

// Why a copy must not start, from the source's "ls -l" and the target's
// "df": the message's key (null: it may start) and, when the message alone
// cannot tell the operator why, the box's words for the tip.
struct CopyStartRefusal {
    const char* key = nullptr;
    QString tip;
};
// A source the box does not list as one plain file is not copied at all.
CopyStartRefusal JudgeCopyStart(const QString& sourceName, const QString& sourceProbe, const QString& dfOutput);

}  // namespace kz::files
