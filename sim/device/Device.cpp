#include "Device.h"

#include "BoxState.h"
#include "CommandLog.h"
#include "Shell.h"
#include "SyncFiles.h"

#include <stdexcept>

namespace box {

struct Device::Impl {
    std::unique_ptr<dev::BoxState> box;
    std::unique_ptr<dev::CommandLog> commands;
};

Device::Device(const DeviceOptions& options) : impl_(std::make_unique<Impl>())
{
    std::string error;
    const auto config = dev::LoadSimConfig(options.configFile, error);
    if (!config)
        throw std::runtime_error(error);
    impl_->box = std::make_unique<dev::BoxState>(options.stateDir, *config);
    impl_->commands = std::make_unique<dev::CommandLog>(impl_->box->StateDir());
}

Device::~Device() = default;

std::string Device::ProductName() const
{
    return "imx51_bbg";
}

std::string Device::ProductModel() const
{
    return "imx51_bbg";
}

std::string Device::ProductDevice() const
{
    return "imx51_bbg";
}

int Device::RebootDelayMs() const
{
    return impl_->box->Config().rebootDelayMs;
}

ShellResult Device::RunShell(const std::string& command, Output& out)
{
    impl_->commands->Append(command);
    return dev::RunCommandLine(*impl_->box, command, out);
}

FileStat Device::Stat(const std::string& devicePath)
{
    return dev::StatPath(*impl_->box, devicePath);
}

std::unique_ptr<PushTarget> Device::BeginPush(const std::string& devicePath, uint32_t mode, std::string& error)
{
    return dev::OpenPush(*impl_->box, devicePath, mode, error);
}

std::unique_ptr<PullSource> Device::BeginPull(const std::string& devicePath, std::string& error)
{
    return dev::OpenPull(*impl_->box, devicePath, error);
}

std::string Device::Control(const std::string& command)
{
    return impl_->box->Control(command);
}

}  // namespace box
