#pragma once
// The chip record of the operator's log: the identity and boot configuration
// of the chip, taken from the chip tool's report as it stands (the dialog
// keeps showing the text; this is the same report, for tools to read).

#include <QJsonObject>
#include <QString>

namespace kz {

// The fields the report holds, decoded: "manufacturerId" and "manufacturer"
// (its name, or "unknown"), "card", "product", "revision", "partitions" (an
// array of {number, name, bytes}), "bootPartitionEnable", "ack", "bootMode",
// "busWidth" (the decoded words after "==>"), and "serial" and "date" when
// the tool prints them.  A field the report lacks is left out; a text with
// none of them gives the empty object.
QJsonObject ChipRecordOf(const QString& report);

}  // namespace kz
