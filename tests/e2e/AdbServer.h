#pragma once
// A private adb server for tests: on a free port, named to every adb client
// of this process through ANDROID_ADB_SERVER_PORT, seeing only the boxes that
// register with it (no scan of the emulator ports), and killed even when the
// test process dies (a watchdog process cleans up after it).

#include <chrono>
#include <cstdint>
#include <string>
#include <sys/types.h>

#include "support/Process.h"

namespace e2e {

using kz::test::CommandResult;
using kz::test::FreeTcpPort;
using kz::test::RunCommand;
using kz::test::ShellQuote;

// Runs Debian's adb with the given (shell-quoted) arguments.
CommandResult RunAdb(const std::string& arguments, int timeoutSeconds = 30);

// Outlives the test process: on its end, stops the registered processes and
// the private adb server.
class Watchdog {
public:
    // removeDir: a folder of the test's to delete as well ("" for none).
    bool Start(uint16_t adbServerPort, const std::string& removeDir = "");
    void Guard(pid_t pid);
    // Everything was stopped in order: the watchdog has nothing left to do.
    void Disarm();
    ~Watchdog();

private:
    int pipe_ = -1;
    pid_t pid_ = -1;
};

class PrivateAdbServer {
public:
    PrivateAdbServer() = default;
    ~PrivateAdbServer() { Stop(); }
    PrivateAdbServer(const PrivateAdbServer&) = delete;
    PrivateAdbServer& operator=(const PrivateAdbServer&) = delete;

    bool Start(std::string& error, const std::string& removeDirOnCrash = "");
    void Stop();
    uint16_t Port() const { return port_; }
    void Guard(pid_t pid) { watchdog_.Guard(pid); }

    // Polls `adb devices` until serial shows in state ("" = absent).
    bool WaitForState(const std::string& serial, const std::string& state,
                      std::chrono::milliseconds timeout = std::chrono::seconds(10));
    // The state adb lists for serial, or "" when it is not listed.
    std::string StateOf(const std::string& serial);

private:
    uint16_t port_ = 0;
    bool running_ = false;
    Watchdog watchdog_;
};

// adb names a box listening on port P "emulator-(P-1)".
std::string EmulatorSerial(uint16_t boxPort);

}  // namespace e2e
