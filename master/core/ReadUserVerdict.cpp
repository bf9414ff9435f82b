#include "master/core/ReadUserVerdict.h"

#include "link/ChipInfoErrors.h"
#include "device/ServerStartLines.h"

namespace kz::master {

ReadUserVerdict JudgeReadUserOutput(const QString& output)
{
    const QString error = kz::ChipInfoErrorMessage(output);
    if (!error.isEmpty())
        return {false, error};
    if (output.contains(QLatin1String("error")) || kz::IsEmptyAnswer(output))
        return {false, {}};
    return {true, {}};
}

}  // namespace kz::master
