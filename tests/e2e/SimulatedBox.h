#pragma once
// One korvald-box process for the end-to-end tests, in a folder of its own
// (state, config file, log), registering with the adb server this process
// names in ANDROID_ADB_SERVER_PORT.

#include "AdbServer.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <sys/types.h>

namespace e2e {

// <build>/bin/korvald-box
std::filesystem::path KorvaldBoxPath();

class SimulatedBox {
public:
    SimulatedBox() = default;
    ~SimulatedBox() { Stop(); }
    SimulatedBox(const SimulatedBox&) = delete;
    SimulatedBox& operator=(const SimulatedBox&) = delete;

    // folder: created for the box; port 0 takes a free one; configJson: the
    // box's config file, or empty for the defaults.  `server` stops the box
    // with itself if the test process dies.
    bool Start(std::string& error, const std::filesystem::path& folder, uint16_t port, const std::string& configJson,
               PrivateAdbServer& server);
    void Stop();

    // Runs `korvald-box ctl` and returns what it printed, without the line feed.
    std::string Ctl(const std::string& command) const;

    uint16_t Port() const { return port_; }
    std::string Serial() const;
    std::filesystem::path StateDir() const { return folder_ / "state"; }
    // What the box wrote to standard error so far.
    std::string Log() const;

private:
    std::filesystem::path folder_;
    uint16_t port_ = 0;
    pid_t pid_ = -1;
};

}  // namespace e2e
