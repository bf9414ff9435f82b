#pragma once
// Timings of the dialogs the main window opens, passed in at its
// construction (tests shorten them).

#include "files/core/CopyRun.h"
#include "master/core/LoadingFrames.h"

namespace kz {

struct DialogTimings {
    master::LoadingTiming loading;
    files::CopyTiming copy;
};

}  // namespace kz
