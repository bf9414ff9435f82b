#pragma once
// The shared state of one simulated box: its state directory, config,
// scenario, U-disk mount and chip.  Every method is safe to call from
// several shell threads at once; long copies run outside the lock.

#include "ChipConfig.h"
#include "Scenario.h"
#include "SimConfig.h"
#include "VirtualFs.h"

#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

namespace box::dev {

enum class MountOutcome { Mounted, Busy, NoStick };

class BoxState {
public:
    BoxState(const std::filesystem::path& stateDir, const SimConfig& config);

    const SimConfig& Config() const { return config_; }
    const VirtualFs& Fs() const { return fs_; }
    const std::filesystem::path& StateDir() const { return stateDir_; }

    MediaState Media() const;
    bool ChipInserted() const;
    bool Fails(const std::string& operation) const;
    bool Corrupts(const std::string& operation) const;
    uint64_t Speed() const;
    std::string Control(const std::string& command);

    MountOutcome MountUdisk();
    bool UnmountUdisk();  // false when it was not mounted
    void Rebooted();      // a reboot leaves the stick unmounted

    ChipConfig Chip() const;
    // Changes the chip config under the lock and saves it.  The edit returns
    // an empty text to accept, or a complaint (then nothing changes).
    std::string EditChip(const std::function<std::string(ChipConfig&)>& edit);

    std::filesystem::path ChipImage(const std::string& partition) const;  // "BOOT1", "BOOT2", "USER"
    std::filesystem::path MasterImage() const;
    std::filesystem::path MasterInfo() const;

private:
    void SaveScenarioLocked();

    std::filesystem::path stateDir_;
    SimConfig config_;
    VirtualFs fs_;
    mutable std::mutex mutex_;
    Scenario scenario_;
    bool udiskMounted_ = false;
    ChipConfig chip_;
};

// Creates whatever the state directory lacks; a fresh one gets demo content.
// Throws std::runtime_error when the directory cannot be prepared.
void PrepareStateDir(const std::filesystem::path& stateDir, const SimConfig& config);

}  // namespace box::dev
