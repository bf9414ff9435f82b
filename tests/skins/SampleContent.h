#pragma once
// Fills a loaded skin with typical content (help panel, log rows, list rows)
// so a rendered picture shows the layout as users will see it.
#include <QWidget>

namespace kz::skintest {

void FillSampleContent(QWidget& root, bool chinese);

}  // namespace kz::skintest
