#pragma once
// Settings of the simulated box read from the optional JSON config file.
// Keys other than ours (the transport's "link") are left alone.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <set>
#include <string>

namespace box::dev {

struct ChipIdentity {
    std::string manufacturerId = "0x15";
    std::string cardType = "BGA";  // "Card" or "BGA"
    std::string productName = "KZ16G1";
    std::string productRevision = "0x01";
};

struct SimConfig {
    uint64_t boot1Bytes = 4ull << 20;
    uint64_t boot2Bytes = 4ull << 20;
    uint64_t userBytes = 16ull << 30;  // sparse on the host
    ChipIdentity identity;
    uint64_t sdcardCapacity = 7580ull << 20;
    uint64_t udiskCapacity = 3780ull << 20;
    int rebootDelayMs = 8000;
    uint64_t speed = 64ull << 20;  // bytes per second; 0 = unthrottled
    int readUserMs = 6000;         // how long /READ_USER takes, whatever the size
    int mtkMs = 4000;              // how long /MTK takes
    bool chipInserted = true;      // only for a fresh state directory
    bool udiskInserted = true;     // only for a fresh state directory
    bool dfHumanUnits = false;     // df prints "1.9G" (busybox on big volumes) instead of "1990000K"
    // Applets this box's busybox was built without ("cp", "md5sum",
    // "truncate"); the shell's own command of that name goes too.
    std::set<std::string> missingApplets;
};

// The applets busybox on the SD card can have.
bool IsKnownApplet(const std::string& name);

// Reads the config file.  A missing optional file gives the defaults; a file
// that exists but cannot be read or parsed is an error.
std::optional<SimConfig> LoadSimConfig(const std::optional<std::filesystem::path>& file, std::string& error);

// Parses the JSON text of a config file (exposed for tests).
std::optional<SimConfig> ParseSimConfig(const std::string& text, std::string& error);

}  // namespace box::dev
