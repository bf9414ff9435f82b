#include "master/core/MtxVerdict.h"

namespace kz::master {

MtxVerdict JudgeMtxOutput(const QString& output)
{
    if (output.contains(QLatin1String("error")) || output.contains(QLatin1String("failed")))
        return {};
    if (output.contains(QLatin1String("can't open /mnt/udisk/ MTX file")))
        return {false, true};
    return {output.contains(QLatin1String("Master OK")), false};
}

}  // namespace kz::master
