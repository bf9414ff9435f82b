#include "ChipConfig.h"

#include "AtomicFile.h"

#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>

namespace box::dev {
namespace {

using nlohmann::json;

const char* const kPartitionEnableText[] = {"None", "Boot partition 1", "Boot partition 2"};
// The register's value for booting from the user area, which no combo of the
// program offers but the chip (and so the tool) accepts.
constexpr int kUserAreaEnable = 7;

bool ValidPartitionEnable(int value)
{
    return (value >= 0 && value <= 2) || value == kUserAreaEnable;
}

const char* PartitionEnableText(int value)
{
    return value == kUserAreaEnable ? "User area enabled for boot" : kPartitionEnableText[value];
}
const char* const kModeText[] = {"single,backward compatible", "single,high speed"};
const char* const kBusWidthText[] = {"x1 (sdr)", "x4 (sdr)", "x8 (sdr)"};

std::string Hex(unsigned value)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "0x%02X", value);
    return buf;
}

// EXT_CSD[179]: BOOT_ACK in bit 6, BOOT_PARTITION_ENABLE in bits 5..3.
unsigned PartitionConfigRegister(const BootConfig& b)
{
    return (b.ack ? 0x40u : 0u) | (static_cast<unsigned>(b.partitionEnable) << 3);
}

// EXT_CSD[177]: BOOT_MODE in bits 4..3, BOOT_BUS_WIDTH in bits 1..0.
unsigned BusConditionsRegister(const BootConfig& b)
{
    return (static_cast<unsigned>(b.mode) << 3) | static_cast<unsigned>(b.busWidth);
}

std::string SizeText(uint64_t bytes)
{
    char buf[64];
    if (bytes >= (1ull << 20))
        std::snprintf(buf, sizeof buf, "%llu MB", static_cast<unsigned long long>(bytes >> 20));
    else
        std::snprintf(buf, sizeof buf, "%llu KB", static_cast<unsigned long long>(bytes >> 10));
    return buf;
}

// Parses a whole decimal number in [low, high]; anything else is nullopt.
std::optional<int> SmallNumber(const std::string& text, int low, int high)
{
    if (text.empty() || text.size() > 3)
        return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value < low || value > high)
        return std::nullopt;
    return value;
}

std::string Invalid(const std::string& key, const std::string& value, const char* expected)
{
    return "error: invalid value '" + value + "' for /" + key + ": (expected " + expected + ")";
}

}  // namespace

uint64_t ChipConfig::PartitionBytes(const std::string& name) const
{
    for (const auto& p : partitions)
        if (p.name == name)
            return p.bytes;
    return 0;
}

ChipConfig NewChipConfig(const SimConfig& config)
{
    ChipConfig chip;
    chip.identity = config.identity;
    chip.partitions = {{"BOOT1", config.boot1Bytes},
                       {"BOOT2", config.boot2Bytes},
                       {"RPMB", 512 << 10},
                       {"USER", config.userBytes}};
    return chip;
}

std::optional<ChipConfig> LoadChipConfig(const std::filesystem::path& file, std::string& error)
{
    std::ifstream in(file);
    if (!in) {
        error = "cannot read " + file.string();
        return std::nullopt;
    }
    try {
        const json j = json::parse(in);
        ChipConfig chip;
        const json& id = j.at("identity");
        chip.identity = {id.at("manufacturerId"), id.at("cardType"), id.at("productName"),
                         id.at("productRevision")};
        for (const auto& p : j.at("partitions"))
            chip.partitions.push_back({p.at("name"), p.at("bytes")});
        const json& b = j.at("boot");
        chip.boot = {b.at("partitionEnable"), b.at("ack"), b.at("mode"), b.at("busWidth")};
        if (chip.PartitionBytes("BOOT1") == 0 || chip.PartitionBytes("BOOT2") == 0 ||
            chip.PartitionBytes("USER") == 0) {
            error = file.string() + ": BOOT1, BOOT2 and USER partitions are required";
            return std::nullopt;
        }
        const BootConfig& bc = chip.boot;
        if (!ValidPartitionEnable(bc.partitionEnable) || bc.mode < 0 || bc.mode > 1 || bc.busWidth < 0 ||
            bc.busWidth > 2) {
            error = file.string() + ": boot settings out of range";
            return std::nullopt;
        }
        return chip;
    } catch (const json::exception& e) {
        error = file.string() + ": " + e.what();
        return std::nullopt;
    }
}

bool SaveChipConfig(const std::filesystem::path& file, const ChipConfig& chip)
{
    json j;
    j["identity"] = {{"manufacturerId", chip.identity.manufacturerId},
                     {"cardType", chip.identity.cardType},
                     {"productName", chip.identity.productName},
                     {"productRevision", chip.identity.productRevision}};
    j["partitions"] = json::array();
    for (const auto& p : chip.partitions)
        j["partitions"].push_back({{"name", p.name}, {"bytes", p.bytes}});
    j["boot"] = {{"partitionEnable", chip.boot.partitionEnable},
                 {"ack", chip.boot.ack},
                 {"mode", chip.boot.mode},
                 {"busWidth", chip.boot.busWidth}};
    return WriteFileAtomically(file, j.dump(2) + "\n");
}

std::string ChipInfoReport(const ChipConfig& chip)
{
    std::string r = "eMMC information\n";
    for (size_t i = 0; i < chip.partitions.size(); ++i) {
        const auto& p = chip.partitions[i];
        r += "Partition #" + std::to_string(i + 1) + " (" + p.name + "): " + SizeText(p.bytes) + " (" +
             std::to_string(p.bytes) + " Bytes)\n";
    }
    r += "Manufacturer ID: " + chip.identity.manufacturerId + "\n";
    r += "Card/BGA: " + chip.identity.cardType + "\n";
    r += "Product name: " + chip.identity.productName + "\n";
    r += "Product revision: " + chip.identity.productRevision + "\n";
    const BootConfig& b = chip.boot;
    const std::string pc = "EXT_CSD[179] = " + Hex(PartitionConfigRegister(b));
    const std::string bc = "EXT_CSD[177] = " + Hex(BusConditionsRegister(b));
    r += "Boot Partition Enable: " + pc + " ==> " + PartitionEnableText(b.partitionEnable) + "\n";
    r += "ACK: " + pc + " ==> " + (b.ack ? "On" : "Off") + "\n";
    r += "Boot mode: " + bc + " ==> " + kModeText[b.mode] + "\n";
    r += "Bus width: " + bc + " ==> " + kBusWidthText[b.busWidth] + "\n";
    return r;
}

std::string ApplyBootSetting(BootConfig& boot, const std::string& key, const std::string& value)
{
    if (key == "boot_partition_enable") {
        auto n = SmallNumber(value, 0, kUserAreaEnable);
        if (!n || !ValidPartitionEnable(*n))
            return Invalid(key, value, "0, 1, 2 or 7");
        boot.partitionEnable = *n;
    } else if (key == "boot_ack") {
        if (value != "On" && value != "Off")
            return Invalid(key, value, "On or Off");
        boot.ack = value == "On";
    } else if (key == "mode") {
        auto n = SmallNumber(value, 0, 1);
        if (!n)
            return Invalid(key, value, "0 or 1");
        boot.mode = *n;
    } else if (key == "bus_width") {
        auto n = SmallNumber(value, 0, 2);
        if (!n)
            return Invalid(key, value, "0, 1 or 2");
        boot.busWidth = *n;
    } else {
        return "error: unknown setting /" + key + ":";
    }
    return {};
}

}  // namespace box::dev
