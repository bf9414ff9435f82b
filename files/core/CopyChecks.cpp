#include "files/core/CopyChecks.h"

#include "files/core/FileManagerMode.h"
#include "files/core/FileTexts.h"
#include "files/core/Listing.h"
#include "files/core/NameRules.h"
#include "files/core/ShellName.h"
#include "files/core/TrimName.h"

namespace kz::files {

const char* CopyTargetRefusal(int mode, QString& targetName)
{
    if (mode == COPY_SDCARD_TO_UDISK)
        TrimName(targetName);
    // A name of blanks only is empty once trimmed: no copy onto ''.
    return targetName.isEmpty() ? text::TargetNameEmpty : nullptr;
}

const char* CopyNamesRefusal(const QString& sourceName, const QString& targetName)
{
    if (!IsShellSafeName(sourceName) || !IsShellSafeName(targetName))
        return UnsafeFileName;
    // Both are named inside their storage's folder, never elsewhere.
    if (LeavesFolder(sourceName) || LeavesFolder(targetName))
        return text::NameNotInFolder;
    return nullptr;
}

const char* SpaceRefusal(SpaceOutcome outcome, const QString& dfOutput)
{
    switch (outcome) {
    case SpaceOk:
        return nullptr;
    case SpaceTooSmall:
        return text::NotEnoughDisk;
    case SpaceStorageMissing:
        return text::UdiskNotFound;
    case SpaceNotReported:
        break;
    }
    // No box, or one that is offline: say so as the listing does.
    const char* error = ListingErrorKey(dfOutput);
    return error ? error : text::FreeSpaceUnreadable;
}

CopyStartRefusal JudgeCopyStart(const QString& sourceName, const QString& sourceProbe, const QString& dfOutput)
{
    if (const char* error = ListingErrorKey(sourceProbe))
        return {error, {}};
    if (!IsListingOfFile(sourceProbe, sourceName))
        return {text::CopyFailed, sourceProbe};
    const char* refusal = SpaceRefusal(JudgeTargetSpace(sourceProbe, dfOutput), dfOutput);
    return {refusal, refusal == text::FreeSpaceUnreadable ? dfOutput : QString()};
}

}  // namespace kz::files
