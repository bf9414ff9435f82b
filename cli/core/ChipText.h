#pragma once
// The chip record as lines for a person: one "field: value" line per field
// in a fixed order, then one line per partition.

#include <QJsonObject>
#include <QString>

namespace kz::cli {

QString ChipRecordText(const QJsonObject& record);

}  // namespace kz::cli
