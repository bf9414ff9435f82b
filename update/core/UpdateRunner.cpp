#include "update/core/UpdateRunner.h"

namespace kz {

UpdateOutcome RunUpdateSteps(const std::vector<UpdateStep>& steps, const UpdateCommandRunner& run,
                             const UpdateProgress& progress)
{
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const QString output = run(steps[i].command);
        if (!PassesCheck(steps[i], output))
            return {false, int(i), output};
        if (steps[i].progress > 0)
            progress(steps[i].progress);
    }
    progress(kUpdateDoneStep);
    return {true, -1, {}};
}

}  // namespace kz
