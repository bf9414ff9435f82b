#pragma once
// The chip's identity, partition table and boot configuration, kept in
// chip/config.json beside the partition images.

#include "SimConfig.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace box::dev {

struct ChipPartition {
    std::string name;
    uint64_t bytes = 0;
};

// The boot settings as the chip keeps them in its extended CSD registers.
struct BootConfig {
    int partitionEnable = 1;  // 0 none, 1 boot partition 1, 2 boot partition 2, 7 user area
    bool ack = false;
    int mode = 0;      // 0 single,backward compatible; 1 single,high speed
    int busWidth = 2;  // 0 x1, 1 x4, 2 x8
};

struct ChipConfig {
    ChipIdentity identity;
    std::vector<ChipPartition> partitions;  // BOOT1, BOOT2, RPMB, USER
    BootConfig boot;

    uint64_t PartitionBytes(const std::string& name) const;
};

ChipConfig NewChipConfig(const SimConfig& config);
std::optional<ChipConfig> LoadChipConfig(const std::filesystem::path& file, std::string& error);
bool SaveChipConfig(const std::filesystem::path& file, const ChipConfig& chip);

// The report that "/emmc_info" prints.
std::string ChipInfoReport(const ChipConfig& chip);

// One "/configure_boot" setting, e.g. ("boot_ack", "Off").  Returns an empty
// text when the value was valid and applied, else the complaint.
std::string ApplyBootSetting(BootConfig& boot, const std::string& key, const std::string& value);

}  // namespace box::dev
