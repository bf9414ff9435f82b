#include "files/core/TrimName.h"

namespace kz::files {

void TrimName(QString& name)
{
    qsizetype first = 0;
    while (first < name.size() && name[first] == u' ')
        ++first;
    name.remove(0, first);
    qsizetype end = name.size();
    while (end > 0 && (name[end - 1] == u' ' || name[end - 1] == u'\r' || name[end - 1] == u'\n'))
        --end;
    name.truncate(end);
}

}  // namespace kz::files
