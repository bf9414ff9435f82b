#include "BoxState.h"

#include <stdexcept>

namespace box::dev {
namespace fs = std::filesystem;

BoxState::BoxState(const fs::path& stateDir, const SimConfig& config)
    : stateDir_(fs::absolute(stateDir)), config_(config), fs_(stateDir_)
{
    PrepareStateDir(stateDir_, config_);
    if (!LoadScenario(stateDir_ / "scenario.json", scenario_))
        throw std::runtime_error("cannot read " + (stateDir_ / "scenario.json").string());
    std::string error;
    auto chip = LoadChipConfig(stateDir_ / "chip" / "config.json", error);
    if (!chip)
        throw std::runtime_error(error);
    chip_ = *chip;
}

MediaState BoxState::Media() const
{
    std::lock_guard lock(mutex_);
    return {scenario_.udiskInserted, scenario_.udiskInserted && udiskMounted_};
}

bool BoxState::ChipInserted() const
{
    std::lock_guard lock(mutex_);
    return scenario_.chipInserted;
}

bool BoxState::Fails(const std::string& operation) const
{
    std::lock_guard lock(mutex_);
    return scenario_.fail.count(operation) != 0;
}

bool BoxState::Corrupts(const std::string& operation) const
{
    std::lock_guard lock(mutex_);
    return scenario_.corrupt.count(operation) != 0;
}

uint64_t BoxState::Speed() const
{
    std::lock_guard lock(mutex_);
    return scenario_.speed.value_or(config_.speed);
}

std::string BoxState::Control(const std::string& command)
{
    std::lock_guard lock(mutex_);
    Scenario changed = scenario_;
    const std::string answer = ApplyControl(changed, command);
    if (answer != "ok")
        return answer;
    scenario_ = changed;
    if (!scenario_.udiskInserted)
        udiskMounted_ = false;
    SaveScenarioLocked();
    return answer;
}

void BoxState::SaveScenarioLocked()
{
    // A scenario that cannot be saved still holds for this run.
    SaveScenario(stateDir_ / "scenario.json", scenario_);
}

MountOutcome BoxState::MountUdisk()
{
    std::lock_guard lock(mutex_);
    if (!scenario_.udiskInserted)
        return MountOutcome::NoStick;
    if (udiskMounted_)
        return MountOutcome::Busy;
    udiskMounted_ = true;
    return MountOutcome::Mounted;
}

bool BoxState::UnmountUdisk()
{
    std::lock_guard lock(mutex_);
    const bool was = udiskMounted_ && scenario_.udiskInserted;
    udiskMounted_ = false;
    return was;
}

void BoxState::Rebooted()
{
    std::lock_guard lock(mutex_);
    udiskMounted_ = false;
}

ChipConfig BoxState::Chip() const
{
    std::lock_guard lock(mutex_);
    return chip_;
}

std::string BoxState::EditChip(const std::function<std::string(ChipConfig&)>& edit)
{
    std::lock_guard lock(mutex_);
    ChipConfig changed = chip_;
    std::string complaint = edit(changed);
    if (!complaint.empty())
        return complaint;
    if (!SaveChipConfig(stateDir_ / "chip" / "config.json", changed))
        return "error: cannot save the chip configuration";
    chip_ = changed;
    return {};
}

fs::path BoxState::ChipImage(const std::string& partition) const
{
    if (partition == "BOOT1")
        return stateDir_ / "chip" / "boot1.img";
    if (partition == "BOOT2")
        return stateDir_ / "chip" / "boot2.img";
    return stateDir_ / "chip" / "user.img";
}

fs::path BoxState::MasterImage() const
{
    return stateDir_ / "master" / "master.img";
}

fs::path BoxState::MasterInfo() const
{
    return stateDir_ / "master" / "master.json";
}

}  // namespace box::dev
