#pragma once
// Trimming of a file name typed or picked by the operator: every leading
// blank goes, then trailing blanks, carriage returns and line feeds.  Tabs
// and every other character stay; a name of blanks only becomes empty.

#include <QString>

namespace kz::files {

void TrimName(QString& name);

}  // namespace kz::files
