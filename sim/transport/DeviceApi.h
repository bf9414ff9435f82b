#pragma once
// What the transport needs from the device side.  The box's executable
// forwards these to box::Device; tests put a scripted device behind it.

#include "sim/device/Device.h"

#include <memory>
#include <string>

namespace box {

class DeviceApi {
public:
    virtual ~DeviceApi() = default;
    virtual std::string ProductName() const = 0;
    virtual std::string ProductModel() const = 0;
    virtual std::string ProductDevice() const = 0;
    virtual int RebootDelayMs() const = 0;
    virtual ShellResult RunShell(const std::string& command, Output& out) = 0;
    virtual FileStat Stat(const std::string& devicePath) = 0;
    virtual std::unique_ptr<PushTarget> BeginPush(const std::string& devicePath, uint32_t mode,
                                                  std::string& error) = 0;
    // A device without pull refuses it.
    virtual std::unique_ptr<PullSource> BeginPull(const std::string& devicePath, std::string& error)
    {
        error = "pull of " + devicePath + " not supported";
        return nullptr;
    }
    virtual std::string Control(const std::string& command) = 0;
};

// The CNXN banner of an old device: no features, so hosts use the legacy
// shell and sync services.
std::string DeviceBanner(const DeviceApi& device);

}  // namespace box
