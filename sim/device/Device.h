#pragma once
// The device side of the simulated box: its storage, its shell and the chip
// tool.  The transport (sim/transport) owns the adb connection and hands every
// shell and sync request to one Device.  All methods may be called from
// several transport threads at once.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace box {

// Where a running command writes.  Write() blocks while the host is slow
// (flow control) and returns false once the host has gone: the command must
// then stop soon and return.
class Output {
public:
    virtual ~Output() = default;
    virtual bool Write(std::string_view bytes) = 0;
};

struct ShellResult {
    bool reboot = false;  // the command was "reboot": the transport drops the link
};

struct FileStat {
    uint32_t mode = 0;  // 0 in all three fields: no such path
    uint32_t size = 0;
    uint32_t mtime = 0;
};

// Receives one pushed file.  Finish() makes it visible on the device.
class PushTarget {
public:
    virtual ~PushTarget() = default;
    virtual bool Write(std::string_view bytes, std::string& error) = 0;
    virtual bool Finish(uint32_t mtime, std::string& error) = 0;
};

// Hands out one file for a pull, at the box's pace.  Read() returns the next
// piece (at most `max` bytes); an empty piece with an empty error is the end.
class PullSource {
public:
    virtual ~PullSource() = default;
    virtual std::string Read(size_t max, std::string& error) = 0;
};

struct DeviceOptions {
    std::filesystem::path stateDir;
    std::optional<std::filesystem::path> configFile;
};

class Device {
public:
    // Throws std::runtime_error (with the reason) when the config file or the
    // state directory cannot be used.
    explicit Device(const DeviceOptions& options);
    ~Device();
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    // Banner values of the CNXN answer.
    std::string ProductName() const;
    std::string ProductModel() const;  // "imx51_bbg"
    std::string ProductDevice() const;

    // Milliseconds the box stays away after "reboot".
    int RebootDelayMs() const;

    // One command of the legacy shell service.  Output lines end in a bare
    // line feed; the transport's terminal turns them into CR LF.
    ShellResult RunShell(const std::string& command, Output& out);

    // Sync service.  Paths are device paths exactly as the host typed them.
    FileStat Stat(const std::string& devicePath);
    std::unique_ptr<PushTarget> BeginPush(const std::string& devicePath, uint32_t mode, std::string& error);
    std::unique_ptr<PullSource> BeginPull(const std::string& devicePath, std::string& error);

    // Scenario commands that concern storage and chip: insert-chip,
    // remove-chip, insert-udisk, remove-udisk, speed N, fail OPERATION,
    // corrupt OPERATION (either with no operation clears it).  Returns "ok"
    // or an error text.
    std::string Control(const std::string& command);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace box
