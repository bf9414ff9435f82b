#pragma once
// Running the update commands in order, judging each answer; the command
// runner and the progress report are handed in, so the order, the stop on
// the first failure and the progress steps are testable without a box.

#include <QString>
#include <functional>
#include <vector>

#include "device/ClientAnswer.h"
#include "update/core/UpdateSequence.h"

namespace kz {

struct UpdateOutcome {
    bool passed = false;
    int failedStep = -1;  // index into the sequence of the command that failed
    QString failedOutput;
};

using UpdateCommandRunner = std::function<ClientAnswer(const QString& command)>;
using UpdateProgress = std::function<void(int step)>;

// Stops at the first answer that fails its check, and at the first command
// whose client did not start, whatever that command's check.  Reports each progress
// step as it is reached, and kUpdateDoneStep when every command passed.
UpdateOutcome RunUpdateSteps(const std::vector<UpdateStep>& steps, const UpdateCommandRunner& run,
                             const UpdateProgress& progress);

}  // namespace kz
