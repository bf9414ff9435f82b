#include "app/core/LogStore.h"

namespace kz {

QString CLogStore::ItemText(int row, int column) const
{
    if (column != 0 || row < 0 || row >= Count())
        return QString();
    return m_lines[static_cast<size_t>(row)];
}

}  // namespace kz
