#pragma once
// Decoding of the chip tool's identity report (the answer of "/emmc_info")
// into the values the board dialog starts from.  Purely textual: fixed
// labels, the "==>" marker, blanks, parentheses, colons and line feeds.

#include <QString>
#include <array>
#include <optional>
#include <vector>

namespace kz {

inline constexpr int kMaxPartitionRows = 30;

// Number, name and size text of one partition, as the partition list shows them.
using PartitionRow = std::array<QString, 3>;

struct ChipInfo {
    std::vector<PartitionRow> partitions;  // at most kMaxPartitionRows
    std::optional<QString> manufacturer;   // "Samsung", "SanDisk" or "unknown"
    std::optional<QString> productName;    // as printed, with its leading blank
    // Item indices of the four boot-configuration combos; empty when the
    // report says nothing the combo knows.
    std::optional<int> partitionEnable;
    std::optional<int> ack;
    std::optional<int> bootMode;
    std::optional<int> busWidth;
    // The words after "==>" for each boot label found, trimmed: what the
    // chip reported, whether or not a combo lists it.
    struct Reported {
        std::optional<QString> partitionEnable;
        std::optional<QString> ack;
        std::optional<QString> bootMode;
        std::optional<QString> busWidth;
    } reported;
};

ChipInfo ParseChipInfo(QString output);

// "0x15" Samsung, "0x45" SanDisk, anything else "unknown".
QString ManufacturerName(const QString& idText);

}  // namespace kz
