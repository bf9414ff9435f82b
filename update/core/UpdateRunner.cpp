#include "update/core/UpdateRunner.h"

namespace kz {

UpdateOutcome RunUpdateSteps(const std::vector<UpdateStep>& steps, const UpdateCommandRunner& run,
                             const UpdateProgress& progress)
{
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const ClientAnswer answer = run(steps[i].command);
        if (!answer.started)
            return {false, int(i), answer.failure};
        if (!PassesCheck(steps[i], answer.output))
            return {false, int(i), answer.output};
        if (steps[i].progress > 0)
            progress(steps[i].progress);
    }
    progress(kUpdateDoneStep);
    return {true, -1, {}};
}

}  // namespace kz
