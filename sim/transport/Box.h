#pragma once
// The box as a USB peer: it listens for one host connection at a time,
// registers itself with the local adb server while nobody is connected, goes
// away for a while after a reboot, and takes scenario commands.

#include "DeviceApi.h"
#include "LinkState.h"
#include "Socket.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace box {

class Session;

struct BoxOptions {
    uint16_t port = 5555;                   // 0: any free port (tests)
    uint16_t adbServerPort = 5037;
    std::filesystem::path controlSocket;    // empty: no control socket
    LinkMode link = LinkMode::Online;
    bool plugged = true;
    int registerIntervalMs = 500;
};

// The adb server port the host tools use: ANDROID_ADB_SERVER_PORT or 5037.
uint16_t AdbServerPortFromEnvironment();

class Box {
public:
    Box(DeviceApi& device, BoxOptions options);
    ~Box();
    Box(const Box&) = delete;
    Box& operator=(const Box&) = delete;

    bool Start(std::string& error);
    void Stop();
    uint16_t Port() const { return port_; }

    // Link commands (online, offline, unauthorized, unplug, plug, status)
    // are handled here, the rest by the device.  Returns "ok" or an error.
    std::string Control(const std::string& command);

private:
    struct Running;
    using Clock = std::chrono::steady_clock;

    void Loop();
    bool Available() const;  // callers hold mutex_
    bool HasHost() const;    // callers hold mutex_
    void SyncListener();
    void Register();
    void AcceptHost();
    void ServeControl();
    void StartSession(UniqueFd fd);
    void ReapSessions(bool all);
    void Reboot();
    std::string Status() const;

    DeviceApi& device_;
    BoxOptions options_;
    uint16_t port_ = 0;
    UniqueFd listener_;
    UniqueFd control_;
    std::thread loop_;
    std::atomic<bool> stopping_{false};
    Clock::time_point lastRegistration_{};

    mutable std::mutex mutex_;  // guards the link state and the sessions
    LinkMode mode_;
    bool plugged_;
    Clock::time_point rebootUntil_{};
    std::shared_ptr<Session> current_;
    std::vector<std::unique_ptr<Running>> sessions_;
};

}  // namespace box
