#include "files/core/ShellName.h"

namespace kz::files {

bool IsShellSafeName(const QString& name)
{
    for (const QChar c : name) {
        if (c == u'"' || c.category() == QChar::Other_Control)
            return false;
    }
    return true;
}

}  // namespace kz::files
