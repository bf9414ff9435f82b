#pragma once
// The simulated box for end-to-end tests: korvald-box on a free port with a
// fresh state directory, a private adb server that lists it as "device", and
// a teardown that stops both even when the test process dies.  Several boxes
// can share the one server, as several boxes attached to one host do.

#include "AdbServer.h"
#include "SimulatedBox.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace e2e {

struct BoxSpec {
    uint16_t port = 0;       // 0: a free one; adb names the box emulator-(port-1)
    std::string configJson;  // the box's config file, or empty for the defaults
};

class BoxFixture {
public:
    BoxFixture() = default;
    ~BoxFixture() { Stop(); }
    BoxFixture(const BoxFixture&) = delete;
    BoxFixture& operator=(const BoxFixture&) = delete;

    // One box.  Sets ANDROID_ADB_SERVER_PORT for this process, so every adb
    // client it starts (adb, adb/kz_daemon) reaches the private server.
    bool Start(std::string& error, const std::string& configJson = "");
    // Several boxes under the one server, each with its own state folder;
    // true once the server lists every one as "device".  A fixed port is
    // only safe where nothing else may take it (the suite's private network).
    bool StartBoxes(std::string& error, const std::vector<BoxSpec>& boxes);
    void Stop();

    SimulatedBox& Box(std::size_t index) { return *boxes_.at(index); }
    std::size_t BoxCount() const { return boxes_.size(); }

    // The first box.
    std::string Ctl(const std::string& command) { return Box(0).Ctl(command); }
    uint16_t BoxPort() const { return boxes_.at(0)->Port(); }
    std::string Serial() const { return boxes_.at(0)->Serial(); }
    std::filesystem::path StateDir() const { return boxes_.at(0)->StateDir(); }
    // What the first box wrote to standard error so far.
    std::string BoxLog() const { return boxes_.at(0)->Log(); }

    PrivateAdbServer& Server() { return server_; }

private:
    std::filesystem::path root_;
    PrivateAdbServer server_;
    std::vector<std::unique_ptr<SimulatedBox>> boxes_;
};

}  // namespace e2e
