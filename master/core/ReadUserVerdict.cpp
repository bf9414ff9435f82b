#include "master/core/ReadUserVerdict.h"

#include "app/core/ChipInfoErrors.h"
#include "app/core/ServerStartLines.h"

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
