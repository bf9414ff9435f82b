// The chip tool's identity report as the box prints it.
#include "link/ChipInfo.h"
#include "tests/fuzz/FuzzInput.h"
#include "tests/fuzz/FuzzTarget.h"

namespace {

bool IndexIn(const std::optional<int>& index, int count)
{
    return !index || (*index >= 0 && *index < count);
}

}  // namespace

KZ_FUZZ_TARGET(ChipInfo)
{
    const QString report = kz::fuzz::Text(data, size);
    const kz::ChipInfo info = kz::ParseChipInfo(report);
    KZ_FUZZ_CHECK(info.partitions.size() <= size_t(kz::kMaxPartitionRows));
    for (const kz::PartitionRow& row : info.partitions) {
        KZ_FUZZ_CHECK(row[0].startsWith(u'#'));
        for (const QString& cell : row)
            KZ_FUZZ_CHECK(cell.size() <= report.size());
    }
    // The combos' item counts: a decoded index outside them selects nothing.
    KZ_FUZZ_CHECK(IndexIn(info.partitionEnable, 3));
    KZ_FUZZ_CHECK(IndexIn(info.ack, 2));
    KZ_FUZZ_CHECK(IndexIn(info.bootMode, 2));
    KZ_FUZZ_CHECK(IndexIn(info.busWidth, 3));
    KZ_FUZZ_CHECK(!info.productName || info.productName->size() <= report.size());
}
