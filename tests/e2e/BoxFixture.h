#pragma once
// The simulated box for end-to-end tests: korvald-box on a free port with a
// fresh state directory, a private adb server that lists it as "device", and
// a teardown that stops both even when the test process dies.

#include "AdbServer.h"

#include <filesystem>
#include <string>
#include <sys/types.h>

namespace e2e {

// <build>/bin/korvald-box
std::filesystem::path KorvaldBoxPath();

class BoxFixture {
public:
    BoxFixture() = default;
    ~BoxFixture() { Stop(); }
    BoxFixture(const BoxFixture&) = delete;
    BoxFixture& operator=(const BoxFixture&) = delete;

    // configJson: the box's config file, or empty for the defaults.  Sets
    // ANDROID_ADB_SERVER_PORT for this process, so every adb client it starts
    // (adb, adb/kz_daemon) reaches the private server.
    bool Start(std::string& error, const std::string& configJson = "");
    void Stop();

    // Runs `korvald-box ctl` and returns what it printed, without the line feed.
    std::string Ctl(const std::string& command);

    uint16_t BoxPort() const { return boxPort_; }
    std::string Serial() const { return EmulatorSerial(boxPort_); }
    std::filesystem::path StateDir() const { return root_ / "state"; }
    PrivateAdbServer& Server() { return server_; }
    // What the box wrote to standard error so far.
    std::string BoxLog() const;

private:
    bool StartBox(std::string& error);
    void StopBox();

    std::filesystem::path root_;
    uint16_t boxPort_ = 0;
    pid_t boxPid_ = -1;
    PrivateAdbServer server_;
};

}  // namespace e2e
