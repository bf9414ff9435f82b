#pragma once
// A scripted device for transport tests: a handful of shell commands with
// known output, and an in-memory file store for push.

#include "transport/DeviceApi.h"

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace boxtest {

class FakeDevice : public box::DeviceApi {
public:
    std::string ProductName() const override { return "korvald"; }
    std::string ProductModel() const override { return "imx51_bbg"; }
    std::string ProductDevice() const override { return "imx51"; }
    int RebootDelayMs() const override { return rebootDelayMs; }

    // "echo WORDS", "lines N", "bytes N" (N x 'x'), "spin" (writes until the
    // host goes), "reboot", anything else: "sh: X: not found".
    box::ShellResult RunShell(const std::string& command, box::Output& out) override;
    box::FileStat Stat(const std::string& path) override;
    std::unique_ptr<box::PushTarget> BeginPush(const std::string& path, uint32_t mode,
                                               std::string& error) override;
    std::string Control(const std::string& command) override;

    std::string File(const std::string& path);
    std::vector<std::string> Controls();

    // Set by a test while the box's threads run (they read it on "reboot").
    std::atomic<int> rebootDelayMs{300};
    std::atomic<int> spinEnded{0};
    std::atomic<bool> spinWriteFailed{false};

private:
    friend class FakePush;
    std::mutex mutex_;
    std::map<std::string, std::string> files_;
    std::vector<std::string> controls_;
};

}  // namespace boxtest
